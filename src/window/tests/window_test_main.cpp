// The window's tests run on Qt's offscreen platform: no screen needed.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTranslator>

#include "window/qt_platform.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QTranslator qtTurkish;
  if (LoadQtTurkish(qtTurkish)) app.installTranslator(&qtTurkish);
  return RUN_ALL_TESTS();
}

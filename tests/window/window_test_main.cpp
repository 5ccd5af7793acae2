// The window's tests run on Qt's offscreen platform: no screen needed.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTranslator>

#include "window/platform/qt_platform.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // No sound server is reachable: the tests make no sound on any machine,
  // and see what a machine without an audio output sees.
  qputenv("PULSE_SERVER", "unix:/nonexistent/tesva-tests");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QTranslator qtTurkish;
  if (LoadQtTurkish(qtTurkish)) app.installTranslator(&qtTurkish);
  return RUN_ALL_TESTS();
}

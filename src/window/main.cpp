// Tesva: one player against the computer, in one window.
#include <QApplication>
#include <QDBusConnection>
#include <QImageReader>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <cstdio>

#ifdef TESVA_WARM_FONTS
#include <fontconfig/fontconfig.h>
#endif

#include "platform/system_random.h"
#include "window/game_window.h"
#include "window/helper_thread.h"
#include "window/qt_platform.h"
#include "window/table_elements.h"

namespace {

// Calls `then` once, as soon as the table's first paint has been shown.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* widget, std::function<void()> then) : then_(std::move(then)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // Queued, so that the painted table has reached the screen first.
      QTimer::singleShot(0, this, then_);
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

// Qt's own style, except for the arrow of the menu bar's overflow button.
// Qt makes that button with the menu bar and reads its arrow, a PNG, by
// asking every image plugin installed whether it can read it: loading them
// all costs the start-up milliseconds. Here the same arrow is read as the
// PNG it is.
class GameStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (icon != SP_ToolBarHorizontalExtensionButton || baseStyle()->name() != "fusion") {
      return QProxyStyle::standardIcon(icon, option, widget);
    }
    bool rtl = option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
    QString file =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-%1%2.png");
    QIcon arrow;
    for (int size : {8, 16, 32}) {
      QImageReader png(file.arg(rtl ? QStringLiteral("rtl-") : QString()).arg(size), "png");
      png.setAutoDetectImageFormat(false);
      arrow.addPixmap(QPixmap::fromImage(png.read()));
    }
    return arrow;
  }
};

// For scripts/measure-startup.sh: the wall-clock time of the first paint.
void ReportFirstPaintAndQuit() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  std::printf(
      "first-paint-us %lld\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
  std::fflush(stdout);
  QCoreApplication::quit();
}

// Reading the system's font configuration takes a few milliseconds that the
// first caption would wait for; a helper thread reads it while Qt connects
// to the display, and Qt then finds it ready.
void WarmUpFonts() {
#ifdef TESVA_WARM_FONTS
  FcInit();
#endif
}

// Qt's screen-reader support connects to the desktop's session bus when the
// window is first named or shown, and the window waits for it; with no bus
// running, the D-Bus library even starts a program to look for one. A helper
// thread connects while the window is built, and Qt then finds it done.
void ConnectToSessionBus() {
  QDBusConnection::sessionBus();
}

}  // namespace

int main(int argc, char* argv[]) {
  HelperThread fonts(WarmUpFonts);
  // The menu bar stays in the window, above the table: no desktop's global
  // menu takes it away (and no D-Bus question about one delays the start).
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QApplication app(argc, argv);
  HelperThread bus(ConnectToSessionBus);
  QApplication::setStyle(new GameStyle(QApplication::style()));
  fonts.Join();
  // One font for the table, the menus and the boxes, as on the desktop the
  // game was made for.
  QApplication::setFont(WindowFont());

  QtHost host;
  QtOptionsStore store;
  // The sound system is loaded at the first sound, not here.
  LazySoundPlayer sound(QString::fromStdString(host.ProgramFolder()));
  tesva::SystemRandom random;
  QtDialogs dialogs;
  GameWindow window({store, sound, random, dialogs, host});
  bus.Join();

  bool measuring = qEnvironmentVariableIntValue("TESVA_EXIT_ON_FIRST_PAINT") == 1;
  QTranslator qtTurkish;
  FirstPaint firstPaint(window.centralWidget(), [&] {
    if (measuring) return ReportFirstPaintAndQuit();
    // Qt's own Turkish texts (the buttons of the boxes, the names a screen
    // reader gives to actions) are read once the table is on the screen,
    // before the player can open a box.
    if (LoadQtTurkish(qtTurkish)) app.installTranslator(&qtTurkish);
  });

  window.show();
  return app.exec();
}

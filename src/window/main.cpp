// Tesva: one player against the computer, in one window.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QTranslator>
#include <chrono>
#include <cstdio>
#include <thread>

#ifdef TESVA_WARM_FONTS
#include <fontconfig/fontconfig.h>
#endif

#include "platform/system_random.h"
#include "window/game_window.h"
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

}  // namespace

int main(int argc, char* argv[]) {
  std::thread fonts(WarmUpFonts);
  // The menu bar stays in the window, above the table: no desktop's global
  // menu takes it away (and no D-Bus question about one delays the start).
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QApplication app(argc, argv);
  fonts.join();
  // One font for the table, the menus and the boxes, as on the desktop the
  // game was made for.
  QApplication::setFont(WindowFont());
  QTranslator qtTurkish;
  if (LoadQtTurkish(qtTurkish)) app.installTranslator(&qtTurkish);

  QtHost host;
  QtOptionsStore store;
  LazySoundPlayer sound(QString::fromStdString(host.ProgramFolder()));
  tesva::SystemRandom random;
  QtDialogs dialogs;
  GameWindow window({store, sound, random, dialogs, host});

  bool measuring = qEnvironmentVariableIntValue("TESVA_EXIT_ON_FIRST_PAINT") == 1;
  FirstPaint firstPaint(window.centralWidget(), [&] {
    if (measuring) return ReportFirstPaintAndQuit();
    // The sound system wakes only once the table is on the screen.
    QDir data(QString::fromStdString(host.ProgramFolder()) + QStringLiteral("/Data"));
    QStringList sounds;
    for (const QString& file : data.entryList({QStringLiteral("*.voi")}, QDir::Files)) {
      sounds << data.filePath(file);
    }
    sound.Preload(sounds);
  });

  window.show();
  return app.exec();
}

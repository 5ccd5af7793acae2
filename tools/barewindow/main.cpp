// An empty Qt window of the game's size: the yardstick for the game's
// start-up time and memory (scripts/measure-startup.sh).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

struct BareWindow : QWidget {
  // With TESVA_EXIT_ON_FIRST_PAINT=1 it prints when its first paint is
  // shown and ends, as the game does.
  void paintEvent(QPaintEvent*) override {
    static bool painted = false;
    if (painted || qEnvironmentVariableIntValue("TESVA_EXIT_ON_FIRST_PAINT") != 1) return;
    painted = true;
    QTimer::singleShot(0, [] {
      using namespace std::chrono;
      auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
      std::printf("first-paint-us %lld\n", static_cast<long long>(now));
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  }
};

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  BareWindow window;
  window.setFixedSize(525, 456);
  window.show();
  return app.exec();
}

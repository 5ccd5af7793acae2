// An empty Qt window of the game's size: the yardstick for the game's
// start-up time and memory (scripts/measure-startup.sh).
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(525, 456);
  window.show();
  return app.exec();
}

// An empty Qt window of the game's size: the yardstick for the game's
// start-up time and memory (scripts/measure-startup.sh).
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  // The game's window: its table of 525 x 456 and the menu bar above it.
  window.setFixedSize(525, 474);
  window.show();
  return app.exec();
}

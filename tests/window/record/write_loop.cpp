// write_loop PATH FIRST SECOND: writes the contents of SECOND, then FIRST,
// then SECOND again... to PATH the way the game keeps its files, until it is
// killed. The window's tests kill it at random moments. It says "written"
// on standard output after every write, so that the tests count writes
// rather than guess how long one takes.
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "window/record/record_files.h"

int main(int argc, char* argv[]) {
  if (argc != 4) return 2;
  QCoreApplication app(argc, argv);
  std::string texts[2];
  for (int i = 0; i < 2; ++i) {
    QFile file(QString::fromLocal8Bit(argv[2 + i]));
    if (!file.open(QIODevice::ReadOnly)) return 2;
    texts[i] = file.readAll().toStdString();
  }
  QString path = QString::fromLocal8Bit(argv[1]);
  QString error;
  for (unsigned n = 1;; ++n) {
    if (!WriteFileAtomically(path, texts[n % 2], &error)) return 1;
    std::fputs("written\n", stdout);
    std::fflush(stdout);
  }
}

// Tesva: one player against the computer, in one window.
#include <QApplication>
#include <QTranslator>

#include "platform/system_random.h"
#include "window/app/command_line.h"
#include "window/app/warm_fonts.h"
#include "window/game_window/game_window.h"
#include "window/platform/qt_platform.h"
#include "window/record/record_files.h"
#include "window/table/table_elements.h"

int main(int argc, char* argv[]) {
  if (std::optional<int> status = ReadCommandLine(argc, argv)) return *status;
  FontWarmUp fonts;
  // The menu bar stays in the window, above the table, where the game's
  // layout has it: no desktop's global menu takes it away.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QApplication app(argc, argv);
  // The window's class names the program and its desktop entry, so that a
  // dock shows the running game under the menu entry's icon.
  QGuiApplication::setApplicationName(QStringLiteral("tesva"));
  QGuiApplication::setDesktopFileName(QStringLiteral(TESVA_APP_ID));
  fonts.Wait();
  // One font for the table, the menus and the boxes, as on the desktop the
  // game was made for.
  QApplication::setFont(WindowFont());
  // Qt's own Turkish texts: the buttons of the boxes, the names a screen
  // reader gives to actions.
  QTranslator qtTurkish;
  if (LoadQtTurkish(qtTurkish)) app.installTranslator(&qtTurkish);

  QtHost host;
  QtOptionsStore store;
  // The sound system is loaded at the first sound, not here.
  LazySoundPlayer sound(host.SoundLibraryFolder());
  tesva::SystemRandom random;
  QtDialogs dialogs;
  // The game being played and the record, in the user's data folder; what
  // is still being written when the window closes is written before the end.
  RecordFiles files(RecordFiles::UserFolder());
  GameWindow window({store, sound, random, dialogs, host}, &files);
  window.show();
  return app.exec();
}

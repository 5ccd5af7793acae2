// The machine's services behind the game's platform interfaces, on Qt:
// options in an INI file, sounds through Qt Multimedia, Qt's modal boxes and
// the running application.
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QString>
#include <map>
#include <memory>

#include "platform/platform.h"

class QTranslator;

// The user's options, one INI file per application: on Linux
// ~/.config/<app>/<app>.ini. Sections are INI groups and every value is
// kept as text.
class QtOptionsStore : public tesva::OptionsStore {
 public:
  QtOptionsStore() = default;
  // Keeps every application's options in the one file `path` instead; for
  // tests and for running the game with options of its own.
  explicit QtOptionsStore(const QString& path);
  ~QtOptionsStore() override;

  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  // The file that holds an application's options.
  QString FileOf(std::string_view app);

 private:
  QSettings& SettingsOf(std::string_view app);

  QString path_;
  std::map<QString, std::unique_ptr<QSettings>> settings_;
};

// Plays the game's sounds through the sound library beside the program
// (qt_sound.h), loaded at the first sound, so that starting the game never
// waits for the sound system nor holds its memory. Without the library or
// an audio output the game is silent.
class LazySoundPlayer : public tesva::SoundPlayer {
 public:
  // `folder` holds the library (QtHost::SoundLibraryFolder).
  explicit LazySoundPlayer(QString folder);
  ~LazySoundPlayer() override;

  void Play(const std::string& path) override;

  // Whether sounds are played: the library is loaded and found an output.
  bool Loaded() const { return player_ != nullptr; }

 private:
  tesva::SoundPlayer* Player();

  QString folder_;
  bool tried_ = false;
  std::unique_ptr<tesva::SoundPlayer> player_;
};

// Qt's modal input and question boxes, over the active window.
class QtDialogs : public tesva::Dialogs {
 public:
  std::string InputBox(const std::string& prompt, const std::string& title, int maxLength) override;
  bool AskYesNo(const std::string& prompt, const std::string& title) override;
};

// The running program: its folder and its end. Where the game's files are
// is decided once, from where the program lies: a build keeps "Data" and
// the sound library beside the program; an installed game keeps "Data" in
// its data folder and the library in its private library folder, both
// found relative to the program, so the installed tree can be moved
// anywhere. With neither, the program's own folder stands (the game then
// shows no pictures and plays no sound).
class QtHost : public tesva::Host {
 public:
  // `programFolder` is where the program lies.
  explicit QtHost(const QString& programFolder = QCoreApplication::applicationDirPath());

  std::string ProgramFolder() override;
  void Exit() override;

  // The folder that holds the sound library.
  QString SoundLibraryFolder() const { return soundLibraryFolder_; }

 private:
  QString folder_;
  QString soundLibraryFolder_;
};

// Loads Qt's own Turkish texts (the buttons of the boxes: OK, Cancel, Yes,
// No); false when the translation is not installed.
bool LoadQtTurkish(QTranslator& translator);

// The function `symbol` of one of the game's own libraries ("tesva-decks",
// "tesva-friend"), loaded for good: from the program folder that holds
// "Data" while the game runs from its build, else from the game's library
// folder beside the installed data. Null when neither has it.
QFunctionPointer ResolveGameLibrary(const QString& programFolder, const QString& library,
                                    const char* symbol);

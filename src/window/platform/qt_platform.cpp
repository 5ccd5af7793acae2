#include "window/platform/qt_platform.h"

#include "window/sound/qt_sound.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLibrary>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTranslator>

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// --- Options -----------------------------------------------------------------

QtOptionsStore::QtOptionsStore(const QString& path) : path_(path) {}

QtOptionsStore::~QtOptionsStore() = default;

QSettings& QtOptionsStore::SettingsOf(std::string_view app) {
  QString name = ToQt(app);
  auto& settings = settings_[name];
  if (!settings) {
    if (path_.isEmpty()) {
      settings =
          std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, name, name);
    } else {
      settings = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    }
  }
  return *settings;
}

QString QtOptionsStore::FileOf(std::string_view app) {
  return SettingsOf(app).fileName();
}

std::string QtOptionsStore::Read(std::string_view app, std::string_view section,
                                 std::string_view key) {
  QVariant value = SettingsOf(app).value(ToQt(section) + '/' + ToQt(key));
  // A hand-edited value with commas reads back as a list; it is still one
  // text to the game.
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(", ").toStdString();
  return value.toString().toStdString();
}

void QtOptionsStore::Write(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) {
  QSettings& settings = SettingsOf(app);
  settings.setValue(ToQt(section) + '/' + ToQt(key), ToQt(value));
  // Every option is stored the moment it changes, not when the game ends.
  settings.sync();
}

// --- Sounds ------------------------------------------------------------------

LazySoundPlayer::LazySoundPlayer(QString folder) : folder_(std::move(folder)) {}

LazySoundPlayer::~LazySoundPlayer() = default;

tesva::SoundPlayer* LazySoundPlayer::Player() {
  if (!tried_) {
    tried_ = true;
    // Loaded for good: the sounds it plays must outlive this player.
    QLibrary library(folder_ + QStringLiteral("/tesva-sound"));
    using Create = tesva::SoundPlayer* (*)();
    if (auto create = reinterpret_cast<Create>(library.resolve("TesvaCreateSoundPlayer"))) {
      player_.reset(create());
    }
  }
  return player_.get();
}

void LazySoundPlayer::Play(const std::string& path) {
  if (tesva::SoundPlayer* player = Player()) player->Play(path);
}

// --- Boxes -------------------------------------------------------------------

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                int maxLength) {
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(title));
  box.setLabelText(QString::fromStdString(prompt));
  box.setInputMode(QInputDialog::TextInput);
  box.setTextValue(QString());
  if (maxLength > 0) {
    if (auto* line = box.findChild<QLineEdit*>()) line->setMaxLength(maxLength);
  }
  if (box.exec() != QDialog::Accepted) return {};
  return box.textValue().toStdString();
}

bool QtDialogs::AskYesNo(const std::string& prompt, const std::string& title) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                  QString::fromStdString(prompt), QMessageBox::Yes | QMessageBox::No,
                  QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

// --- The program -------------------------------------------------------------

QtHost::QtHost(const QString& programFolder)
    : folder_(programFolder), soundLibraryFolder_(programFolder) {
  const QDir program(programFolder);
  if (program.exists(QStringLiteral("Data"))) return;
  const QString installed = QDir::cleanPath(program.filePath(QStringLiteral(TESVA_DATA_FROM_BIN)));
  if (!QDir(installed).exists(QStringLiteral("Data"))) return;
  folder_ = installed;
  soundLibraryFolder_ = QDir::cleanPath(program.filePath(QStringLiteral(TESVA_LIB_FROM_BIN)));
}

std::string QtHost::ProgramFolder() {
  return folder_.toStdString();
}

void QtHost::Exit() {
  QCoreApplication::quit();
}

bool LoadQtTurkish(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_tr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QFunctionPointer ResolveGameLibrary(const QString& programFolder, const QString& library,
                                    const char* symbol) {
  const QDir folder(programFolder);
  for (const QString& where :
       {folder.path(), folder.filePath(QStringLiteral(TESVA_LIB_FROM_DATA))}) {
    // QLibrary leaves the library loaded when it goes: what it made stays in use.
    QLibrary loaded(QDir::cleanPath(where) + QLatin1Char('/') + library);
    if (QFunctionPointer found = loaded.resolve(symbol)) return found;
  }
  return nullptr;
}

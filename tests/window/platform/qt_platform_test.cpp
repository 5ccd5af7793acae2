// The Qt services behind the game: the options file, the sound player and
// where the program finds the game's files.
// The input box is answered through the window (window_test.cpp).
#include <gtest/gtest.h>
#include <unistd.h>
#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QSettings>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>

#include "support/captured_stderr.h"
#include "window/platform/qt_platform.h"
#include "window/sound/qt_sound.h"

namespace {

constexpr std::string_view kApp = "Tesva (TT)";
constexpr std::string_view kSection = "Secenekler";

std::string DataFile(const char* name) {
  return TESVA_PROGRAM_FOLDER "/Data/" + std::string(name);
}

TEST(QtOptionsStoreTest, KeepsEveryTextApartBySectionAndApplication) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
  const QString file = folder.filePath(QStringLiteral("Tesva (TT)/Tesva (TT).ini"));
  const std::vector<std::string> texts = {
      "8388608",    "Ayşe Gül", "ŞİĞÜÖÇ ıi",  "Ali, Veli",   "a;b=c",
      "  spaced  ", "@Variant", "\"quoted\"", "back\\slash", ""};
  {
    QtOptionsStore store;
    EXPECT_EQ(store.FileOf(kApp), file);
    EXPECT_EQ(store.Read(kApp, kSection, "Seviye"), "");
    EXPECT_FALSE(QFile::exists(file)) << "reading writes nothing";
    for (std::size_t i = 0; i < texts.size(); ++i) {
      store.Write(kApp, kSection, "Key" + std::to_string(i), texts[i]);
    }
    store.Write(kApp, "Other", "Key1", "other section");
    store.Write("Other app", kSection, "Key1", "other app");
  }
  QtOptionsStore again;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(again.Read(kApp, kSection, "Key" + std::to_string(i)), texts[i]) << texts[i];
  }
  EXPECT_EQ(again.Read(kApp, "Other", "Key1"), "other section");
  EXPECT_EQ(again.Read("Other app", kSection, "Key1"), "other app");
}

TEST(SoundTest, AFileThatCannotBePlayedIsSilentAndChangesNothing) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile garbage(folder.filePath(QStringLiteral("Bad.voi")));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not a sound at all");
  garbage.close();

  QtSoundPlayer player;
  player.Play(DataFile("Missing.voi"));
  EXPECT_EQ(player.Current(), nullptr);
  player.Play(DataFile("With.voi"));
  const QSoundEffect* with = player.Current();
  ASSERT_NE(with, nullptr);
  // The ".voi" file is played as the WAV data it holds. Qt 6.4 loads a
  // sound with no audio output to play it on; from Qt 6.5 on, a sound
  // effect without one ends in Error once its file is read ("No audio
  // devices present"), so there Qt's reading can be seen only on a machine
  // that has an output. The game never makes a sound effect without one
  // (TesvaCreateSoundPlayer).
  ASSERT_TRUE(QTest::qWaitFor([&] { return with->status() != QSoundEffect::Loading; }, 3000));
  if (QT_VERSION < QT_VERSION_CHECK(6, 5, 0) || !QMediaDevices::defaultAudioOutput().isNull()) {
    EXPECT_EQ(with->status(), QSoundEffect::Ready);
  }
  player.Play(garbage.fileName().toStdString());
  player.Play(DataFile("Missing.voi"));
  EXPECT_EQ(player.Current(), with);
}

// Everything Qt logs and everything written straight to standard error
// while it lives, one entry a line.
class ErrorOutput {
 public:
  ErrorOutput() {
    lines_.clear();
    previous_ = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { lines_ << text; });
  }
  ~ErrorOutput() { qInstallMessageHandler(previous_); }
  QStringList Lines() {
    qInstallMessageHandler(previous_);
    return lines_ + QString::fromStdString(written_.Text()).split('\n', Qt::SkipEmptyParts);
  }

 private:
  static inline QStringList lines_;
  QtMessageHandler previous_ = nullptr;
  tesva::CapturedStderr written_;
};

// The tests reach no sound server (window_test_main.cpp): the machine has
// no audio output, as a server without sound hardware has none.
TEST(SoundTest, WithoutAnAudioOutputTheGameIsSilentAndSaysSoOnce) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  ErrorOutput errors;
  // The program loads the sound library beside it at the first sound.
  LazySoundPlayer beside{QStringLiteral(TESVA_PROGRAM_FOLDER)};
  // Without the library the game is silent too.
  LazySoundPlayer without{empty.path()};
  for (int game = 0; game < 2; ++game) {
    for (const char* sound : {"Card.voi", "With.voi", "Tesva.voi", "Laugh.voi", "Lose.voi"}) {
      beside.Play(DataFile(sound));
      without.Play(DataFile(sound));
      // Qt loads and starts a sound in its event loop, and complains there.
      QTest::qWait(50);
    }
  }
  EXPECT_FALSE(beside.Loaded());
  EXPECT_FALSE(without.Loaded());
  QStringList lines = errors.Lines();
  ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines[0].contains(QStringLiteral("no audio output"))) << lines[0].toStdString();
}

// A build keeps "Data" and the sound library beside the program; an
// installed game keeps them in folders relative to it; with neither the
// program's own folder stands, and the game shows no pictures.
TEST(QtHostTest, FindsTheGameBesideTheProgramElseInstalledRelativeToIt) {
  QTemporaryDir tree;
  ASSERT_TRUE(tree.isValid());
  const QString bin = tree.filePath(QStringLiteral("bin"));
  ASSERT_TRUE(QDir().mkpath(bin));
  // The game's folder and the sound library's.
  auto folders = [&bin] {
    QtHost host(bin);
    return std::pair(host.ProgramFolder(), host.SoundLibraryFolder().toStdString());
  };
  EXPECT_EQ(folders(), std::pair(bin.toStdString(), bin.toStdString())) << "neither";

  const QString data = QDir::cleanPath(bin + QStringLiteral("/" TESVA_DATA_FROM_BIN));
  const QString lib = QDir::cleanPath(bin + QStringLiteral("/" TESVA_LIB_FROM_BIN));
  ASSERT_TRUE(data.startsWith(tree.path() + '/') && lib.startsWith(tree.path() + '/'));
  ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/Data")));
  EXPECT_EQ(folders(), std::pair(data.toStdString(), lib.toStdString())) << "installed";

  ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/Data")));
  EXPECT_EQ(folders(), std::pair(bin.toStdString(), bin.toStdString()))
      << "a build's Data beside the program comes first";
}

}  // namespace

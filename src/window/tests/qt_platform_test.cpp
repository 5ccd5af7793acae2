// The Qt services behind the game: the options file, the sound player and
// where the program finds the game's files.
// The input box is answered through the window (window_test.cpp).
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

#include "window/qt_platform.h"
#include "window/qt_sound.h"

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
  // The ".voi" file is played as the WAV data it holds.
  ASSERT_TRUE(QTest::qWaitFor([&] { return with->status() != QSoundEffect::Loading; }, 3000));
  EXPECT_EQ(with->status(), QSoundEffect::Ready);
  player.Play(garbage.fileName().toStdString());
  player.Play(DataFile("Missing.voi"));
  EXPECT_EQ(player.Current(), with);

  // The program loads the sound library beside it at the first sound;
  // without the library it is silent.
  LazySoundPlayer beside{QStringLiteral(TESVA_PROGRAM_FOLDER)};
  EXPECT_FALSE(beside.Loaded());
  beside.Play(DataFile("Card.voi"));
  EXPECT_TRUE(beside.Loaded());
  LazySoundPlayer without{folder.path()};
  without.Play(DataFile("Card.voi"));
  EXPECT_FALSE(without.Loaded());
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

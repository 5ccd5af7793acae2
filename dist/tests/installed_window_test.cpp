// Run from the bin folder of an installed game, beside the installed tesva:
// the real folder lookup of the window program finds the installed pictures,
// sounds and sound library, the card decks and their library that draw a
// larger card, and the window shows the installed icon.
//   installed_window_test GAME_FOLDER
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

#include "platform/memory.h"
#include "platform/system_random.h"
#include "window/game_window/game_window.h"
#include "window/pictures/deck_pictures.h"
#include "window/platform/qt_platform.h"

namespace {

QString expectedFolder;  // where the installed game keeps "Data"

QString Installed(const QString& path) {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") + path);
}

// How much of a widget's place on the table shows the bare cloth.
double ClothShare(QWidget* table, QWidget* widget) {
  const QImage image = table->grab().toImage();
  const QColor cloth = image.pixelColor(20, 20);
  const QRect place = widget->geometry();
  int bare = 0;
  for (int y = place.top(); y <= place.bottom(); ++y) {
    for (int x = place.left(); x <= place.right(); ++x) bare += image.pixelColor(x, y) == cloth;
  }
  return double(bare) / (place.width() * place.height());
}

TEST(InstalledGame, FindsItsPicturesSoundsAndIconFromWhereItLies) {
  QtHost host;  // the program's own folder, as tesva's main has it
  ASSERT_EQ(QString::fromStdString(host.ProgramFolder()), expectedFolder);

  QTemporaryDir options;
  ASSERT_TRUE(options.isValid());
  QtOptionsStore store(options.filePath(QStringLiteral("options.ini")));
  tesva::RecordingSound sound;
  tesva::SystemRandom random;
  QtDialogs dialogs;
  GameWindow window({store, sound, random, dialogs, host});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  // Every card place shows its picture: the human's faces, the backs.
  for (const char* name : {"Player1_Kart(1)", "Player1_Kart(4)", "Player2_Kart(1)", "Deste"}) {
    auto* card = window.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(card, nullptr) << name;
    EXPECT_LT(ClothShare(window.centralWidget(), card), 0.2) << name << " shows no picture";
  }

  // A card played sounds an installed file, through the installed library.
  QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Player1_Kart(1)")), Qt::LeftButton);
  ASSERT_FALSE(sound.played.empty());
  const QString played = QString::fromStdString(sound.played.front());
  EXPECT_TRUE(played.startsWith(expectedFolder + QStringLiteral("/Data/"))) << played.toStdString();
  EXPECT_TRUE(QFile::exists(played)) << played.toStdString();
  // The sound library the game loads at its first sound lies where the
  // installed program looks for it (whether it then finds an audio output
  // depends on the machine).
  QLibrary library(host.SoundLibraryFolder() + QStringLiteral("/tesva-sound"));
  EXPECT_NE(library.resolve("TesvaCreateSoundPlayer"), nullptr)
      << "no sound library in " << host.SoundLibraryFolder().toStdString() << ": "
      << library.errorString().toStdString();

  // A card larger than its "Data" picture is drawn from the installed
  // decks through the installed library.
  DeckPictures decks(expectedFolder);
  EXPECT_EQ(decks.Draw(QStringLiteral("D10"), {192, 312}).size(), QSize(192, 312))
      << "no card decks or no deck library beside " << expectedFolder.toStdString();

  // The window's icon is the one installed for the desktop.
  const QImage installed(
      Installed(QStringLiteral("share/icons/hicolor/32x32/apps/" TESVA_APP_ID ".png")));
  ASSERT_FALSE(installed.isNull());
  EXPECT_EQ(window.windowIcon().pixmap(32, 32).toImage().convertToFormat(installed.format()),
            installed);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: installed_window_test GAME_FOLDER\n");
    return 2;
  }
  expectedFolder = QDir::cleanPath(QString::fromLocal8Bit(argv[1]));
  return RUN_ALL_TESTS();
}

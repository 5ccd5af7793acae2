// The Qt services behind the game: the options file, the sound player, the
// two boxes (answered here as a user would) and the program itself.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "engine/cards.h"
#include "window/picture_cache.h"
#include "window/qt_platform.h"
#include "window/qt_sound.h"

namespace {

constexpr std::string_view kApp = "Tesva (TT)";
constexpr std::string_view kSection = "Secenekler";

QString DataFile(const char* name) {
  return QStringLiteral(TESVA_PROGRAM_FOLDER "/Data/") + QString::fromLatin1(name);
}

// --- Options -----------------------------------------------------------------

class OptionsStoreTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QString Path() const { return folder.filePath(QStringLiteral("options.ini")); }

  QTemporaryDir folder;
};

TEST_F(OptionsStoreTest, AnAbsentKeyReadsEmpty) {
  QtOptionsStore store(Path());
  EXPECT_EQ(store.Read(kApp, kSection, "Seviye"), "");
  EXPECT_FALSE(QFile::exists(Path())) << "reading writes nothing";
}

TEST_F(OptionsStoreTest, TextsComeBackAsTheyWereWritten) {
  const std::vector<std::string> texts = {"1",          "8388608",     "Ayşe Gül",   "ŞİĞÜÖÇ ıi",
                                          "Ali, Veli",  "a;b=c",       "  spaced  ", "@Variant",
                                          "\"quoted\"", "back\\slash", "",           "GateKeeper"};
  {
    QtOptionsStore store(Path());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      store.Write(kApp, kSection, "Key" + std::to_string(i), texts[i]);
    }
  }
  QtOptionsStore again(Path());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(again.Read(kApp, kSection, "Key" + std::to_string(i)), texts[i]) << texts[i];
  }
}

TEST_F(OptionsStoreTest, AWriteReachesTheFileAtOnce) {
  QtOptionsStore store(Path());
  store.Write(kApp, kSection, "OyuncuIsim", "Deniz");
  // Another reader sees it while the store is still open.
  QSettings file(Path(), QSettings::IniFormat);
  EXPECT_EQ(file.value("Secenekler/OyuncuIsim").toString(), QStringLiteral("Deniz"));
  QFile raw(Path());
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  QByteArray text = raw.readAll();
  EXPECT_TRUE(text.contains("[Secenekler]")) << text.toStdString();
  EXPECT_TRUE(text.contains("OyuncuIsim=Deniz")) << text.toStdString();
}

TEST_F(OptionsStoreTest, SectionsAreKeptApart) {
  QtOptionsStore store(Path());
  store.Write(kApp, kSection, "Deste", "Back2");
  store.Write(kApp, "Other", "Deste", "Back");
  EXPECT_EQ(store.Read(kApp, kSection, "Deste"), "Back2");
  EXPECT_EQ(store.Read(kApp, "Other", "Deste"), "Back");
}

TEST_F(OptionsStoreTest, AHandEditedListReadsAsOneText) {
  QFile raw(Path());
  ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
  raw.write("[Secenekler]\nCpuIsim=Ali, Veli\n");
  raw.close();
  QtOptionsStore store(Path());
  EXPECT_EQ(store.Read(kApp, kSection, "CpuIsim"), "Ali, Veli");
}

TEST_F(OptionsStoreTest, EachUserHasTheGamesFileInTheirConfigFolder) {
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
  QtOptionsStore store;
  EXPECT_EQ(store.FileOf(kApp), folder.filePath(QStringLiteral("Tesva (TT)/Tesva (TT).ini")));
  store.Write(kApp, kSection, "Seviye", "2");
  EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Tesva (TT)/Tesva (TT).ini"))));
  EXPECT_EQ(QtOptionsStore().Read(kApp, kSection, "Seviye"), "2");
}

// --- Sounds ------------------------------------------------------------------

TEST(SoundPlayerTest, RecognisesWaveFilesByTheirContent) {
  EXPECT_TRUE(LooksLikeWave(DataFile("Card.voi")));
  EXPECT_TRUE(LooksLikeWave(DataFile("Tesva.voi")));
  EXPECT_FALSE(LooksLikeWave(DataFile("D10.grf")));
  EXPECT_FALSE(LooksLikeWave(DataFile("Missing.voi")));
}

TEST(SoundPlayerTest, PlaysAGameSoundByItsPath) {
  QtSoundPlayer player;
  player.Play(DataFile("Card.voi").toStdString());
  const QSoundEffect* card = player.Current();
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(card->source(), QUrl::fromLocalFile(DataFile("Card.voi")));
  // The ".voi" file is read as the WAV data it holds.
  ASSERT_TRUE(QTest::qWaitFor([&] { return card->status() != QSoundEffect::Loading; }, 3000));
  EXPECT_EQ(card->status(), QSoundEffect::Ready);
}

TEST(SoundPlayerTest, ANewSoundCutsOffTheLast) {
  QtSoundPlayer player;
  player.Play(DataFile("Laugh.voi").toStdString());
  const QSoundEffect* laugh = player.Current();
  player.Play(DataFile("Card.voi").toStdString());
  const QSoundEffect* card = player.Current();
  ASSERT_NE(card, laugh);
  EXPECT_FALSE(laugh->isPlaying());
  // The same sound again starts over with the same effect.
  player.Play(DataFile("Card.voi").toStdString());
  EXPECT_EQ(player.Current(), card);
}

TEST(SoundPlayerTest, AFileThatCannotBePlayedChangesNothing) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QString garbage = folder.filePath(QStringLiteral("Bad.voi"));
  QFile file(garbage);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a sound at all");
  file.close();

  QtSoundPlayer player;
  player.Play(DataFile("Missing.voi").toStdString());
  EXPECT_EQ(player.Current(), nullptr);
  player.Play(DataFile("With.voi").toStdString());
  const QSoundEffect* with = player.Current();
  player.Play(garbage.toStdString());
  player.Play(DataFile("Missing.voi").toStdString());
  EXPECT_EQ(player.Current(), with);
}

TEST(SoundPlayerTest, TheProgramLoadsTheSoundLibraryAtTheFirstSound) {
  LazySoundPlayer player{QStringLiteral(TESVA_PROGRAM_FOLDER)};
  EXPECT_FALSE(player.Loaded());
  player.Play(DataFile("Card.voi").toStdString());
  EXPECT_TRUE(player.Loaded());
}

TEST(SoundPlayerTest, WithoutTheSoundLibraryTheGameIsSilent) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  LazySoundPlayer player{empty.path()};
  player.Preload({DataFile("Card.voi")});
  player.Play(DataFile("Card.voi").toStdString());
  EXPECT_FALSE(player.Loaded());
}

// --- Pictures ----------------------------------------------------------------

TEST(PictureCacheTest, ReadsEachPictureOnceAtItsSize) {
  PictureCache cache(QStringLiteral(TESVA_PROGRAM_FOLDER));
  QPixmap card = cache.Picture(QStringLiteral("D10"), {64, 104}, 1.0);
  ASSERT_FALSE(card.isNull());
  EXPECT_EQ(card.size(), QSize(64, 104));
  EXPECT_EQ(cache.Picture(QStringLiteral("D10"), {64, 104}, 1.0).cacheKey(), card.cacheKey());
  EXPECT_EQ(cache.FilesRead(), 1);
  // A dense screen gets the picture's full detail, at the same place size.
  QPixmap dense = cache.Picture(QStringLiteral("D10"), {64, 104}, 2.0);
  EXPECT_EQ(dense.size(), QSize(128, 208));
  EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(64, 104));
}

TEST(PictureCacheTest, ReadsOtherPictureDataByItsContent) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Data")));
  QImage red(128, 208, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(folder.filePath(QStringLiteral("Data/K1.grf")), "BMP"));
  QFile garbage(folder.filePath(QStringLiteral("Data/K2.grf")));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("no picture here");
  garbage.close();

  PictureCache cache(folder.path());
  QPixmap card = cache.Picture(QStringLiteral("K1"), {64, 104}, 1.0);
  ASSERT_FALSE(card.isNull());
  EXPECT_EQ(card.toImage().pixelColor(32, 52), QColor(Qt::red));
  EXPECT_TRUE(cache.Picture(QStringLiteral("K2"), {64, 104}, 1.0).isNull());
}

TEST(PictureCacheTest, PicturesReadAheadAreNotReadAgain) {
  PictureCache cache(QStringLiteral(TESVA_PROGRAM_FOLDER));
  cache.ReadAhead({QStringLiteral("S1"), QStringLiteral("Back"), QStringLiteral("X99")}, {64, 104},
                  1.0);
  QPixmap ace = cache.Picture(QStringLiteral("S1"), {64, 104}, 1.0);
  EXPECT_FALSE(ace.isNull());
  EXPECT_EQ(ace.size(), QSize(64, 104));
  EXPECT_FALSE(cache.Picture(QStringLiteral("Back"), {64, 104}, 1.0).isNull());
  EXPECT_TRUE(cache.Picture(QStringLiteral("X99"), {64, 104}, 1.0).isNull());
  EXPECT_EQ(cache.FilesRead(), 3);
  // A picture not read ahead is read when first asked for.
  EXPECT_FALSE(cache.Picture(QStringLiteral("S2"), {64, 104}, 1.0).isNull());
  EXPECT_EQ(cache.FilesRead(), 4);
}

TEST(PictureCacheTest, AMissingPictureIsEmptyAndLookedForOnce) {
  PictureCache cache(QStringLiteral(TESVA_PROGRAM_FOLDER));
  EXPECT_TRUE(cache.Picture(QStringLiteral("X99"), {64, 104}, 1.0).isNull());
  EXPECT_TRUE(cache.Picture(QStringLiteral("X99"), {64, 104}, 1.0).isNull());
  EXPECT_EQ(cache.FilesRead(), 1);
  EXPECT_TRUE(cache.Picture(QString(), {64, 104}, 1.0).isNull());
  EXPECT_EQ(cache.FilesRead(), 1) << "an empty place reads nothing";
}

// --- Boxes -------------------------------------------------------------------

// Runs `answer` on the box as soon as it is open.
void WhenABoxOpens(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()); }, 3000));
    answer(box);
  });
}

QPushButton* Button(QWidget* box, QDialogButtonBox::StandardButton which) {
  auto* buttons = box->findChild<QDialogButtonBox*>();
  return buttons ? buttons->button(which) : nullptr;
}

TEST(DialogsTest, InputBoxAsksOneLineInTurkish) {
  QtDialogs dialogs;
  WhenABoxOpens([](QWidget* box) {
    auto* input = qobject_cast<QInputDialog*>(box);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->windowTitle(), QStringLiteral("Tesva"));
    EXPECT_EQ(input->labelText(), QStringLiteral("'' Oyuncu '' için isim giriniz..."));
    auto* line = input->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().isEmpty());
    EXPECT_EQ(line->maxLength(), 5);
    EXPECT_EQ(Button(box, QDialogButtonBox::Ok)->text(), QStringLiteral("Tamam"));
    EXPECT_EQ(Button(box, QDialogButtonBox::Cancel)->text(), QStringLiteral("İptal"));
    line->insert(QStringLiteral("Şükrüler"));
    QTest::mouseClick(Button(box, QDialogButtonBox::Ok), Qt::LeftButton);
  });
  EXPECT_EQ(dialogs.InputBox("'' Oyuncu '' için isim giriniz...", "Tesva", 5), "Şükrü");
}

TEST(DialogsTest, InputBoxWithoutALimitAndCancelled) {
  QtDialogs dialogs;
  WhenABoxOpens([](QWidget* box) {
    auto* line = box->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, QStringLiteral("1234567890123456789012345678901234567890"));
    QTest::keyClick(line, Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.InputBox("Lütfen kaç el oynamak istediğinizi belirleyin...", "Tesva", 0),
            "1234567890123456789012345678901234567890");
  WhenABoxOpens([](QWidget* box) {
    QTest::keyClicks(box->findChild<QLineEdit*>(), QStringLiteral("Ali"));
    QTest::mouseClick(Button(box, QDialogButtonBox::Cancel), Qt::LeftButton);
  });
  EXPECT_EQ(dialogs.InputBox("'' Bilgisayar '' için isim giriniz...", "Tesva", 30), "");
}

TEST(DialogsTest, QuestionBoxAnswersYesOrNo) {
  QtDialogs dialogs;
  for (bool yes : {true, false}) {
    WhenABoxOpens([yes](QWidget* box) {
      auto* question = qobject_cast<QMessageBox*>(box);
      ASSERT_NE(question, nullptr);
      EXPECT_EQ(question->windowTitle(), QStringLiteral("Tesva"));
      EXPECT_EQ(question->icon(), QMessageBox::Question);
      EXPECT_EQ(question->text(), QStringLiteral("Emin misiniz?"));
      QAbstractButton* yesButton = question->button(QMessageBox::Yes);
      QAbstractButton* noButton = question->button(QMessageBox::No);
      ASSERT_NE(yesButton, nullptr);
      ASSERT_NE(noButton, nullptr);
      EXPECT_EQ(yesButton->text().remove('&'), QStringLiteral("Evet"));
      EXPECT_EQ(noButton->text().remove('&'), QStringLiteral("Hayır"));
      QTest::mouseClick(yes ? yesButton : noButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.AskYesNo("Emin misiniz?", "Tesva"), yes);
  }
}

// --- The program -------------------------------------------------------------

TEST(HostTest, ProgramFolderIsTheExecutablesFolder) {
  QtHost host;
  EXPECT_EQ(QString::fromStdString(host.ProgramFolder()), QCoreApplication::applicationDirPath());
  EXPECT_FALSE(host.ProgramFolder().empty());
  EXPECT_NE(host.ProgramFolder().back(), '/');
}

TEST(HostTest, ExitEndsTheEventLoop) {
  QtHost host;
  QTimer exit;
  exit.setSingleShot(true);
  QObject::connect(&exit, &QTimer::timeout, [&] { host.Exit(); });
  QTimer tooLate;
  tooLate.setSingleShot(true);
  bool late = false;
  QObject::connect(&tooLate, &QTimer::timeout, [&] {
    late = true;
    QCoreApplication::quit();
  });
  exit.start(0);
  tooLate.start(2000);
  QCoreApplication::exec();
  EXPECT_FALSE(late);
}

}  // namespace

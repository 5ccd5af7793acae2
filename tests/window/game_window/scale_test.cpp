// The table's size "Masa büyüklüğü" on Qt's offscreen platform: at 150 and
// 200 % every element of the table, captions and panels among them, stands
// at its 100 % place enlarged, its font enlarged with it; a size chosen in
// the menu is laid out at once and is the same table as one opened at that
// size; the choice is stored under its own key and read back, and a stored
// value that is not one of the three opens at 100 %. A card shown larger
// than its "Data" picture is drawn from the decks at its size.
#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>
#include <set>

#include "engine/engine.h"
#include "window/game_window/game_window.h"
#include "window/pictures/deck_pictures.h"
#include "window/pictures/picture_cache.h"
#include "window/record/record_keeper.h"
#include "window/story/story_panels.h"
#include "window/story/table_story.h"
#include "window/table/card_picture.h"
#include "window/table/table_label.h"
#include "window/table/table_units.h"

#include "window/window_fixture.h"

namespace {

using window_testing::PlayFirstPlayableCard;

// A widget of the table as it is laid out: where it stands on the table,
// how large its font is, and whether its size follows its text.
struct Laid {
  QRect place;
  qreal points;
  bool fitted;
};
using Layout = std::map<QString, Laid>;

// Sized to their text (the table's fitted captions, the rules panel's
// texts, the panels' rows): their size follows the font's measures, which
// grow with the font but not pixel for pixel.
bool FitsItsText(QWidget* widget) {
  // The hand's board is as tall as its figures.
  static const QStringList fitted = {"Player1_Name", "Player2_Name", "Label2", "Label7",
                                     "handPanel"};
  return fitted.contains(widget->objectName()) ||
         (qobject_cast<QLabel*>(widget) && !qobject_cast<TableLabel*>(widget)) ||
         qobject_cast<QPushButton*>(widget);
}

// Every named widget on the table and every widget of a panel, by name
// (a panel's unnamed parts by their panel and their order).
Layout LayoutOf(QWidget* table) {
  QCoreApplication::processEvents();  // the panels' layouts run as the screen's next frame would
  Layout layout;
  std::map<QString, int> unnamed;
  for (QWidget* widget : table->findChildren<QWidget*>()) {
    QString name = widget->objectName();
    if (name.isEmpty()) {
      QWidget* panel = widget->parentWidget();
      if (!panel || panel == table || panel->objectName().isEmpty()) continue;
      name = QStringLiteral("%1/%2").arg(panel->objectName()).arg(unnamed[panel->objectName()]++);
    }
    QRect place(widget->mapTo(table, QPoint(0, 0)), widget->size());
    layout[name] = {place, widget->font().pointSizeF(), FitsItsText(widget)};
  }
  return layout;
}

// `big` is `small` enlarged `factor` times: a place exactly (to the pixel
// its rounding takes), a text's size within a tenth and its font exactly.
void ExpectEnlarged(const Layout& small, const Layout& big, double factor) {
  ASSERT_EQ(small.size(), big.size());
  auto near = [](int got, double want, double slack) { return std::abs(got - want) <= slack; };
  for (const auto& [name, at] : small) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_EQ(big.count(name), 1u);
    const Laid& now = big.at(name);
    EXPECT_DOUBLE_EQ(now.points, at.points * factor);
    if (!at.fitted) {
      // The 100 % place enlarged; positions inside a panel add one
      // rounding of the panel's own place.
      EXPECT_TRUE(near(now.place.x(), at.place.x() * factor, 1.5)) << now.place.x();
      EXPECT_TRUE(near(now.place.y(), at.place.y() * factor, 1.5)) << now.place.y();
      EXPECT_TRUE(near(now.place.width(), at.place.width() * factor, 1)) << now.place.width();
      EXPECT_TRUE(near(now.place.height(), at.place.height() * factor, 1)) << now.place.height();
      continue;
    }
    double slackX = std::max(3.0, 0.1 * at.place.width() * factor);
    double slackY = std::max(3.0, 0.1 * at.place.height() * factor);
    EXPECT_TRUE(near(now.place.center().x(), at.place.center().x() * factor, slackX));
    EXPECT_TRUE(near(now.place.center().y(), at.place.center().y() * factor, slackY));
    EXPECT_TRUE(near(now.place.width(), at.place.width() * factor, slackX))
        << now.place.width() << " " << at.place.width();
    EXPECT_TRUE(near(now.place.height(), at.place.height() * factor, slackY)) << now.place.height();
  }
}

// The window opened on a deck seed 11 shuffles, with the fixture's options
// file; the sizes' items are found through "Seçenekler".
class ScaleTest : public window_testing::WindowTest {
 protected:
  ScaleTest() { random = tesva::ScriptedRandom(11); }
  void TearDown() override {
    window.reset();
    SetTableScale(1.0);
  }
  // Not the first run unless told: the level is stored.
  void Open(bool firstRun = false) {
    if (!firstRun) Store(tesva::kKeyLevel, "2");
    WindowTest::Open(QStringLiteral(TESVA_PROGRAM_FOLDER), {});
  }
  void Store(std::string_view key, std::string_view value) {
    store.Write(tesva::kStoreApp, tesva::kStoreSection, key, value);
  }
  // "Seçenekler" as it opens: its last item, the table's size, is made then.
  QMenu* OptionsMenu() const {
    auto* options = window->menuBar()->findChild<QMenu*>(QStringLiteral("mnuSecenek"));
    EXPECT_NE(options, nullptr);
    if (options) emit options->aboutToShow();
    return options;
  }
  QAction* Action(const QString& name) const {
    if (name.startsWith(QStringLiteral("mnuMasa"))) OptionsMenu();
    return Find<QAction>(name);
  }
  QString Checked() const {
    QString checked;
    for (int percent : tesva::kTableScales) {
      QAction* action = Action(QStringLiteral("mnuMasa%1").arg(percent));
      if (action->isChecked()) checked += action->text();
    }
    return checked;
  }
  // The window stays at one size, the table's and the menu bar's.
  void ExpectFixedSize(QSize table) {
    EXPECT_EQ(Table()->size(), table);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_EQ(window->height(), table.height() + window->menuBar()->height());
  }
  // Plays with the lowest playable card until the game is over: the hand's
  // board and the game's result are up.
  void PlayToTheEnd() {
    Action("mnuFirst")->trigger();
    for (int moves = 0; moves < 60 && game().HandNo != 0; ++moves) {
      if (game().Timer2.enabled) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer2.enabled; }, 5000));
        continue;
      }
      PlayFirstPlayableCard(*window);
    }
    ASSERT_EQ(game().HandNo, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->Story().GameEnd() && window->Story().GameEnd()->isVisible(); }, 5000));
    ASSERT_TRUE(window->Story().Hand() && window->Story().Hand()->isVisible());
  }
};

TEST_F(ScaleTest, EveryElementStandsAtItsPlaceEnlargedAndTheMenuLaysItOutAtOnce) {
  Open();
  Action("mnuHelp")->trigger();  // the rules panel and its texts too
  ASSERT_EQ(window->TableScalePercent(), 100);
  ExpectFixedSize({525, 456});
  Layout at100 = LayoutOf(Table());
  EXPECT_GT(at100.size(), 40u);
  EXPECT_DOUBLE_EQ(Table()->font().pointSizeF(), 8.25);

  for (int percent : {150, 200}) {
    SCOPED_TRACE(percent);
    double factor = percent / 100.0;
    Action(QStringLiteral("mnuMasa%1").arg(percent))->trigger();
    EXPECT_EQ(window->TableScalePercent(), percent);
    ExpectFixedSize({static_cast<int>(std::lround(525 * factor)), static_cast<int>(456 * factor)});
    Layout chosen = LayoutOf(Table());
    ExpectEnlarged(at100, chosen, factor);

    // The table chosen in the menu is the table opened at that size.
    Open();
    Action("mnuHelp")->trigger();
    EXPECT_EQ(window->TableScalePercent(), percent);
    Layout opened = LayoutOf(Table());
    for (const auto& [name, at] : opened) {
      EXPECT_EQ(at.place, chosen.at(name).place) << name.toStdString();
      EXPECT_EQ(at.points, chosen.at(name).points) << name.toStdString();
    }
  }

  // And back to 100 %: the table as it opened, holding the pictures of one
  // size only.
  Action("mnuMasa100")->trigger();
  for (QWidget* card : Table()->findChildren<CardPicture*>()) card->repaint();
  std::set<QString> shown;
  for (CardPicture* card : Table()->findChildren<CardPicture*>()) {
    if (!card->PictureName().isEmpty()) shown.insert(card->PictureName());
  }
  // (A card wholly under the rules panel is not painted, so not held.)
  EXPECT_GT(window->Pictures().Held(), 0u);
  EXPECT_LE(window->Pictures().Held(), shown.size());
  Layout back = LayoutOf(Table());
  for (const auto& [name, at] : at100)
    EXPECT_EQ(back.at(name).place, at.place) << name.toStdString();
  ExpectFixedSize({525, 456});
}

TEST_F(ScaleTest, TheHandsBoardAndTheGamesResultGrowWithTheTable) {
  Store(tesva::kKeyHands, "1");
  Open();
  PlayToTheEnd();
  Layout at100 = LayoutOf(Table());
  ASSERT_EQ(at100.count("handPanel"), 1u);
  ASSERT_EQ(at100.count("gameEndPanel"), 1u);
  QStringList rows;
  for (const QStringList& row : window->Story().Hand()->Rows()) rows << row.join('|');

  Action("mnuMasa150")->trigger();
  ExpectEnlarged(at100, LayoutOf(Table()), 1.5);
  // Laid out anew, the figures are the same.
  QStringList again;
  for (const QStringList& row : window->Story().Hand()->Rows()) again << row.join('|');
  EXPECT_EQ(again, rows);
  EXPECT_TRUE(window->Story().Hand()->isVisible());
  EXPECT_TRUE(window->Story().GameEnd()->isVisible());
  // Its button still starts the next game.
  window->Story().GameEnd()->NewGameButton()->click();
  EXPECT_EQ(game().HandNo, 1);
}

// The hover frame and the hint's mark frame the card they mark, a card and
// one pixel more, at every size; a hint shown at 100 % follows the table.
TEST_F(ScaleTest, TheMarksFrameTheirCardAtEverySize) {
  Open();
  QSignalSpy hinted(&window->Keeper(), &RecordKeeper::hintShown);
  QTest::keyClick(window.get(), Qt::Key_H);
  ASSERT_TRUE(hinted.wait(5000));
  int slot = window->Keeper().HintSlot();
  ASSERT_GE(slot, 1);
  for (int percent : {100, 200, 150}) {
    SCOPED_TRACE(percent);
    Action(QStringLiteral("mnuMasa%1").arg(percent))->trigger();
    auto* hint = window->findChild<QWidget*>(QStringLiteral("HintFrame"));
    ASSERT_TRUE(hint && hint->isVisible());
    QWidget* card = window->findChild<QWidget*>(QStringLiteral("Player1_Kart(%1)").arg(slot));
    EXPECT_EQ(hint->geometry(), card->geometry().adjusted(0, 0, 1, 1));

    QWidget* last = window->findChild<QWidget*>(QStringLiteral("Player1_Kart(4)"));
    QTest::mouseMove(last, QPoint(last->width() / 2, last->height() / 2));
    auto* hover = window->findChild<QWidget*>(QStringLiteral("Shape1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hover->isVisible(); }, 2000));
    EXPECT_EQ(hover->geometry(), last->geometry().adjusted(0, 0, 1, 1));
  }
}

// The offscreen screen is 800 x 600: only the 100 % window fits in three
// quarters of it. The first run keeps what it chose; a choice in the menu is
// stored under its own key and read back.
TEST_F(ScaleTest, TheFirstRunKeepsTheSizeThatFitsAndTheChoiceIsStoredAndReadBack) {
  Open(/*firstRun=*/true);
  ASSERT_LT(window->screen()->availableGeometry().height() * 3, 4 * (456 * 3 / 2));
  EXPECT_EQ(window->TableScalePercent(), 100);
  EXPECT_EQ(Stored()["MasaBuyuklugu"], "100");
  EXPECT_EQ(Stored().size(), 9u);
  // Made when "Seçenekler" first opens, once.
  EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("mnuMasa100")), nullptr);
  QMenu* options = OptionsMenu();
  ASSERT_NE(options, nullptr);
  OptionsMenu();
  EXPECT_EQ(window->findChildren<QMenu*>(QStringLiteral("mnuMasaBuyuklugu")).size(), 1);
  QMenu* sizes = options->actions().last()->menu();
  ASSERT_NE(sizes, nullptr) << "the last item of \"Seçenekler\"";
  EXPECT_EQ(sizes->title(), QStringLiteral("Masa büyüklüğü"));
  QStringList captions;
  for (QAction* action : sizes->actions()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{"%100", "%150", "%200"}));
  EXPECT_EQ(Checked(), "%100");

  std::map<QString, QString> before = Stored();
  Action("mnuMasa200")->trigger();
  EXPECT_EQ(Checked(), "%200");
  Action("mnuMasa150")->trigger();
  EXPECT_EQ(Checked(), "%150");
  std::map<QString, QString> after = Stored();
  EXPECT_EQ(after["MasaBuyuklugu"], "150");
  // No other key is written by the size.
  after.erase("MasaBuyuklugu");
  before.erase("MasaBuyuklugu");
  EXPECT_EQ(after, before);

  Open();
  EXPECT_EQ(window->TableScalePercent(), 150);
  EXPECT_EQ(Checked(), "%150");
  ExpectFixedSize({788, 684});
}

TEST_F(ScaleTest, AStoredValueThatIsNotASizeOpensAt100AndIsLeftAsItIs) {
  const std::vector<std::string> values = {
      "175", "abc", "0150", "150 ", "-200", "2e2", std::string(5000, '9')};
  for (const std::string& hostile : values) {
    SCOPED_TRACE(hostile.substr(0, 10));
    Store(tesva::kKeyTableScale, hostile);
    Open();
    EXPECT_EQ(window->TableScalePercent(), 100);
    EXPECT_EQ(Checked(), "%100");
    ExpectFixedSize({525, 456});
    EXPECT_EQ(store.Read(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyTableScale), hostile);
  }
}

// How sharp a picture is: the sum of the squared steps between neighbour
// pixels' grey. An enlarged picture spreads each edge over more pixels,
// which lowers it.
double Sharpness(const QImage& picture) {
  QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
  double sum = 0;
  for (int y = 0; y < grey.height(); ++y) {
    const uchar* row = grey.constScanLine(y);
    for (int x = 1; x < grey.width(); ++x) sum += std::pow(row[x] - row[x - 1], 2);
  }
  return sum;
}

TEST(DeckPictures, ACardLargerThanItsDataPictureIsDrawnFromTheDecksAtItsSize) {
  PictureCache cache(QStringLiteral(TESVA_PROGRAM_FOLDER));
  // 100 % on a plain screen: the "Data" picture; neither the decks'
  // library nor a deck is read.
  QPixmap plain = cache.Picture(QStringLiteral("D12"), {64, 104}, 1.0);
  EXPECT_EQ(plain.size(), QSize(64, 104));
  EXPECT_FALSE(cache.Decks().Loaded());
  // 200 % on a plain screen is the "Data" picture's own size.
  EXPECT_EQ(cache.Picture(QStringLiteral("D12"), {128, 208}, 1.0).size(), QSize(128, 208));
  EXPECT_FALSE(cache.Decks().Loaded());

  // 150 % on a screen of two device pixels a pixel: 192 x 312 drawn.
  for (const char* name : {"D12", "S1", "Back", "Back2"}) {
    SCOPED_TRACE(name);
    QPixmap dense = cache.Picture(QString::fromLatin1(name), {96, 156}, 2.0);
    ASSERT_FALSE(dense.isNull());
    EXPECT_EQ(dense.size(), QSize(192, 312));
    EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(96, 156));
    QImage drawn = dense.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    DeckPictures decks(QStringLiteral(TESVA_PROGRAM_FOLDER));
    QImage fromDeck = decks.Draw(QString::fromLatin1(name), {192, 312});
    ASSERT_FALSE(fromDeck.isNull()) << "the decks or their library were not found";
    EXPECT_EQ(drawn, fromDeck.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // Sharper than the "Data" picture enlarged to that size.
    QImage enlarged = QImage(QStringLiteral(TESVA_PROGRAM_FOLDER "/Data/") + name + ".grf")
                          .scaled(192, 312, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(Sharpness(drawn), 1.2 * Sharpness(enlarged));
  }
  EXPECT_TRUE(cache.Decks().Loaded());
}

TEST(DeckPictures, NamesAndSizesThatAreNoCardDrawNothing) {
  DeckPictures decks(QStringLiteral(TESVA_PROGRAM_FOLDER));
  for (const char* name :
       {"", "D0", "D14", "D01", "D+1", "X1", "d1", "Back3", "back", "D1 ", "../Data/D1", "D1\n"}) {
    EXPECT_TRUE(decks.Draw(QString::fromLatin1(name), {192, 312}).isNull()) << name;
  }
  for (QSize size : {QSize(0, 312), QSize(192, -1), QSize(100000, 100000), QSize()}) {
    EXPECT_TRUE(decks.Draw(QStringLiteral("D1"), size).isNull()) << size.width();
  }
  EXPECT_EQ(decks.Draw(QStringLiteral("K13"), {30, 50}).size(), QSize(30, 50));
}

// Where the decks are missing the "Data" picture is enlarged: a card is
// shown all the same.
TEST(DeckPictures, WithoutTheDecksTheDataPictureIsEnlarged) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Data")));
  ASSERT_TRUE(QFile::copy(QStringLiteral(TESVA_PROGRAM_FOLDER "/Data/D7.grf"),
                          folder.filePath(QStringLiteral("Data/D7.grf"))));
  PictureCache cache(folder.path());
  QPixmap dense = cache.Picture(QStringLiteral("D7"), {128, 208}, 2.0);
  EXPECT_EQ(dense.size(), QSize(256, 416));
  EXPECT_TRUE(cache.Decks().Loaded());
  EXPECT_TRUE(DeckPictures(folder.path()).Draw(QStringLiteral("D7"), {256, 416}).isNull());
}

}  // namespace

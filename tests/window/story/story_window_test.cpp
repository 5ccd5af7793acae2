// What the table tells beyond the game's own elements, on Qt's offscreen
// platform: nothing the player may not see reaches assistive technology,
// whatever name the real input box gives the player, the piles look and are named as thick as they
// are, and the points, hands and game ends are announced and shown.
#include <gtest/gtest.h>

#include "story/story_texts.h"
#include "window/story/announcements.h"
#include "window/story/story_panels.h"
#include "window/story/table_story.h"
#include "window/window_fixture.h"

namespace {

using namespace window_testing;

class StoryTest : public WindowTest {
 protected:
  // Every text that any accessibility client could read from the window,
  // hidden widgets included.
  QStringList AccessibleTexts() const {
    QStringList texts;
    auto add = [&texts](QAccessibleInterface* face) {
      if (!face) return;
      for (QAccessible::Text kind :
           {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help}) {
        QString text = face->text(kind);
        if (!text.isEmpty()) texts << text;
      }
      if (QAccessibleTextInterface* body = face->textInterface()) {
        texts << body->text(0, body->characterCount());
      }
      if (QAccessibleTableInterface* table = face->tableInterface()) {
        for (QAccessibleInterface* cell : table->selectedCells())
          texts << cell->text(QAccessible::Name);
      }
    };
    add(QAccessible::queryAccessibleInterface(window.get()));
    for (QObject* object : window->findChildren<QObject*>()) {
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
      add(face);
      for (int i = 0; face && i < face->childCount(); ++i) add(face->child(i));
    }
    return texts;
  }
  // The cards the player has not seen: the computer's hand, the deck and
  // the floor's face-down cards, by their Turkish names.
  static void ExpectNoneNamed(const QStringList& texts, const std::vector<std::string>& cards) {
    for (const std::string& card : cards) {
      QString name = Q(tesva::CardName(card));
      for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(name)) << card << " read in \"" << text.toStdString() << "\"";
      }
    }
  }
};

TEST_F(StoryTest, WhatThePlayerMayNotSeeGivesAssistiveTechnologyNoText) {
  Open();
  std::vector<std::string> deck = KnownDeck();
  // The face-down floor cards, the computer's hand and the deck not yet dealt.
  std::vector<std::string> unseen = {"K3", "K4", "K5", "S3", "S4", "S5", "S6"};
  unseen.insert(unseen.end(), deck.begin() + 12, deck.end());
  QStringList texts = AccessibleTexts();
  ASSERT_TRUE(texts.contains(Q(tesva::AccessibleName(game(), "Player1_Kart", 1))))
      << "the walk reads the window";
  ExpectNoneNamed(texts, unseen);
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    auto* face = QAccessible::queryAccessibleInterface(Label(Nth("Cikanlar", rank)));
    EXPECT_EQ(face->text(QAccessible::Name), "") << rank;
    EXPECT_EQ(face->text(QAccessible::Value), "") << rank;
    EXPECT_TRUE(face->state().invisible) << rank;
  }

  // In watch mode the tracker and the computer's hand are shown at their
  // places and read, and follow the play.
  AnswerTheBox(QStringLiteral("GateKeeper"));
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  ASSERT_TRUE(Shown("List2"));
  EXPECT_EQ(Find("List2")->geometry(), ToPixels(*tesva::FindPlace("List2")));
  ExpectShowsTheGame();
  ClickCard(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  Settle();
  EXPECT_EQ(Find<QListWidget>("List2")->count(), 3);
  ExpectShowsTheGame();
  texts = AccessibleTexts();
  EXPECT_TRUE(texts.contains(Q(game().Cikanlar(3).caption))) << "the tracker is read";
  for (const std::string& item : game().List2.items) EXPECT_TRUE(texts.contains(Q(item))) << item;

  // Back to a name of the player's own, which is shown and stored: the
  // computer's hand is out of reach again. The computer is renamed alike.
  AnswerTheBox(QStringLiteral("Ayşe"));
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  ASSERT_FALSE(Shown("List2"));
  EXPECT_EQ(Label("Player1_Name")->text(), QStringLiteral("Ayşe (0)"));
  EXPECT_EQ(Stored()["OyuncuIsim"], QStringLiteral("Ayşe"));
  AnswerTheBox(QStringLiteral("Deniz"));
  QTest::mouseClick(Label("Player2_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Deniz (0)"));
  texts = AccessibleTexts();
  std::vector<std::string> hidden = {"S3", "S4", "S5", "S6"};
  std::erase(hidden, game().TopCard);  // the computer's answer, for all to see
  ExpectNoneNamed(texts, hidden);
  for (const std::string& item : game().List2.items) EXPECT_FALSE(texts.contains(Q(item))) << item;
  ExpectShowsTheGame();
}

// Hand 1: the base card K2 under K3, K4 and K6; the human holds the jack
// D11 and D5, D9, D13, the computer three fives and S9. The jack takes the
// floor, and whatever the computer lays on the empty floor next, the human
// takes it alone: a tesva.
std::vector<std::string> TesvaDeck() {
  return tesva::Deck({"K2", "K3", "K4", "K6", "D11", "D5", "D9", "D13", "S5", "K5", "M5", "S9"});
}

// The piles as thick as they are: the deck, the floor under its top card
// and the captured piles show one edge for every few cards, none where the
// place shows no card, and a screen reader hears each pile's count.
TEST_F(StoryTest, PilesShowTheirThicknessAndSayTheirCount) {
  Open();
  auto edges = [&](Spot spot) {
    CardPicture* top = Card(ElementOf(spot).name);
    for (auto* pile : Table()->findChildren<PileEdges*>()) {
      if (pile->pos() == top->pos()) return pile->isHidden() ? 0 : pile->Edges();
    }
    return -1;
  };
  EXPECT_EQ(edges(Spot::kDeck), PileEdges::EdgesFor(40));
  EXPECT_EQ(edges(Spot::kFloorTop), PileEdges::EdgesFor(3)) << "three face down over the base";
  EXPECT_EQ(edges(Spot::kHumanPile), 0);
  EXPECT_EQ(Card("OrtadakiKartlar")->accessibleName(),
            "Yerdeki kağıtlar (4): en üstte Kapalı kağıt");
  // The deck's edges are seen beside it, on the cloth, inside the window.
  CardPicture* deck = Card("Deste");
  EXPECT_NE(PixelAt({deck->geometry().right() + 2, deck->y() + 50}), ToColor(game().BackColor));
  EXPECT_EQ(PixelAt({Table()->width() - 1, deck->y() + 50}), ToColor(game().BackColor));

  // Cards laid on the floor thicken it; a take leaves it empty, with no
  // edges, and thickens the taker's pile.
  Action("mnuFirst")->trigger();
  for (int move = 0; move < 12; ++move) {
    if (auto playable = tesva::EnabledSlots(game()); !playable.empty()) ClickCard(playable.front());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
    Settle();
    SCOPED_TRACE("move " + std::to_string(move));
    int floor = game().FloorCount;
    bool base = !game().EnAltKart.picture.empty();
    EXPECT_EQ(edges(Spot::kFloorTop), PileEdges::EdgesFor(floor - (base ? 1 : 0)));
    EXPECT_EQ(edges(Spot::kHumanPile), PileEdges::EdgesFor(game().Player1_CardsTaken));
    EXPECT_EQ(edges(Spot::kComputerPile), PileEdges::EdgesFor(game().Player2_CardsTaken));
    // The deck's edges and every pile's name: the game's, as for any table.
    ExpectShowsTheGame();
  }
  EXPECT_GT(game().Player1_CardsTaken + game().Player2_CardsTaken, 0) << "no take was seen";
}

// A whole one-hand game: the jack's take and the tesva rise from the
// human's pile; the hand's board adds up to the scores the names then
// show; the game's end offers "Yeni Oyun", which starts the next game at
// once, with no question.
TEST_F(StoryTest, TakesHandAndGameAreToldAndTheGameEndStartsTheNext) {
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyLevel, "1");
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyDelay, "10");
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyHands, "1");
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyHumanName, "Ayşe");
  store.Write(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyComputerName, "Can");
  Open(QStringLiteral(TESVA_PROGRAM_FOLDER), TesvaDeck());
  TableStory& story = window->Story();
  auto heard = [&](const QString& text) {
    return QTest::qWaitFor(
        [&] {
          AnnouncementLayer* layer = story.Announcements();
          std::vector<QString> texts = layer ? layer->Texts() : std::vector<QString>{};
          return std::count(texts.begin(), texts.end(), text) == 1 &&
                 QAccessible::queryAccessibleInterface(layer)->text(QAccessible::Name) == text;
        },
        3000);
  };
  int before = game().Player1_Score;
  ClickCard(1);  // the jack takes the floor
  int taken = game().Player1_Score - before;
  EXPECT_TRUE(heard(QStringLiteral("+%1").arg(taken))) << "the take's points rise from the pile";
  ASSERT_TRUE(QTest::qWaitFor([&] { return game().Player2_CardsLeft == 3; }, 3000));
  Settle();
  std::string lone = game().TopCard;
  int slot = tesva::Rank(lone) == 5 ? 2 : 3;
  ASSERT_EQ(game().FloorCount, 1) << lone;
  ClickCard(slot);
  EXPECT_TRUE(heard(QStringLiteral("Tesva! +10")));
  // The announcement never covers the hand, and stays whole inside the
  // table though the pile lies at its edge.
  QRect hand = Card("Player1_Kart", 1)->geometry().united(Card("Player1_Kart", 4)->geometry());
  for (QRect place : story.Announcements()->Places()) {
    EXPECT_FALSE(place.intersects(hand));
    EXPECT_TRUE(Table()->rect().contains(place)) << place.x() << "," << place.y();
  }

  // The rest of the hand: the first card that can be played, each time.
  for (int move = 0; move < 60 && game().HandNo == 1 && !story.Hand(); ++move) {
    if (auto playable = tesva::EnabledSlots(game()); !playable.empty()) ClickCard(playable.front());
    QTest::qWait(15);
    ExpectShowsTheGame();
    if (HasFailure()) return;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return story.Hand() && story.Hand()->isVisible(); }, 5000));
  HandPanel* panel = story.Hand();
  EXPECT_FALSE(panel->geometry().intersects(hand)) << "the board lies over the middle";
  std::map<QString, QStringList> rows;
  for (const QStringList& row : panel->Rows()) rows[row.front()] = row;
  EXPECT_EQ(rows.count(QStringLiteral("1. El bitti")), 1u);
  ASSERT_EQ(rows.count(QStringLiteral("Toplam")), 1u);
  EXPECT_EQ(rows["Toplam"][1], QString::number(game().Player1_Score));
  EXPECT_EQ(rows["Toplam"][2], QString::number(game().Player2_Score));
  bool tesvaRow = false;
  for (const auto& [heading, row] : rows) {
    if (heading.startsWith(QStringLiteral("Tesva: ")) && row[1] == "+10") tesvaRow = true;
  }
  EXPECT_TRUE(tesvaRow) << "the human's tesva has its row";

  // The game's end.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return story.GameEnd() && story.GameEnd()->isVisible(); }, 5000));
  GameEndPanel* end = story.GameEnd();
  // The result and totals of this game's scores and players.
  auto told = tesva::story::GameEndOf(game().Player1_Score, game().Player2_Score, "Ayşe", "Can");
  EXPECT_EQ(end->Result(), Q(told.result));
  EXPECT_EQ(end->Totals(), Q(told.totals));
  EXPECT_EQ(game().HandNo, 0);
  // The record's line is whole inside the panel, which stays inside the
  // table and off the player's name.
  Settle();
  auto* extra = end->findChild<QLabel*>("gameEndRecord");
  ASSERT_NE(extra, nullptr);
  ASSERT_FALSE(end->ExtraLine().isEmpty());
  EXPECT_TRUE(end->contentsRect().contains(extra->geometry()));
  QRect wrapped = extra->fontMetrics().boundingRect(
      QRect(0, 0, extra->width(), 1000), Qt::TextWordWrap | Qt::AlignHCenter, extra->text());
  EXPECT_LE(wrapped.width(), extra->width());
  EXPECT_LE(wrapped.height(), extra->height()) << extra->text().toStdString();
  // Broken, if at all, after a comma: each line whole, none wrapped again.
  for (const QString& line : extra->text().split('\n')) {
    EXPECT_LE(extra->fontMetrics().horizontalAdvance(line), extra->width()) << line.toStdString();
  }
  EXPECT_EQ(QString(extra->text()).replace('\n', QStringLiteral(" ")), end->ExtraLine());
  EXPECT_TRUE(Table()->rect().contains(end->geometry()));
  QLabel* name = Table()->findChild<QLabel*>("Player1_Name");
  ASSERT_NE(name, nullptr);
  EXPECT_FALSE(end->geometry().intersects(name->geometry()));
  // The deck left for the next game is as thin as its caption says.
  EXPECT_EQ(game().Label8.caption, "Deste (0)");
  EXPECT_EQ(tesva::PileCount(game(), "Deste"), 0);
  QTest::mouseClick(end->NewGameButton(), Qt::LeftButton);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no question once the game is over";
  EXPECT_EQ(game().HandNo, 1);
  EXPECT_EQ(game().Player1_Score, 0);
  EXPECT_FALSE(end->isVisible());
  Settle();
  ExpectShowsTheGame();
}

}  // namespace

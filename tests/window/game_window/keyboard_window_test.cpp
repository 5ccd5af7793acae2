// The keyboard's mark and the mouse's frame: never on two different cards,
// the last one used wins, the marked card lies fully visible over its
// neighbours, and Space or Return plays exactly the card that is marked,
// also after menus and the new game's question were answered in every way.
// A screen reader finds the hand cards as buttons, each with its key.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "window/table/hand_card.h"
#include "window/window_fixture.h"

namespace {

using namespace window_testing;

class KeyboardTest : public WindowTest {
 protected:
  void OpenActive() {
    Open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Action("mnuFirst")->trigger();  // the computer answers after 1/100 s
  }
  HandCard* Hand(int i) const { return static_cast<HandCard*>(Card("Player1_Kart", i)); }
  // The hand cards that carry a mark of either kind, once the window has
  // done what the last event queued.
  std::vector<int> Marked() {
    QCoreApplication::processEvents();
    std::vector<int> marked;
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      bool framed = game().Shape1.visible && game().HoverActive && game().HoverIndex == i;
      if (framed || Hand(i)->KeyboardMarkShown()) marked.push_back(i);
    }
    return marked;
  }
  // The focus mark's colour on the table itself, not on the card's own
  // picture: only a card that lies over its neighbours shows it whole.
  testing::AssertionResult MarkSeenWhole(int i) {
    HandCard* card = Hand(i);
    QImage table = Table()->grab().toImage();
    QColor mark = card->palette().color(QPalette::Active, QPalette::Highlight);
    QColor left = table.pixelColor(card->pos() + QPoint(2, card->height() / 2));
    QColor right = table.pixelColor(card->pos() + QPoint(card->width() - 3, card->height() / 2));
    if (left == mark && right == mark) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "card " << i << " shows " << left.name().toStdString()
                                       << " and " << right.name().toStdString() << " at its edges";
  }
  void Key(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window.get(), key);
    Remember();
  }
  void MouseOver(int i) {
    QTest::mouseMove(Hand(i), Uncovered());
    Remember();
  }
  void WaitForOurTurn() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tesva::EnabledSlots(game()).empty(); }, 3000));
  }
  int CardsLeft() const { return game().Player1_CardsLeft; }
};

TEST_F(KeyboardTest, TheLastOneUsedOfMouseAndKeysMarksTheOneCardTheKeysPlay) {
  OpenActive();
  EXPECT_EQ(Marked(), std::vector<int>{}) << "no mark before either is used";

  MouseOver(2);
  EXPECT_EQ(Marked(), std::vector<int>{2});
  EXPECT_TRUE(Hand(2)->hasFocus()) << "the keys act on the framed card";
  EXPECT_FALSE(Hand(2)->KeyboardMarkShown());

  // A key moves the mark and the frame goes with it; the card is raised.
  Key(Qt::Key_Right);
  EXPECT_EQ(Marked(), std::vector<int>{3});
  EXPECT_TRUE(Hand(3)->KeyboardMarkShown());
  EXPECT_EQ(game().ZOrder.back(), 3);
  EXPECT_TRUE(MarkSeenWhole(3));
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);
  EXPECT_EQ(Marked(), std::vector<int>{1});
  EXPECT_TRUE(MarkSeenWhole(1)) << "card 1 lies under card 2 unless raised";

  // The mouse takes over: the keyboard's mark goes, the frame is the mark.
  MouseOver(4);
  EXPECT_EQ(Marked(), std::vector<int>{4});
  EXPECT_FALSE(Hand(4)->KeyboardMarkShown());
  Key(Qt::Key_Space);
  EXPECT_EQ(game().Player1_Hand(4), "") << "Space played the framed card";
  EXPECT_EQ(CardsLeft(), 3);
  ExpectShowsTheGame();

  // The mouse over the cloth leaves no mark: the first Space shows one and
  // plays nothing, the second plays the marked card.
  WaitForOurTurn();
  Settle();  // the card played no longer slides over its neighbours
  QTest::mouseMove(Table(), QPoint(20, 20));
  Remember();
  EXPECT_EQ(Marked(), std::vector<int>{});
  Key(Qt::Key_Space);
  std::vector<int> marked = Marked();
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_EQ(CardsLeft(), 3) << "a card nobody saw marked was played";
  EXPECT_TRUE(MarkSeenWhole(marked[0]));
  std::string card = game().Player1_Hand(marked[0]);
  Key(Qt::Key_Return);
  EXPECT_EQ(game().Player1_Hand(marked[0]), "") << card;
  ExpectShowsTheGame();
}

// With one card left Tab cannot move the focus anywhere; it still shows
// the mark, and Return plays that card.
TEST_F(KeyboardTest, TabShowsTheMarkEvenWhenOnlyOneCardIsLeft) {
  OpenActive();
  for (int i : {1, 2, 3}) {
    WaitForOurTurn();
    ClickCard(i);
  }
  WaitForOurTurn();
  Settle();
  EXPECT_EQ(Marked(), std::vector<int>{});
  Key(Qt::Key_Tab);
  EXPECT_EQ(Marked(), std::vector<int>{4});
  EXPECT_TRUE(Hand(4)->KeyboardMarkShown());
  Key(Qt::Key_Return);
  EXPECT_EQ(CardsLeft(), 0);
  ExpectShowsTheGame();
}

TEST_F(KeyboardTest, AScreenReaderFindsTheHandCardsAsButtonsAndPlaysThem) {
  OpenActive();
  auto card = [&](int i) { return QAccessible::queryAccessibleInterface(Card("Player1_Kart", i)); };
  const QString press = QAccessibleActionInterface::pressAction();
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    QAccessibleInterface* button = card(i);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), Q(tesva::AccessibleName(game(), "Player1_Kart", i)));
    EXPECT_TRUE(button->state().focusable);
    EXPECT_TRUE(button->actionInterface()->actionNames().contains(press));
    EXPECT_EQ(button->actionInterface()->keyBindingsForAction(press),
              QStringList{QString::number(i)});
  }
  // The hand cards the screen reader hears as focused, and as disabled.
  using Cards = std::vector<int>;
  auto heard = [&](bool focus) {
    Cards found;
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      QAccessible::State state = card(i)->state();
      if (focus ? state.focused : state.disabled) found.push_back(i);
    }
    return found;
  };
  // The focused card carries a mark once the keyboard has moved the focus,
  // not for the player who never touches it.
  EXPECT_EQ(heard(true), Cards{1});
  EXPECT_FALSE(Hand(1)->KeyboardMarkShown());

  // Tab goes round the hand; the arrow keys go left and right and stop at the ends.
  std::vector<Cards> order;
  for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Right,
                    Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) {
    Key(k);
    order.push_back(heard(true));
  }
  EXPECT_EQ(order, (std::vector<Cards>{{2}, {3}, {4}, {1}, {1}, {2}, {3}, {4}, {4}, {3}}));
  EXPECT_TRUE(Hand(3)->KeyboardMarkShown());
  EXPECT_FALSE(Hand(1)->KeyboardMarkShown());

  // The press action plays the card as a click does; the hand is then
  // disabled, and nothing plays, until the computer has answered.
  card(3)->actionInterface()->doAction(press);
  EXPECT_EQ(game().Player1_Hand(3), "");
  EXPECT_EQ(heard(false), (Cards{1, 2, 3, 4}));
  EXPECT_EQ(heard(true), Cards{});
  card(2)->actionInterface()->doAction(press);
  EXPECT_EQ(game().Player1_Hand(2), "D8");

  // Then the focus is back next to the card played, and Tab and the arrows
  // pass the empty place by; Space and Return play the focused card.
  ASSERT_TRUE(QTest::qWaitFor([&] { return heard(false) == Cards{3}; }, 3000));
  EXPECT_EQ(heard(true), Cards{4});
  Key(Qt::Key_Left);
  EXPECT_EQ(heard(true), Cards{2});
  Key(Qt::Key_Space);
  EXPECT_EQ(game().Player1_Hand(2), "");
  ASSERT_TRUE(QTest::qWaitFor([&] { return heard(false) == (Cards{2, 3}); }, 3000));
  EXPECT_EQ(heard(true), Cards{1});
  Key(Qt::Key_Tab);
  Key(Qt::Key_Return);
  EXPECT_EQ(game().Player1_Hand(4), "");
  ExpectShowsTheGame();
}

// Menus opened and closed by mouse and by keyboard, the new game's question
// answered by a click, by Return and by Escape, the mouse over a card before
// and after: at every step at most one card is marked, and a key that plays
// plays exactly the marked card, or shows the mark when none was.
TEST_F(KeyboardTest, AfterMenusAndQuestionsTheKeysStillPlayTheMarkedCard) {
  OpenActive();
  auto menu = [&](bool byKeys) {
    auto* options = window->menuBar()->findChild<QMenu*>("mnuSecenek");
    ASSERT_NE(options, nullptr);
    options->popup(window->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    if (byKeys) {
      QTest::keyClick(options, Qt::Key_Down);
      QTest::keyClick(options, Qt::Key_Escape);
    } else {
      options->hide();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !options->isVisible(); }, 2000));
    // As a desktop does once the popup has gone.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  };
  auto rng = tesva::Seeded(11);
  auto roll = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  int played = 0, shown = 0;
  for (int step = 0; step < 120; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    int kind = roll(10);
    if (kind == 0) {
      menu(roll(2) == 0);
    } else if (kind == 1 && roll(3) == 0) {
      if (game().HandNo != 0) AnswerTheBox({}, static_cast<Reply>(roll(3)));
      Action("mnuYeni")->trigger();
      window->activateWindow();  // as a desktop does once the box has gone
      ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
      Remember();
    } else if (kind <= 3) {
      MouseOver(roll(tesva::kHandSize) + 1);
    } else if (kind == 4) {
      QTest::mouseMove(Table(), QPoint(20, 20));
      Remember();
    } else if (kind <= 6) {
      const Qt::Key moves[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Right};
      Key(moves[roll(4)]);
    } else {
      WaitForOurTurn();
      if (HasFailure()) return;
      std::vector<int> before = Marked();
      ASSERT_LE(before.size(), 1u);
      std::array<std::string, tesva::kHandSize> hand;
      for (int i = 1; i <= tesva::kHandSize; ++i) hand[i - 1] = game().Player1_Hand(i);
      Key(roll(2) ? Qt::Key_Space : Qt::Key_Return);
      std::vector<int> gone;
      for (int i = 1; i <= tesva::kHandSize; ++i) {
        if (game().Player1_Hand(i) != hand[i - 1]) gone.push_back(i);
      }
      if (before.empty()) {
        EXPECT_EQ(gone, std::vector<int>{}) << "an unmarked card was played";
        EXPECT_EQ(Marked().size(), 1u) << "the key showed no mark";
        ++shown;
      } else {
        EXPECT_EQ(gone, before) << "the key played another card than the marked one";
        ++played;
      }
    }
    EXPECT_LE(Marked().size(), 1u) << "two cards marked";
    ExpectShowsTheGame();
    if (HasFailure()) return;
  }
  EXPECT_GT(played, 10);
  EXPECT_GT(shown, 0);
}

}  // namespace

// The window on Qt's offscreen platform: its elements and places, playing
// through the real widgets and the keyboard (a screen reader's interface:
// keyboard_window_test.cpp), cards sliding while events keep coming, the menus, the rules panel and
// a missing "Data" folder.
#include <gtest/gtest.h>

#include "support/option_commands.h"
#include "window/window_fixture.h"

namespace {

using namespace window_testing;

TEST_F(WindowTest, OpensAtItsFixedSizeWithEveryElementAtItsPlace) {
  Open();
  EXPECT_EQ(Card("Player1_Kart", 1)->geometry(), QRect(176, 296, 64, 104)) << "15 twips a pixel";
  EXPECT_EQ(Label("Label1")->geometry(), QRect(0, 436, 553, 21));

  // Every element at its place, hidden or shown; the lists and the rules
  // panel are made when first shown.
  const QStringList later = {"List1", "List2", "Picture1", "Command1"},
                    fitted = {"Player1_Name", "Player2_Name", "Label2", "Label7"};
  std::vector<std::tuple<QString, tesva::Place, bool>> elements;  // name, place, hidden
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    elements.push_back({Nth("Player1_Kart", i), tesva::Player1KartPlace(i), false});
    elements.push_back({Nth("Player2_Kart", i), tesva::Player2KartPlace(i), false});
  }
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    elements.push_back({Nth("Cikanlar", rank), tesva::CikanlarPlace(rank), true});
  }
  for (const tesva::ElementPlace& element : tesva::kElementPlaces) {
    QString name = Q(element.name);
    elements.push_back({name, element.place, name == "Shape1" || later.contains(name)});
  }
  for (const auto& [name, place, hidden] : elements) {
    SCOPED_TRACE(name.toStdString());
    QWidget* widget = window->findChild<QWidget*>(name);
    if (!widget) {
      EXPECT_TRUE(later.contains(name));
      continue;
    }
    EXPECT_EQ(widget->isHidden(), hidden);
    QRect want = ToPixels(place), got = widget->geometry();
    if (!fitted.contains(name)) {
      EXPECT_EQ(got, want);
      continue;
    }
    // Sized to its text: centred on its place; Label7 keeps its right edge.
    EXPECT_EQ(got.top(), want.top());
    EXPECT_GE(got.width(), widget->sizeHint().width());
    if (name == "Label7") {
      EXPECT_EQ(got.right(), want.right());
    } else {
      EXPECT_LE(std::abs(got.center().x() - want.center().x()), 1);
    }
  }

  // Each place with a picture shows it; an empty one shows the cloth.
  for (CardPicture* card : Table()->findChildren<CardPicture*>()) {
    EXPECT_EQ(ClothAt(card), card->PictureName().isEmpty()) << card->objectName().toStdString();
  }
  ExpectShowsTheGame();
}

TEST_F(WindowTest, ClicksAndKeysPlayTheHandAndEachMoveSlidesInTheOrderItWasMade) {
  Open();
  Action("mnuFirst")->trigger();            // the computer answers after 1/100 s
  std::vector<std::vector<QString>> steps;  // the cards of each step, as it began
  QObject::connect(&Motion(), &MotionLayer::showingChanged, [&] {
    if (Motion().Moving()) steps.push_back(Sliding());
  });
  QImage floor = Card("OrtadakiKartlar")->grab().toImage();

  // D7 leaves its place at once and slides to the floor, where the
  // face-down cards wait under it; the hand is disabled at once.
  ClickCard(1);
  EXPECT_EQ(game().Player1_Hand(1), "");
  EXPECT_EQ(Card("Player1_Kart", 1)->PictureName(), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), Q(game().CardBack));
  ASSERT_EQ(Sliding(), std::vector<QString>{"D7"});
  EXPECT_EQ(Motion().Sprites()[0].place, Card("Player1_Kart", 1)->geometry());
  ExpectShowsTheGame();

  // While the computer thinks, a click or a key plays nothing.
  ClickCard(2);
  QTest::keyClick(window.get(), Qt::Key_3);
  EXPECT_EQ(game().Player1_Hand(2), "D8");
  EXPECT_EQ(game().Player1_Hand(3), "D9");

  // The computer's card comes once D7 has landed.
  ASSERT_TRUE(QTest::qWaitFor([&] { return game().Player2_CardsLeft == 3; }, 3000));
  const QString answer = Q(game().OrtadakiKartlar.picture);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Sliding() == std::vector<QString>{answer}; }, 3000));
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), "D7");
  ExpectShowsTheGame();

  // A key during the slide ends it at once and plays its card, also when a
  // child widget gets the key.
  QTest::keyClick(Card("Player2_Kart", 1), Qt::Key_2);
  Remember();
  EXPECT_EQ(game().Player1_Hand(2), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), answer);
  EXPECT_EQ(steps, (std::vector<std::vector<QString>>{{"D7"}, {answer}, {"D8"}}));
  ExpectShowsTheGame();

  // A new card back ends every movement: the table is the game's at once.
  ASSERT_EQ(game().CardBack, tesva::kColouredBack);
  Action("mnuStandart")->trigger();
  EXPECT_FALSE(Motion().Moving());
  ExpectShowsTheGame();

  ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  Settle();
  EXPECT_NE(Card("OrtadakiKartlar")->grab().toImage(), floor);
  // Other keys play nothing.
  QTest::keyClick(window.get(), Qt::Key_5);
  QTest::keyClick(window.get(), Qt::Key_0);
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  QTest::mouseMove(Card("Player1_Kart", 3), Uncovered());
  EXPECT_TRUE(Find("Shape1")->isVisible()) << "the hover frame";
  ExpectShowsTheGame();

  // A new game in the middle of a movement: the old table goes at once,
  // the new floor and hands are dealt from the deck.
  QTest::keyClick(window.get(), Qt::Key_3);
  Remember();
  ASSERT_TRUE(Motion().Moving());
  AnswerTheBox();
  Action("mnuYeni")->trigger();
  Remember();
  EXPECT_EQ(game().HandNo, 1);
  EXPECT_EQ(Sliding().size(), 2u) << "the floor first";
  ExpectShowsTheGame();
  Settle();
  ExpectShowsTheGame();
}

// Events of every kind at random moments, many of them while cards slide:
// at every moment the window shows the game as far as sliding cards allow,
// and exactly the game whenever they stand still.
TEST_F(WindowTest, EventsAtAnyMomentLeaveTheTableShowingTheGame) {
  Open();
  Action("mnuFirst")->trigger();
  auto rng = tesva::Seeded(2024);
  auto roll = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const char* menus[] = {"mnuFirst", "mnuSecond", "mnuRenkli", "mnuStandart",
                         "mnuYesil", "mnuSiyah",  "mnuSesler", "mnuHelp"};
  const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Left, Qt::Key_Right, Qt::Key_Space};
  int whileMoving = 0;
  for (int event = 0; event < 160; ++event) {
    SCOPED_TRACE("event " + std::to_string(event));
    whileMoving += Motion().Moving();
    int kind = roll(20), i = roll(tesva::kHandSize) + 1;
    QWidget* focus = QApplication::focusWidget();
    if (kind < 6) {
      ClickCard(i);
    } else if (kind < 8) {
      QTest::keyClick(window.get(), Qt::Key(Qt::Key_1 + i - 1));
    } else if (kind < 10) {
      QTest::keyClick(focus ? focus : window.get(), keys[roll(4)]);
    } else if (kind < 11) {
      auto* card = QAccessible::queryAccessibleInterface(Card("Player1_Kart", i));
      card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else if (kind < 13) {
      QTest::mouseMove(kind == 11 ? Card("Player1_Kart", i) : Table(), Uncovered());
    } else if (kind < 15) {
      Action(menus[roll(8)])->trigger();
    } else if (kind == 15 && Shown("Picture1")) {
      Find<RulesPanel>("Picture1")->OkButton()->click();
    } else if (kind == 16 && roll(3) == 0) {
      if (game().HandNo != 0) AnswerTheBox();
      Action("mnuYeni")->trigger();
    } else {
      QTest::qWait(roll(150));
    }
    Remember();
    ExpectShowsTheGame();
    if (event % 40 == 39) {
      Settle();
      ExpectShowsTheGame();
    }
    if (HasFailure()) return;
  }
  Settle();
  ExpectShowsTheGame();
  EXPECT_GT(whileMoving, 40) << "few events came while cards slid";
}

TEST_F(WindowTest, EachOptionCommandMarksItsItemAndStoresItsKeyAtOnce) {
  Open();
  tesva::OptionMarks marks;
  for (const auto& command : tesva::kOptionCommands) {
    SCOPED_TRACE(command.item);
    Action(command.item)->trigger();
    marks.Choose(command.item);
    for (const std::string& item : marks.Items()) {
      EXPECT_EQ(Action(item.c_str())->isChecked(), marks.Checked(item)) << item;
    }
    EXPECT_EQ(Stored()[command.key], command.value);
    ExpectShowsTheGame();
  }
}

// F1 opens the rules, F2 starts a new game after its question, Ctrl+Q is the
// quit item's key; each is shown beside its item. The rules panel lies over
// the table, no key plays while it is open, and its OK closes it.
TEST_F(WindowTest, ShortcutKeysRunTheirMenuItemsAndTheRulesPanelCoversTheTable) {
  Open();
  EXPECT_EQ(Action("mnuYeni")->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(Action("mnuHelp")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(Action("mnuCikis")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  QTest::keyClick(window.get(), Qt::Key_F1);
  auto* panel = Find<RulesPanel>("Picture1");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), QRect(136, 60, 261, 321));
  EXPECT_EQ(panel->OkButton()->geometry(), ToPixels(tesva::kCommand1Place));
  QWidget* atCard = Table()->childAt(230, 350);
  EXPECT_TRUE(atCard == panel || panel->isAncestorOf(atCard)) << "the panel lies over the hand";
  for (const tesva::PanelText& text : tesva::kRulesPanelTexts) {
    auto* label = panel->findChild<QLabel*>(Q(text.name));
    ASSERT_NE(label, nullptr) << text.name;
    EXPECT_EQ(label->text(), Q(text.caption)) << text.name;
    EXPECT_TRUE(panel->rect().contains(label->geometry())) << text.name;
  }
  // While it is open a key plays nothing.
  QTest::keyClick(window.get(), Qt::Key_1);
  EXPECT_EQ(game().Player1_Hand(1), "D7");
  ExpectShowsTheGame();

  QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(Card("Player1_Kart", 1)->isEnabled());
  ExpectShowsTheGame();

  const int dealt = game().Player1_CardsLeft;
  QTest::keyClick(window.get(), Qt::Key_1);
  EXPECT_EQ(game().Player1_CardsLeft, dealt - 1);
  Settle();
  AnswerTheBox();
  QTest::keyClick(window.get(), Qt::Key_F2);
  EXPECT_EQ(game().HandNo, 1);
  EXPECT_EQ(game().Player1_CardsLeft, dealt) << "a fresh deal";
  Settle();
  ExpectShowsTheGame();
}

TEST_F(WindowTest, WithoutTheDataFolderThePlacesStayEmptyAndTheGameGoesOn) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  Open(empty.path());
  for (CardPicture* card : Table()->findChildren<CardPicture*>()) {
    EXPECT_TRUE(ClothAt(card)) << card->objectName().toStdString();
  }
  Action("mnuFirst")->trigger();
  for (int index : {1, 2}) {
    ClickCard(index);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  }
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  EXPECT_EQ(game().Player2_CardsLeft, 2);
  ExpectShowsTheGame();
}

}  // namespace

// The window on Qt's offscreen platform: its elements and places, playing
// through the real widgets, the menus, the rules panel, renaming and a
// missing "Data" folder.
#include <gtest/gtest.h>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <set>

#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/card_names.h"
#include "shell/main_window.h"
#include "window/game_window.h"
#include "window/qt_platform.h"
#include "window/rules_panel.h"
#include "window/table_elements.h"

namespace {

using tesva::Place;

// Hand 1 as the tests want it: the base card K2 under K3, K4 and K5, the
// human holding D7 D8 D9 D13 (none of them takes the floor), the computer
// S3 S4 S5 S6; the rest of the deck in order.
std::vector<std::string> KnownDeck() {
  std::vector<std::string> deck = {"K2", "K3",  "K4", "K5", "D7", "D8",
                                   "D9", "D13", "S3", "S4", "S5", "S6"};
  std::set<std::string> used(deck.begin(), deck.end());
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 1; rank <= tesva::kRanks; ++rank) {
      auto code = tesva::CardCode(suit, rank);
      if (!used.count(code)) deck.push_back(code);
    }
  }
  return deck;
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), text.size());
}

// Counts the paint events one widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class WindowTest : public testing::Test {
 protected:
  // Opens the window on in-memory services, pictures from `folder`.
  GameWindow& Open(const QString& folder = QStringLiteral(TESVA_PROGRAM_FOLDER)) {
    random.QueueDeck(KnownDeck());
    host = std::make_unique<tesva::MemoryHost>(folder.toStdString());
    window = std::make_unique<GameWindow>(tesva::Platform{*store, sound, random, dialogs, *host});
    return *window;
  }
  void Show() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  const tesva::Game& game() const { return window->Game(); }
  template <class T>
  T* Find(const QString& name) const {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  CardPicture* Card(const char* element, int index = 0) const {
    return Find<CardPicture>(index ? QStringLiteral("%1(%2)").arg(element).arg(index)
                                   : QString::fromLatin1(element));
  }
  TableLabel* Label(const QString& name) const { return Find<TableLabel>(name); }
  // Lists and the rules panel exist only once they have been shown.
  bool Shown(const QString& name) const {
    auto* widget = window->findChild<QWidget*>(name);
    return widget && !widget->isHidden();
  }
  QAction* Action(const char* name) const { return Find<QAction>(QString::fromLatin1(name)); }
  QWidget* Table() const { return window->centralWidget(); }
  QColor PixelAt(QPoint point) const { return Table()->grab().toImage().pixelColor(point); }

  // The part of a hand card that its right neighbour leaves uncovered.
  static QPoint Uncovered() { return {10, 52}; }

  // Plays the human's card by a click on it, then lets the computer answer.
  void ClickAndWaitForComputer(int index) {
    QTest::mouseClick(Card("Player1_Kart", index), Qt::LeftButton, {}, Uncovered());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  }

  std::unique_ptr<tesva::OptionsStore> store = std::make_unique<tesva::MemoryStore>();
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  tesva::ScriptedDialogs dialogs;
  std::unique_ptr<tesva::MemoryHost> host;
  std::unique_ptr<GameWindow> window;
};

// --- The window and its elements at start-up ---------------------------------

TEST_F(WindowTest, OpensFixedSizeWithItsClientAreaCaptionAndIcon) {
  Open();
  Show();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Tesva 1.5"));
  EXPECT_EQ(Table()->size(), QSize(525, 456));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->size(), window->minimumSize());
  EXPECT_EQ(Table()->y(), window->menuBar()->height());
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->windowIcon().pixmap(32, 32).size(), QSize(32, 32));
}

TEST_F(WindowTest, EveryElementStandsAtItsPlace) {
  Open();
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    EXPECT_EQ(Card("Player1_Kart", i)->geometry(), ToPixels(tesva::Player1KartPlace(i))) << i;
    EXPECT_EQ(Card("Player2_Kart", i)->geometry(), ToPixels(tesva::Player2KartPlace(i))) << i;
  }
  EXPECT_EQ(Card("Player1_Kart", 1)->geometry(), QRect(176, 296, 64, 104));
  EXPECT_EQ(Card("Player2_Kart", 4)->geometry(), QRect(284, 32, 64, 104));
  for (const char* pile :
       {"Player2_Deste", "Player1_Deste", "EnAltKart", "OrtadakiKartlar", "Deste"}) {
    EXPECT_EQ(Card(pile)->geometry(), ToPixels(*tesva::FindPlace(pile))) << pile;
  }
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    EXPECT_EQ(Label(QStringLiteral("Cikanlar(%1)").arg(rank))->geometry(),
              ToPixels(tesva::CikanlarPlace(rank)));
  }
  EXPECT_EQ(Label("Label1")->geometry(), QRect(0, 436, 553, 21));
  EXPECT_EQ(Label("Label8")->geometry(), QRect(444, 268, 65, 13));
  EXPECT_EQ(Find<QWidget>("Shape1")->size(), QSize(65, 105));
  Action("mnuHelp")->trigger();
  EXPECT_EQ(Find<RulesPanel>("Picture1")->geometry(), QRect(136, 60, 261, 321));
  EXPECT_EQ(Find<QPushButton>("Command1")->geometry(), QRect(104, 292, 49, 21));
}

TEST_F(WindowTest, CaptionsSizedToTheirTextStayOnTheirPlace) {
  Open();
  for (const char* centred : {"Player1_Name", "Player2_Name", "Label2"}) {
    QRect place = ToPixels(*tesva::FindPlace(centred));
    QRect label = Label(centred)->geometry();
    EXPECT_LE(std::abs(label.center().x() - place.center().x()), 1) << centred;
    EXPECT_EQ(label.top(), place.top()) << centred;
    EXPECT_GE(label.width(), Label(centred)->sizeHint().width()) << centred;
  }
  // Label7 keeps its right edge, at the right end of the status line.
  QRect place = ToPixels(*tesva::FindPlace("Label7"));
  QRect label = Label("Label7")->geometry();
  EXPECT_EQ(label.x() + label.width(), place.x() + place.width());
  EXPECT_GE(label.width(), Label("Label7")->sizeHint().width());
}

TEST_F(WindowTest, StartsShowingWhatTheGameSays) {
  Open();
  EXPECT_EQ(Label("Player1_Name")->text(), QStringLiteral("Oyuncu (0)"));
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Bilgisayar (0)"));
  EXPECT_EQ(Label("Label1")->text(), Q(game().Label1.caption));
  EXPECT_EQ(Label("Label7")->text(), QStringLiteral("1. El oynanıyor..."));
  EXPECT_EQ(Label("Label8")->text(), QStringLiteral("Deste (40)"));
  EXPECT_EQ(Label("Label2")->text(), QStringLiteral("Taban"));
  EXPECT_FALSE(Shown("Picture1"));
  EXPECT_FALSE(Shown("List1"));
  EXPECT_FALSE(Shown("List2"));
  EXPECT_TRUE(Find<QWidget>("Shape1")->isHidden());
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    EXPECT_TRUE(Label(QStringLiteral("Cikanlar(%1)").arg(rank))->isHidden());
  }
  // The human holds D7 D8 D9 D13 face up, enabled; the computer four backs.
  const char* hand[] = {"D7", "D8", "D9", "D13"};
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    EXPECT_EQ(Card("Player1_Kart", i)->PictureName(), QString::fromLatin1(hand[i - 1]));
    EXPECT_TRUE(Card("Player1_Kart", i)->isEnabled());
    EXPECT_EQ(Card("Player2_Kart", i)->PictureName(), QStringLiteral("Back"));
  }
  EXPECT_EQ(Card("EnAltKart")->PictureName(), QStringLiteral("K2"));
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), QStringLiteral("Back"));
  EXPECT_EQ(Card("Deste")->PictureName(), QStringLiteral("Back"));
  EXPECT_FALSE(Find<QTimer>("Timer1")->isActive());
  EXPECT_FALSE(Find<QTimer>("Timer2")->isActive());
  EXPECT_EQ(Find<QTimer>("Timer1")->interval(), 100);
}

TEST_F(WindowTest, ColoursFontAndPointers) {
  Open();
  Show();
  EXPECT_EQ(PixelAt({140, 150}), QColor(0, 128, 0));
  TableLabel* status = Label("Label1");
  EXPECT_EQ(status->palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_TRUE(status->font().bold());
  EXPECT_DOUBLE_EQ(status->font().pointSizeF(), 8.25);
  EXPECT_EQ(status->frameShape(), QFrame::Box);
  EXPECT_EQ(status->lineWidth(), 1);
  EXPECT_EQ(PixelAt({200, 436}), QColor(0, 0, 128)) << "the border line";
  EXPECT_EQ(Label("Player1_Name")->palette().color(QPalette::WindowText), QColor(Qt::white));
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    EXPECT_EQ(Card("Player1_Kart", i)->cursor().shape(), Qt::PointingHandCursor);
  }
  EXPECT_EQ(Label("Player1_Name")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(Label("Player2_Name")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(Table()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, DrawingOrder) {
  Open();
  Show();
  // Higher cards lie over their left neighbours.
  EXPECT_EQ(Table()->childAt(230, 350), Card("Player1_Kart", 2));
  EXPECT_EQ(Table()->childAt(230, 100), Card("Player2_Kart", 2));
  QRect label7 = Label("Label7")->geometry();
  EXPECT_EQ(Table()->childAt(label7.center()), Label("Label7"));
  // The frame lies over every hand card.
  QObjectList children = Table()->children();
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    EXPECT_LT(children.indexOf(Card("Player1_Kart", i)), children.indexOf(Find<QWidget>("Shape1")));
  }
  // The open rules panel lies over the hand.
  Action("mnuHelp")->trigger();
  QWidget* atCard = Table()->childAt(230, 350);
  auto* panel = Find<RulesPanel>("Picture1");
  EXPECT_TRUE(atCard == panel || panel->isAncestorOf(atCard));
}

TEST_F(WindowTest, MenuBarHasEveryItemWithTheGamesMarks) {
  Open();
  QList<QAction*> bar = window->menuBar()->actions();
  QStringList top;
  for (QAction* action : bar) top << action->text();
  EXPECT_EQ(top, QStringList({"Yeni Oyun", "Seçenekler", "Yardım", "Çıkış"}));

  for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
    if (!entry.item) continue;
    QAction* action = Action(entry.name.data());
    const tesva::MenuItem& item = game().*(entry.item);
    EXPECT_EQ(action->text(), Q(item.caption)) << entry.name;
    EXPECT_EQ(action->isChecked(), item.checked) << entry.name;
    EXPECT_EQ(action->isEnabled(), item.enabled) << entry.name;
  }
  EXPECT_TRUE(Action("mnuRenkli")->isChecked()) << "the first run's card back";

  // "Seçenekler": Seviye, a line, Background, Deste, a line, the delays,
  // El sayısı, Sesler.
  QStringList options;
  for (QAction* action : Find<QMenu>("mnuSecenek")->actions()) {
    options << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  EXPECT_EQ(options, QStringList({"Seviye", "-", "Background", "Deste", "-",
                                  "Bilgisayarın düşünme hızı", "El sayısı     (11)", "Sesler"}));
  QStringList delays;
  for (QAction* action : Find<QMenu>("mnuDusunmeHizi")->actions()) delays << action->text();
  EXPECT_EQ(delays, QStringList({"1/100 Sn", "1/10 Sn", "1/2 Sn", "1 Sn"}));
}

TEST_F(WindowTest, CardPlacesHaveTurkishNamesThatFollowTheGame) {
  Open();
  auto expectNames = [&] {
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      EXPECT_EQ(Card("Player1_Kart", i)->accessibleName(),
                Q(tesva::AccessibleName(game(), "Player1_Kart", i)));
      EXPECT_EQ(Card("Player2_Kart", i)->accessibleName(),
                Q(tesva::AccessibleName(game(), "Player2_Kart", i)));
    }
    for (const char* pile :
         {"Deste", "Player1_Deste", "Player2_Deste", "EnAltKart", "OrtadakiKartlar"}) {
      EXPECT_EQ(Card(pile)->accessibleName(), Q(tesva::AccessibleName(game(), pile, 0))) << pile;
    }
  };
  expectNames();
  EXPECT_EQ(Card("Player1_Kart", 1)->accessibleName(), QStringLiteral("Elindeki kağıt 1: Karo 7"));
  EXPECT_EQ(Card("Deste")->accessibleName(), QStringLiteral("Deste (40)"));
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  EXPECT_EQ(Card("Player1_Kart", 1)->accessibleName(), QStringLiteral("Elindeki kağıt 1: Boş"));
  expectNames();
}

// --- Playing -----------------------------------------------------------------

TEST_F(WindowTest, ClickOnAHandCardPlaysItOnTheFloor) {
  Open();
  Show();
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  EXPECT_EQ(game().Player1_Hand(1), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), QStringLiteral("D7"));
  EXPECT_EQ(Card("Player1_Kart", 1)->PictureName(), QString());
  EXPECT_EQ(Label("Label1")->text(), QStringLiteral(" Bilgisayar (0) oynuyor..."));
  // The computer's turn: the hand waits, the thinking delay runs.
  for (int i = 1; i <= tesva::kHandSize; ++i) EXPECT_FALSE(Card("Player1_Kart", i)->isEnabled());
  EXPECT_TRUE(Find<QTimer>("Timer1")->isActive());
  EXPECT_EQ(sound.played.size(), 1u);

  // A click on a waiting card does nothing.
  QTest::mouseClick(Card("Player1_Kart", 2), Qt::LeftButton, {}, Uncovered());
  EXPECT_EQ(game().Player1_Hand(2), "D8");

  // The computer answers after its delay and gives the turn back.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Card("Player1_Kart", 2)->isEnabled(); }, 3000));
  EXPECT_EQ(game().Player2_CardsLeft, 3);
  EXPECT_EQ(Card("Player2_Kart", 4)->PictureName(), QString());
  EXPECT_FALSE(Card("Player1_Kart", 1)->isEnabled()) << "an empty place stays disabled";
  EXPECT_FALSE(Find<QTimer>("Timer1")->isActive());
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), Q(game().OrtadakiKartlar.picture));
}

TEST_F(WindowTest, KeysOneToFourPlayTheHand) {
  Open();
  Show();
  Action("mnuFirst")->trigger();  // the computer answers within 10 ms
  QTest::keyClick(window.get(), Qt::Key_2);
  EXPECT_EQ(game().Player1_Hand(2), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), QStringLiteral("D8"));
  // While the computer thinks a key plays nothing.
  QTest::keyClick(window.get(), Qt::Key_3);
  EXPECT_EQ(game().Player1_Hand(3), "D9");
  ASSERT_TRUE(QTest::qWaitFor([&] { return game().Player1_Kart(3).enabled; }, 3000));
  // A key reaches the game from a focused child too.
  QTest::keyClick(Card("Player2_Kart", 1), Qt::Key_4);
  EXPECT_EQ(game().Player1_Hand(4), "");
  ASSERT_TRUE(QTest::qWaitFor([&] { return game().Player1_Kart(3).enabled; }, 3000));
  // The played card's key does nothing; other keys neither.
  QTest::keyClick(window.get(), Qt::Key_2);
  QTest::keyClick(window.get(), Qt::Key_5);
  QTest::keyClick(window.get(), Qt::Key_0);
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  QTest::keyClick(window.get(), Qt::Key_1);
  EXPECT_EQ(game().Player1_CardsLeft, 1);
}

TEST_F(WindowTest, AWholeHandIsPlayedThroughTheWindow) {
  Open();
  Show();
  Action("mnuFirst")->trigger();
  // Six deals of four cards each; the hand ends with the deck empty.
  for (int move = 0; move < 24; ++move) {
    int index = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          for (int i = 1; i <= tesva::kHandSize && !index; ++i) {
            if (Card("Player1_Kart", i)->isEnabled()) index = i;
          }
          return index != 0;
        },
        3000))
        << "move " << move;
    QTest::mouseClick(Card("Player1_Kart", index), Qt::LeftButton, {}, Uncovered());
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return game().HandNo == 2; }, 5000));
  EXPECT_EQ(Label("Label7")->text(), QStringLiteral("2. El oynanıyor..."));
  EXPECT_EQ(Label("Player1_Name")->text(), Q(game().Player1_Name.caption));
  EXPECT_EQ(Label("Label8")->text(), Q(game().Label8.caption));
}

TEST_F(WindowTest, HoverFrameFollowsTheMouseOverTheHand) {
  Open();
  Show();
  auto* frame = Find<QWidget>("Shape1");
  QTest::mouseMove(Card("Player1_Kart", 1), Uncovered());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->pos(), QPoint(176, 296));
  // Card 1 now lies over card 2 where they overlap.
  EXPECT_EQ(Table()->childAt(230, 350), Card("Player1_Kart", 1));

  QTest::mouseMove(Card("Player1_Kart", 3), Uncovered());
  EXPECT_EQ(frame->pos(), QPoint(256, 296));
  EXPECT_EQ(game().HoverIndex, 3);

  // Over a caption: not the background, nothing changes.
  QTest::mouseMove(Label("Label8"), {5, 5});
  EXPECT_TRUE(frame->isVisible());

  // Over the background the frame goes and the normal overlap returns.
  QTest::mouseMove(Table(), {140, 150});
  EXPECT_FALSE(frame->isVisible());
  EXPECT_FALSE(game().HoverActive);
  EXPECT_EQ(Table()->childAt(230, 350), Card("Player1_Kart", 2));
  EXPECT_EQ(Table()->childAt(270, 350), Card("Player1_Kart", 3));
}

TEST_F(WindowTest, AMoveRepaintsOnlyWhatChanged) {
  Open();
  Show();
  QTest::qWait(50);
  PaintCounter deck(Card("Deste"));
  PaintCounter computer(Card("Player2_Kart", 1));
  PaintCounter status(Label("Label1"));
  PaintCounter raised(Card("Player1_Kart", 2));
  int filesRead = window->Pictures().FilesRead();

  QTest::mouseMove(Card("Player1_Kart", 2), Uncovered());
  QTest::qWait(50);
  EXPECT_GT(raised.paints, 0);
  EXPECT_EQ(deck.paints, 0);
  EXPECT_EQ(computer.paints, 0);
  EXPECT_EQ(status.paints, 0);
  // Moves within the marked card change nothing and paint nothing.
  raised.paints = 0;
  QTest::mouseMove(Card("Player1_Kart", 2), Uncovered() + QPoint(3, 7));
  QTest::qWait(50);
  EXPECT_EQ(raised.paints, 0);
  EXPECT_EQ(window->Pictures().FilesRead(), filesRead) << "each picture is read once";
}

// --- Options -----------------------------------------------------------------

class OptionsMenuTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    path = folder.filePath(QStringLiteral("options.ini"));
    store = std::make_unique<QtOptionsStore>(path);
  }
  QString Stored(const char* key) const {
    return QSettings(path, QSettings::IniFormat)
        .value(QStringLiteral("Secenekler/") + key)
        .toString();
  }

  QTemporaryDir folder;
  QString path;
};

TEST_F(OptionsMenuTest, EachCommandMarksItsItemAndStoresItsKeyAtOnce) {
  struct Command {
    const char* item;
    const char* key;
    const char* value;
    std::vector<const char*> group;
  };
  const std::vector<const char*> level = {"mnuAmator", "mnuPro"};
  const std::vector<const char*> delay = {"mnuFirst", "mnuSecond", "mnuTherd", "mnuLast"};
  const std::vector<const char*> colour = {"mnuYesil", "mnuLacivert", "mnuSiyah"};
  const std::vector<const char*> back = {"mnuStandart", "mnuRenkli"};
  // Each group starts with its checked item chosen again: the mark stays.
  const std::vector<Command> commands = {
      {"mnuAmator", "Seviye", "1", level},
      {"mnuPro", "Seviye", "2", level},
      {"mnuAmator", "Seviye", "1", level},
      {"mnuSecond", "CpuDusunmeHizi", "100", delay},
      {"mnuFirst", "CpuDusunmeHizi", "10", delay},
      {"mnuTherd", "CpuDusunmeHizi", "500", delay},
      {"mnuLast", "CpuDusunmeHizi", "1000", delay},
      {"mnuYesil", "BackGround", "32768", colour},
      {"mnuLacivert", "BackGround", "8388608", colour},
      {"mnuSiyah", "BackGround", "0", colour},
      {"mnuRenkli", "Deste", "Back", back},
      {"mnuStandart", "Deste", "Back2", back},
  };
  Open();
  EXPECT_EQ(Stored("OyuncuIsim"), QStringLiteral("Oyuncu")) << "the first run's options";
  for (const Command& command : commands) {
    SCOPED_TRACE(command.item);
    Action(command.item)->trigger();
    for (const char* item : command.group) {
      EXPECT_EQ(Action(item)->isChecked(), std::string_view(item) == command.item) << item;
    }
    EXPECT_EQ(Stored(command.key), QString::fromLatin1(command.value));
  }
}

TEST_F(OptionsMenuTest, CommandsTakeEffectAtOnce) {
  Open();
  Show();
  Action("mnuLacivert")->trigger();
  EXPECT_EQ(PixelAt({140, 150}), QColor(0, 0, 128));
  Action("mnuSiyah")->trigger();
  EXPECT_EQ(PixelAt({140, 150}), QColor(0, 0, 0));

  Action("mnuStandart")->trigger();
  EXPECT_EQ(Card("Deste")->PictureName(), QStringLiteral("Back2"));
  EXPECT_EQ(Card("Player2_Kart", 1)->PictureName(), QStringLiteral("Back2"));
  EXPECT_EQ(Card("Player1_Kart", 1)->PictureName(), QStringLiteral("D7"));

  // A new delay reaches a running timer at once.
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  ASSERT_TRUE(Find<QTimer>("Timer1")->isActive());
  Action("mnuLast")->trigger();
  EXPECT_EQ(Find<QTimer>("Timer1")->interval(), 1000);
  EXPECT_TRUE(Find<QTimer>("Timer1")->isActive());
}

TEST_F(OptionsMenuTest, SoundsSwitchOffAndOn) {
  Open();
  Action("mnuSesler")->trigger();
  EXPECT_FALSE(Action("mnuSesler")->isChecked());
  EXPECT_EQ(Stored("Sesler"), QStringLiteral("0"));
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  EXPECT_TRUE(sound.played.empty());
  Action("mnuSesler")->trigger();
  EXPECT_TRUE(Action("mnuSesler")->isChecked());
  EXPECT_EQ(Stored("Sesler"), QStringLiteral("1"));
}

TEST_F(OptionsMenuTest, HandsDialogSetsTheCountAndCaption) {
  Open();
  dialogs.replies.push_back("7");
  Action("mnuElSayisi")->trigger();
  EXPECT_EQ(Action("mnuElSayisi")->text(), QStringLiteral("El sayısı     (7)"));
  EXPECT_EQ(Stored("ElSayisi"), QStringLiteral("7"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0], "Lütfen kaç el oynamak istediğinizi belirleyin...");
}

TEST_F(OptionsMenuTest, StoredOptionsShowFromStartUp) {
  {
    QSettings stored(path, QSettings::IniFormat);
    stored.setValue("Secenekler/Seviye", "2");
    stored.setValue("Secenekler/BackGround", "8388608");
    stored.setValue("Secenekler/Deste", "Back2");
    stored.setValue("Secenekler/OyuncuIsim", "GateKeeper");
    stored.setValue("Secenekler/CpuIsim", "Ahmet");
    stored.setValue("Secenekler/CpuDusunmeHizi", "500");
    stored.setValue("Secenekler/ElSayisi", "5");
    stored.setValue("Secenekler/Sesler", "0");
  }
  Open();
  Show();
  EXPECT_TRUE(Action("mnuPro")->isChecked());
  EXPECT_FALSE(Action("mnuSesler")->isChecked());
  EXPECT_EQ(Action("mnuElSayisi")->text(), QStringLiteral("El sayısı     (5)"));
  EXPECT_EQ(PixelAt({140, 150}), QColor(0, 0, 128));
  EXPECT_EQ(Card("Deste")->PictureName(), QStringLiteral("Back2"));
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Ahmet (0)"));
  EXPECT_EQ(Find<QTimer>("Timer1")->interval(), 500);
  // Watch mode: the computer's hand and the tracker are shown.
  auto* hand = Find<QListWidget>("List2");
  EXPECT_TRUE(hand->isVisible());
  EXPECT_EQ(hand->geometry(), QRect(428, 32, 81, 56));
  ASSERT_EQ(hand->count(), 4);
  EXPECT_EQ(hand->item(0)->text(), QStringLiteral("S3"));
  EXPECT_EQ(hand->item(3)->text(), QStringLiteral("S6"));
  EXPECT_TRUE(Label("Cikanlar(13)")->isVisible());
  EXPECT_EQ(Label("Cikanlar(2)")->text(), QStringLiteral("1")) << "the base card K2";
  EXPECT_FALSE(Shown("List1"));
  // The hand list follows the computer's moves.
  Action("mnuFirst")->trigger();
  ClickAndWaitForComputer(1);
  ASSERT_EQ(hand->count(), 3);
  EXPECT_EQ(hand->item(0)->text(), Q(game().List2.items[0]));
}

// --- Names, watch mode and the rules panel -------------------------------------

TEST_F(WindowTest, ClickOnANameRenamesThePlayer) {
  Open();
  Show();
  dialogs.replies.push_back("Ayşe");
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player1_Name")->text(), QStringLiteral("Ayşe (0)"));
  EXPECT_EQ(store->Read("Tesva (TT)", "Secenekler", "OyuncuIsim"), "Ayşe");
  QRect place = ToPixels(*tesva::FindPlace("Player1_Name"));
  EXPECT_LE(std::abs(Label("Player1_Name")->geometry().center().x() - place.center().x()), 1);

  dialogs.replies.push_back("Deniz");
  QTest::mouseClick(Label("Player2_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Deniz (0)"));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0], "'' Oyuncu '' için isim giriniz...");
  EXPECT_EQ(dialogs.shown[1], "'' Bilgisayar '' için isim giriniz...");

  // A cancelled box keeps the name.
  QTest::mouseClick(Label("Player2_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Deniz (0)"));
}

TEST_F(WindowTest, WatchModeComesAndGoesWithTheName) {
  Open();
  Show();
  dialogs.replies.push_back("GateKeeper");
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  EXPECT_TRUE(Find<QListWidget>("List2")->isVisible());
  EXPECT_EQ(Find<QListWidget>("List2")->count(), 4);
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    EXPECT_TRUE(Label(QStringLiteral("Cikanlar(%1)").arg(rank))->isVisible()) << rank;
  }
  // The tracker counts the card played.
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  EXPECT_EQ(Label("Cikanlar(7)")->text(), QStringLiteral("1"));

  dialogs.replies.push_back("Oyuncu");
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  EXPECT_FALSE(Shown("List2"));
  EXPECT_FALSE(Label("Cikanlar(1)")->isVisible());
}

TEST_F(WindowTest, RulesPanelOpensAndItsOkClosesIt) {
  Open();
  Show();
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Card("Player1_Kart", 2)->isEnabled(); }, 3000));

  Action("mnuHelp")->trigger();
  auto* panel = Find<RulesPanel>("Picture1");
  EXPECT_TRUE(panel->isVisible());
  for (int i = 1; i <= tesva::kHandSize; ++i) EXPECT_FALSE(Card("Player1_Kart", i)->isEnabled());
  for (const char* item : {"mnuYeni", "mnuSecenek", "mnuHelp", "mnuCikis"}) {
    EXPECT_FALSE(Action(item)->isEnabled()) << item;
  }
  EXPECT_FALSE(Label("Player1_Name")->isEnabled());
  // Names and keys do nothing while the panel is open.
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  QTest::keyClick(window.get(), Qt::Key_2);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(game().Player1_Hand(2), "D8");

  QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(Card("Player1_Kart", 1)->isEnabled()) << "card 1 was played";
  for (int i = 2; i <= tesva::kHandSize; ++i) EXPECT_TRUE(Card("Player1_Kart", i)->isEnabled());
  for (const char* item : {"mnuYeni", "mnuSecenek", "mnuHelp", "mnuCikis"}) {
    EXPECT_TRUE(Action(item)->isEnabled()) << item;
  }
  EXPECT_TRUE(Label("Player1_Name")->isEnabled());
}

TEST_F(WindowTest, RulesPanelShowsEveryTextWhole) {
  Open();
  Show();
  Action("mnuHelp")->trigger();
  auto* panel = Find<RulesPanel>("Picture1");
  std::vector<QRect> placed;
  for (const tesva::PanelText& text : tesva::kRulesPanelTexts) {
    auto* label = panel->findChild<QLabel*>(Q(text.name));
    ASSERT_NE(label, nullptr) << text.name;
    EXPECT_EQ(label->text(), Q(text.caption)) << text.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), ToColor(text.colour)) << text.name;
    EXPECT_EQ(label->font().bold(), text.bold) << text.name;
    EXPECT_EQ(label->pos(), ToPixels(text.place).topLeft()) << text.name;
    // Whole: inside the panel, and room for all its lines.
    EXPECT_TRUE(panel->rect().contains(label->geometry())) << text.name;
    if (text.wordWrap) {
      EXPECT_GE(label->height(), label->heightForWidth(label->width())) << text.name;
    } else {
      EXPECT_GE(label->width(), label->sizeHint().width()) << text.name;
    }
    placed.push_back(label->geometry());
  }
  placed.push_back(panel->OkButton()->geometry());
  for (std::size_t a = 0; a < placed.size(); ++a) {
    for (std::size_t b = a + 1; b < placed.size(); ++b) {
      EXPECT_FALSE(placed[a].intersects(placed[b])) << a << " and " << b << " overlap";
    }
  }
  EXPECT_EQ(panel->OkButton()->text(), QStringLiteral("Ok"));
  EXPECT_EQ(panel->OkButton()->palette().color(QPalette::Button), QColor(192, 192, 255));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 0, 128));
}

TEST_F(WindowTest, NewGameAsksAndExitEndsTheProgram) {
  Open();
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  dialogs.answers.push_back(false);
  Action("mnuYeni")->trigger();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(game().Player1_Hand(1), "") << "No keeps the game";

  dialogs.answers.push_back(true);
  Action("mnuYeni")->trigger();
  EXPECT_EQ(Label("Label7")->text(), QStringLiteral("1. El oynanıyor..."));
  EXPECT_EQ(Table()->cursor().shape(), Qt::ArrowCursor);

  Action("mnuCikis")->trigger();
  EXPECT_TRUE(host->exited);
}

// --- Missing pictures ----------------------------------------------------------

TEST_F(WindowTest, CardsAreDrawnFromTheirPictures) {
  Open();
  Show();
  EXPECT_NE(PixelAt({328, 348}), QColor(0, 128, 0));
  EXPECT_NE(PixelAt({476, 212}), QColor(0, 128, 0));
}

TEST_F(WindowTest, WithoutPicturesThePlacesStayEmptyAndTheGameGoesOn) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  Open(empty.path());
  Show();
  Action("mnuFirst")->trigger();
  // The table shows through where the cards would be.
  EXPECT_EQ(PixelAt({328, 348}), QColor(0, 128, 0)) << "the human's card 4";
  EXPECT_EQ(PixelAt({476, 212}), QColor(0, 128, 0)) << "the deck";
  ClickAndWaitForComputer(1);
  EXPECT_EQ(game().Player1_CardsLeft, 3);
  EXPECT_EQ(game().Player2_CardsLeft, 3);
  ClickAndWaitForComputer(2);
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), Q(game().OrtadakiKartlar.picture));

  // A missing file is looked for once, not at every paint.
  QTest::qWait(50);
  int tried = window->Pictures().FilesRead();
  EXPECT_GT(tried, 0);
  Table()->repaint();
  EXPECT_EQ(window->Pictures().FilesRead(), tried);
}

}  // namespace

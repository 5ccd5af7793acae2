// The window on Qt's offscreen platform: its elements and places, playing
// through the real widgets, the menus, the rules panel, renaming through the
// real input box and a missing "Data" folder.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/card_names.h"
#include "shell/main_window.h"
#include "window/game_window.h"
#include "window/qt_platform.h"
#include "window/rules_panel.h"
#include "window/table_elements.h"

namespace {

// Hand 1: the base card K2 under K3, K4 and K5, the human holding D7 D8 D9
// D13 (none of them takes the floor), the computer S3 S4 S5 S6; the rest of
// the deck in order.
std::vector<std::string> KnownDeck() {
  std::vector<std::string> deck = {"K2", "K3",  "K4", "K5", "D7", "D8",
                                   "D9", "D13", "S3", "S4", "S5", "S6"};
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 1; rank <= tesva::kRanks; ++rank) {
      std::string code = tesva::CardCode(suit, rank);
      if (std::count(deck.begin(), deck.begin() + 12, code) == 0) deck.push_back(code);
    }
  }
  return deck;
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), text.size());
}

QString Nth(std::string_view element, int index) {
  return index ? QStringLiteral("%1(%2)").arg(Q(element)).arg(index) : Q(element);
}

// Types `name` into the input box as soon as it opens and presses Return.
void AnswerTheBox(const QString& name) {
  QTimer::singleShot(0, [name] {
    QWidget* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()); }, 3000));
    auto* buttons = box->findChild<QDialogButtonBox*>();
    EXPECT_TRUE(buttons && buttons->button(QDialogButtonBox::Ok)->text() == "Tamam");
    if (auto* line = box->findChild<QLineEdit*>()) line->insert(name);
    QTest::keyClick(box, Qt::Key_Return);
  });
}

class WindowTest : public testing::Test {
 protected:
  // Opens and shows the window on the known deck, pictures from `folder`.
  void Open(const QString& folder = QStringLiteral(TESVA_PROGRAM_FOLDER)) {
    ASSERT_TRUE(options.isValid());
    random.QueueDeck(KnownDeck());
    host = tesva::MemoryHost(folder.toStdString());
    window = std::make_unique<GameWindow>(tesva::Platform{store, sound, random, dialogs, host});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  const tesva::Game& game() const { return window->Game(); }
  template <class T = QWidget>
  T* Find(const QString& name) const {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  CardPicture* Card(std::string_view element, int index = 0) const {
    return Find<CardPicture>(Nth(element, index));
  }
  TableLabel* Label(const QString& name) const { return Find<TableLabel>(name); }
  QAction* Action(const char* name) const { return Find<QAction>(QString::fromLatin1(name)); }
  // Lists and the rules panel exist only once they have been shown.
  bool Shown(const QString& name) const {
    auto* widget = window->findChild<QWidget*>(name);
    return widget && !widget->isHidden();
  }
  QWidget* Table() const { return window->centralWidget(); }
  QColor PixelAt(QPoint point) const { return Table()->grab().toImage().pixelColor(point); }
  // True when the table's cloth shows through a card place.
  bool ClothAt(CardPicture* card) const {
    return PixelAt(card->pos() + Uncovered()) == ToColor(game().BackColor);
  }
  // An option as the file on the disk holds it.
  QString Stored(const QString& key) const {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QRegularExpression line("^" + key + "=(.*)$", QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(file.readAll())).captured(1);
  }
  // The part of a hand card that its right neighbour leaves uncovered.
  static QPoint Uncovered() { return {10, 52}; }

  // Every card, caption, list, menu item and timer as the game has it now.
  void ExpectShowsTheGame() const {
    const tesva::Game& g = game();
    auto picture = [&](std::string_view element, int i, const tesva::Picture& p) {
      CardPicture* card = Card(element, i);
      SCOPED_TRACE(Nth(element, i).toStdString());
      EXPECT_EQ(card->PictureName(), Q(p.picture));
      EXPECT_EQ(card->isEnabled(), p.enabled);
      EXPECT_EQ(card->isHidden(), !p.visible);
      EXPECT_EQ(card->accessibleName(), Q(tesva::AccessibleName(g, element, i)));
    };
    auto label = [&](const QString& name, const tesva::Label& l) {
      EXPECT_EQ(Label(name)->text(), Q(l.caption)) << name.toStdString();
      EXPECT_EQ(Label(name)->isHidden(), !l.visible) << name.toStdString();
      EXPECT_EQ(Label(name)->isEnabled(), l.enabled) << name.toStdString();
    };
    for (int i = 1; i <= tesva::kHandSize; ++i) {
      picture("Player1_Kart", i, g.Player1_Kart(i));
      picture("Player2_Kart", i, g.Player2_Kart(i));
    }
    picture("Deste", 0, g.Deste);
    picture("Player1_Deste", 0, g.Player1_Deste);
    picture("Player2_Deste", 0, g.Player2_Deste);
    picture("OrtadakiKartlar", 0, g.OrtadakiKartlar);
    picture("EnAltKart", 0, g.EnAltKart);
    for (auto [name, l] : {std::pair{"Label1", &g.Label1},
                           {"Label2", &g.Label2},
                           {"Label7", &g.Label7},
                           {"Label8", &g.Label8},
                           {"Player1_Name", &g.Player1_Name},
                           {"Player2_Name", &g.Player2_Name}}) {
      label(name, *l);
    }
    for (int rank = 1; rank <= tesva::kRanks; ++rank)
      label(Nth("Cikanlar", rank), g.Cikanlar(rank));
    for (auto [name, list] : {std::pair{"List1", &g.List1}, {"List2", &g.List2}}) {
      EXPECT_EQ(Shown(name), list->visible) << name;
      auto* widget = window->findChild<QListWidget*>(name);
      if (!widget || !list->visible) continue;
      QStringList want, shown;
      for (const std::string& item : list->items) want << Q(item);
      for (int i = 0; i < widget->count(); ++i) shown << widget->item(i)->text();
      EXPECT_EQ(shown, want) << name;
    }
    auto* frame = Find("Shape1");
    EXPECT_EQ(frame->isVisible(), g.Shape1.visible);
    if (g.Shape1.visible) {
      EXPECT_EQ(frame->pos(), QPoint(ToPixels(g.Shape1.left), ToPixels(g.Shape1.top)));
    }
    EXPECT_EQ(Shown("Picture1"), g.Picture1Visible);
    for (const tesva::MenuEntry& entry : tesva::kMenuBar) {
      if (!entry.item) continue;
      QAction* action = Action(entry.name.data());
      EXPECT_EQ(action->text(), Q((g.*entry.item).caption)) << entry.name;
      EXPECT_EQ(action->isChecked(), (g.*entry.item).checked) << entry.name;
      EXPECT_EQ(action->isEnabled(), (g.*entry.item).enabled) << entry.name;
    }
    for (auto [name, timer] : {std::pair{"Timer1", &g.Timer1}, {"Timer2", &g.Timer2}}) {
      EXPECT_EQ(Find<QTimer>(name)->isActive(), timer->enabled) << name;
      EXPECT_EQ(Find<QTimer>(name)->interval(), timer->interval) << name;
    }
    EXPECT_EQ(window->windowTitle(), Q(g.Caption));
    EXPECT_EQ(PixelAt({20, 20}), ToColor(g.BackColor)) << "the cloth";
  }

  QTemporaryDir options;
  QString path = options.filePath(QStringLiteral("options.ini"));
  QtOptionsStore store{path};
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  QtDialogs dialogs;
  tesva::MemoryHost host;
  std::unique_ptr<GameWindow> window;
};

TEST_F(WindowTest, OpensAtItsFixedSizeWithEveryElementAtItsPlace) {
  Open();
  EXPECT_EQ(Table()->size(), QSize(525, 456));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->size(), window->minimumSize());
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

  EXPECT_FALSE(Find<QTimer>("Timer1")->isActive());
  EXPECT_FALSE(Find<QTimer>("Timer2")->isActive());
  const char* hand[] = {"D7", "D8", "D9", "D13"};
  for (int i = 1; i <= tesva::kHandSize; ++i)
    EXPECT_EQ(Card("Player1_Kart", i)->PictureName(), hand[i - 1]);
  EXPECT_EQ(Card("EnAltKart")->PictureName(), "K2");
  // Each place with a picture shows it; an empty one shows the cloth.
  for (CardPicture* card : Table()->findChildren<CardPicture*>()) {
    EXPECT_EQ(ClothAt(card), card->PictureName().isEmpty()) << card->objectName().toStdString();
  }
  ExpectShowsTheGame();
}

TEST_F(WindowTest, ClicksAndKeysPlayTheHandThroughTheWidgets) {
  Open();
  QImage floor = Card("OrtadakiKartlar")->grab().toImage();
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  EXPECT_EQ(game().Player1_Hand(1), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), "D7");
  EXPECT_NE(Card("OrtadakiKartlar")->grab().toImage(), floor);
  ExpectShowsTheGame();

  // While the computer thinks the hand is disabled: a click or a key plays nothing.
  QTest::mouseClick(Card("Player1_Kart", 2), Qt::LeftButton, {}, Uncovered());
  QTest::keyClick(window.get(), Qt::Key_3);
  EXPECT_EQ(game().Player1_Hand(2), "D8");
  EXPECT_EQ(game().Player1_Hand(3), "D9");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Card("Player1_Kart", 2)->isEnabled(); }, 3000));
  EXPECT_EQ(game().Player2_CardsLeft, 3);
  ExpectShowsTheGame();

  // A key plays its card, also when a child widget gets it; other keys play nothing.
  QTest::keyClick(Card("Player2_Kart", 1), Qt::Key_2);
  EXPECT_EQ(game().Player1_Hand(2), "");
  EXPECT_EQ(Card("OrtadakiKartlar")->PictureName(), "D8");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  QTest::keyClick(window.get(), Qt::Key_5);
  QTest::keyClick(window.get(), Qt::Key_0);
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  QTest::mouseMove(Card("Player1_Kart", 3), Uncovered());
  EXPECT_TRUE(Find("Shape1")->isVisible()) << "the hover frame";
  ExpectShowsTheGame();
}

TEST_F(WindowTest, EachOptionCommandMarksItsItemAndStoresItsKeyAtOnce) {
  const std::vector<const char*> level = {"mnuAmator", "mnuPro", "mnuUsta"},
                                 delay = {"mnuFirst", "mnuSecond", "mnuTherd", "mnuLast"},
                                 colour = {"mnuYesil", "mnuLacivert", "mnuSiyah"},
                                 back = {"mnuStandart", "mnuRenkli"}, sounds = {"mnuSesler"};
  struct Command {
    const char* item;
    const char* key;
    const char* value;
    const std::vector<const char*>& group;
    bool checked = true;
  };
  // Each group starts with its checked item chosen again: the mark stays.
  const Command commands[] = {
      {"mnuAmator", "Seviye", "1", level},
      {"mnuPro", "Seviye", "2", level},
      {"mnuUsta", "Seviye", "3", level},
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
      {"mnuSesler", "Sesler", "0", sounds, false},
      {"mnuSesler", "Sesler", "1", sounds, true},
  };
  Open();
  for (const Command& command : commands) {
    SCOPED_TRACE(command.item);
    Action(command.item)->trigger();
    for (const char* item : command.group) {
      EXPECT_EQ(Action(item)->isChecked(),
                command.checked && item == std::string_view(command.item))
          << item;
    }
    EXPECT_EQ(Stored(command.key), command.value);
    ExpectShowsTheGame();
  }
}

TEST_F(WindowTest, RulesPanelOpensOverTheTableAndItsOkClosesIt) {
  Open();
  Action("mnuHelp")->trigger();
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
}

TEST_F(WindowTest, ANameTypedIntoTheBoxRenamesThePlayer) {
  Open();
  AnswerTheBox(QStringLiteral("Ayşe"));
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player1_Name")->text(), QStringLiteral("Ayşe (0)"));
  EXPECT_EQ(Stored("OyuncuIsim"), QStringLiteral("Ayşe"));
  AnswerTheBox(QStringLiteral("Deniz"));
  QTest::mouseClick(Label("Player2_Name"), Qt::LeftButton);
  EXPECT_EQ(Label("Player2_Name")->text(), QStringLiteral("Deniz (0)"));
  ExpectShowsTheGame();

  // The watch name shows the computer's hand and the tracker; both follow the play.
  AnswerTheBox(QStringLiteral("GateKeeper"));
  QTest::mouseClick(Label("Player1_Name"), Qt::LeftButton);
  ASSERT_TRUE(Shown("List2"));
  EXPECT_EQ(Find("List2")->geometry(), ToPixels(*tesva::FindPlace("List2")));
  EXPECT_TRUE(Label("Cikanlar(13)")->isVisible());
  ExpectShowsTheGame();
  QTest::mouseClick(Card("Player1_Kart", 1), Qt::LeftButton, {}, Uncovered());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  EXPECT_EQ(Find<QListWidget>("List2")->count(), 3);
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
    QTest::mouseClick(Card("Player1_Kart", index), Qt::LeftButton, {}, Uncovered());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !game().Timer1.enabled; }, 3000));
  }
  EXPECT_EQ(game().Player1_CardsLeft, 2);
  EXPECT_EQ(game().Player2_CardsLeft, 2);
  ExpectShowsTheGame();
}

}  // namespace

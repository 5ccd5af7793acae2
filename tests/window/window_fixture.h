// The window test fixture: a window opened on a known deck, the elements
// found by their names, and a check that the table shows the game at every
// moment, as far as sliding cards allow.
#pragma once

#include <gtest/gtest.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <map>
#include <random>
#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/card_names.h"
#include "shell/main_window.h"
#include "support/captured_stderr.h"
#include "support/deck.h"
#include "support/play.h"
#include "support/seeded.h"
#include "window/game_window/game_window.h"
#include "window/platform/qt_platform.h"
#include "window/table/card_picture.h"
#include "window/table/motion_layer.h"
#include "window/table/pile_edges.h"
#include "window/table/rules_panel.h"
#include "window/table/table_label.h"
#include "window/table/table_units.h"

namespace window_testing {

using tesva::Deck;

// Hand 1: the base card K2 under K3, K4 and K5, the human holding D7 D8 D9
// D13 (none of them takes the floor), the computer S3 S4 S5 S6; the rest of
// the deck in order.
inline std::vector<std::string> KnownDeck() {
  return Deck({"K2", "K3", "K4", "K5", "D7", "D8", "D9", "D13", "S3", "S4", "S5", "S6"});
}

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), text.size());
}

// Standard error written while `errors` lived, a line each.
inline QStringList Lines(tesva::CapturedStderr& errors) {
  return QString::fromStdString(errors.Text()).split('\n', Qt::SkipEmptyParts);
}

inline QString Nth(std::string_view element, int index) {
  return index ? QStringLiteral("%1(%2)").arg(Q(element)).arg(index) : Q(element);
}

// How a box is answered: Return (in a question box Yes), Escape (No), or a
// click on its Yes button.
enum class Reply { kReturn, kEscape, kClickYes };

// Types `name` into the input box as soon as it opens and answers it.
inline void AnswerTheBox(const QString& name = {}, Reply reply = Reply::kReturn) {
  QTimer::singleShot(0, [name, reply] {
    QWidget* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = QApplication::activeModalWidget()); }, 3000));
    if (auto* line = box->findChild<QLineEdit*>()) {
      auto* buttons = box->findChild<QDialogButtonBox*>();
      EXPECT_TRUE(buttons && buttons->button(QDialogButtonBox::Ok)->text() == "Tamam");
      line->insert(name);
    }
    if (reply == Reply::kClickYes) {
      auto* question = qobject_cast<QMessageBox*>(box);
      ASSERT_NE(question, nullptr);
      QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);
    } else {
      QTest::keyClick(box, reply == Reply::kReturn ? Qt::Key_Return : Qt::Key_Escape);
    }
  });
}

// Presses the key of the human's first playable card, then waits for the
// computer's answer (or the hand's pause, or the game's end).
inline void PlayFirstPlayableCard(GameWindow& window) {
  const tesva::Game& game = window.Game();
  if (auto playable = tesva::EnabledSlots(game); !playable.empty()) {
    QTest::keyClick(&window, static_cast<Qt::Key>(Qt::Key_0 + playable.front()));
  }
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !game.Timer1.enabled || game.Timer2.enabled || game.HandNo == 0; }, 5000));
}

class WindowTest : public testing::Test {
 protected:
  // Opens and shows the window on `deck` (with none, a deck the seed
  // shuffles), pictures from `folder`; a window open before is closed first.
  void Open(const QString& folder = QStringLiteral(TESVA_PROGRAM_FOLDER),
            const std::vector<std::string>& deck = KnownDeck()) {
    ASSERT_TRUE(options.isValid());
    window.reset();
    if (!deck.empty()) random.QueueDeck(deck);
    host = tesva::MemoryHost(folder.toStdString());
    window = std::make_unique<GameWindow>(tesva::Platform{store, sound, random, dialogs, host});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Every change of the game is remembered until the table stands still:
    // a place may show any of them while cards slide.
    for (const char* timer : {"Timer1", "Timer2"}) {
      QObject::connect(Find<QTimer>(timer), &QTimer::timeout, [this] { Remember(); });
    }
    Remember();
  }
  MotionLayer& Motion() const { return window->Motion(); }
  void Remember() {
    if (!Motion().Moving()) seen.clear(), seenCaptions.clear();
    seen.push_back(PicturesOf(game()));
    seenCaptions.push_back(CaptionsOf(game()));
  }
  // Plays hand card `index` with the mouse; the game's new table is
  // remembered, as every change of the game must be.
  void ClickCard(int index) {
    QTest::mouseClick(Card("Player1_Kart", index), Qt::LeftButton, {}, Uncovered());
    Remember();
  }
  // Waits until no card slides any more.
  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Motion().Moving(); }, 5000));
    Remember();
  }
  std::vector<QString> Sliding() const {
    std::vector<QString> pictures;
    for (const auto& sprite : Motion().Sprites()) pictures.push_back(sprite.picture);
    return pictures;
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
  static QString Label(Caption caption) {
    static const std::map<Caption, QString> names = {
        {Caption::kStatus, "Label1"},          {Caption::kBase, "Label2"},
        {Caption::kHandNumber, "Label7"},      {Caption::kDeck, "Label8"},
        {Caption::kHumanName, "Player1_Name"}, {Caption::kComputerName, "Player2_Name"}};
    return names.at(caption);
  }
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
  // Every key and value of the options file on the disk.
  std::map<QString, QString> Stored() const {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QString, QString> keys;
    QRegularExpression line("^(\\w+)=(.*)$", QRegularExpression::MultilineOption);
    for (auto match = line.globalMatch(QString::fromUtf8(file.readAll())); match.hasNext();) {
      auto found = match.next();
      keys[found.captured(1)] = found.captured(2);
    }
    return keys;
  }
  // The part of a hand card that its right neighbour leaves uncovered.
  static QPoint Uncovered() { return {10, 52}; }

  // Every card, caption, list, menu item and timer as the game has it now.
  // While cards slide, a card place shows what the game had there since
  // the table last stood still, or nothing, and no card face shows twice;
  // everything else, the places' enabled state among it, is the game's.
  void ExpectShowsTheGame() {
    Remember();
    const tesva::Game& g = game();
    bool moving = Motion().Moving();
    std::map<QString, int> faces;
    // Card backs slide several at a time (a deal to the computer): only a
    // face is one of a kind.
    for (const QString& sliding : Sliding()) {
      if (tesva::IsCardCode(sliding.toStdString())) ++faces[sliding];
    }
    for (Spot spot : kAllSpots) {
      auto [element, i] = ElementOf(spot);
      const tesva::Picture& p = PictureAt(g, spot);
      CardPicture* card = Card(element, i);
      SCOPED_TRACE(Nth(element, i).toStdString());
      QString shown = card->PictureName();
      if (!moving) {
        EXPECT_EQ(shown, Q(p.picture));
      } else if (!shown.isEmpty()) {
        bool was = std::any_of(seen.begin(), seen.end(), [&](const TablePictures& table) {
          return Q(At(table, spot)) == shown;
        });
        EXPECT_TRUE(was) << shown.toStdString() << " was never there";
      }
      if (tesva::IsCardCode(shown.toStdString())) ++faces[shown];
      EXPECT_EQ(card->isEnabled(), p.enabled);
      EXPECT_EQ(card->isHidden(), !p.visible);
      // The deck is named after the count its caption shows, and is as
      // thick as that.
      if (spot == Spot::kDeck) {
        EXPECT_EQ(card->accessibleName(), Label("Label8")->Caption());
        QRegularExpression count("\\((\\d+)\\)");
        auto match = count.match(Label("Label8")->Caption());
        int edges = card->ShowsCard() && match.hasMatch()
                        ? PileEdges::EdgesFor(match.captured(1).toInt())
                        : 0;
        for (auto* pile : Table()->findChildren<PileEdges*>()) {
          if (pile->pos() == card->pos()) {
            EXPECT_EQ(pile->isHidden() ? 0 : pile->Edges(), edges);
          }
        }
      } else {
        EXPECT_EQ(card->accessibleName(), Q(tesva::AccessibleName(g, element, i)));
      }
    }
    for (const auto& [face, count] : faces) EXPECT_EQ(count, 1) << face.toStdString() << " twice";
    // A caption shows its whole text, or cut after a word with the whole
    // text in its tooltip; a hidden one holds none.
    auto text = [&](TableLabel* widget) {
      QString shown = widget->text();
      if (shown != widget->Caption()) {
        EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
        EXPECT_EQ(widget->toolTip(), widget->Caption());
      }
      EXPECT_EQ(widget->accessibleName(), widget->Caption());
    };
    // The captions a move changes follow its cards: while they slide, each
    // shows a text the game had; enabled or not as the game says at once.
    for (Caption caption : kAllCaptions) {
      const tesva::Label& l = LabelAt(g, caption);
      TableLabel* widget = Label(Label(caption));
      SCOPED_TRACE(Label(caption).toStdString());
      text(widget);
      EXPECT_EQ(widget->isEnabled(), l.enabled);
      if (!moving) {
        EXPECT_EQ(widget->Caption(), Q(l.caption));
        EXPECT_EQ(widget->isHidden(), !l.visible);
        continue;
      }
      bool was = std::any_of(seenCaptions.begin(), seenCaptions.end(), [&](const auto& captions) {
        return Q(At(captions, caption).caption) == widget->Caption() &&
               At(captions, caption).visible == !widget->isHidden();
      });
      EXPECT_TRUE(was) << widget->Caption().toStdString() << " was never shown";
    }
    for (int rank = 1; rank <= tesva::kRanks; ++rank) {
      const tesva::Label& l = g.Cikanlar(rank);
      TableLabel* widget = Label(Nth("Cikanlar", rank));
      EXPECT_EQ(widget->Caption(), l.visible ? Q(l.caption) : QString()) << rank;
      EXPECT_EQ(widget->isHidden(), !l.visible) << rank;
      EXPECT_EQ(widget->isEnabled(), l.enabled) << rank;
    }
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
  std::vector<TablePictures> seen;
  std::vector<TableCaptions> seenCaptions;
};

}  // namespace window_testing

// The friend windows' tests' fixture: two windows, each with its own
// store, sound and dialogs, that host and join over loopback.
#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include "engine/engine.h"
#include "net/announce.h"
#include "net/friend_table.h"
#include "platform/memory.h"
#include "window/friend/friend_dialogs.h"
#include "window/friend/friend_game.h"
#include "window/game_window/game_window.h"
#include "window/play/friend_play.h"
#include "window/record/record_keeper.h"

namespace friend_test {

using Stage = FriendGame::Stage;

// A UDP port nobody here listens on now.
inline quint16 FreeUdpPort() {
  QUdpSocket probe;
  probe.bind(QHostAddress::LocalHost, 0);
  return probe.localPort();
}

// Scripted dialogs that also let a test look at the window when a box opens.
struct WatchedDialogs : tesva::ScriptedDialogs {
  bool AskYesNo(const std::string& prompt, const std::string& title) override {
    if (asked) asked();
    return ScriptedDialogs::AskYesNo(prompt, title);
  }
  std::function<void()> asked;
};

// What a screen reader hears of a card place of `seat`'s window.
inline std::string HeardOf(const GameWindow& window, const char* place) {
  auto* widget = window.findChild<QWidget*>(place);
  return widget ? widget->accessibleName().toStdString() : std::string("(no such place)");
}

// One friend's machine: its own store, sound, dialogs and window, its
// files in `folder`, the friend game made by `maker` (with none, loaded
// from its library in `folder` as the program does).
struct Seat {
  Seat(const char* name, const char* computer, const char* hands,
       FriendSideMaker maker = &MakeFriendSide, std::string folder = TESVA_PROGRAM_FOLDER)
      : host{std::move(folder)} {
    for (auto [key, value] : {std::pair{tesva::kKeyLevel, "2"},
                              {tesva::kKeyDelay, "10"},
                              {tesva::kKeyHumanName, name},
                              {tesva::kKeyComputerName, computer},
                              {tesva::kKeyHands, hands}}) {
      store.Write(tesva::kStoreApp, tesva::kStoreSection, key, value);
    }
    // Linked with the friend game, the tests make it directly.
    FriendPlay::UseMaker(maker);
    window = std::make_unique<GameWindow>(tesva::Platform{store, sound, random, dialogs, host});
    window->show();
  }
  const tesva::Game& game() const { return window->Game(); }
  FriendGame& friendGame() const { return static_cast<FriendGame&>(*window->Friend().Side()); }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
  QMessageBox* Box(const char* name) const { return window->findChild<QMessageBox*>(name); }
  bool TimersIdle() const {
    return !window->findChild<QTimer*>("Timer1")->isActive() &&
           !window->findChild<QTimer*>("Timer2")->isActive();
  }

  tesva::MemoryStore store;
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  WatchedDialogs dialogs;
  tesva::MemoryHost host;
  std::unique_ptr<GameWindow> window;
};

// What both players may see, from one seat: scores, piles, the floor, the
// number of cards in each hand, the deck's count, the hand's number.
struct PublicTable {
  int ownScore, otherScore, ownCards, otherCards, hand;
  std::string floorTop, floorBase, deck, handCaption;
  bool ownPile, otherPile;
  bool operator==(const PublicTable&) const = default;
};

inline int Shown(const tesva::OneBased<tesva::Picture, tesva::kHandSize>& hand) {
  int count = 0;
  for (const auto& card : hand) count += card.visible && !card.picture.empty() ? 1 : 0;
  return count;
}

inline PublicTable ViewOf(const tesva::Game& g) {
  return {
      g.Player1_Score,  g.Player2_Score,           Shown(g.Player1_Kart),  Shown(g.Player2_Kart),
      g.HandNo,         g.OrtadakiKartlar.picture, g.EnAltKart.picture,    g.Label8.caption,
      g.Label7.caption, g.Player1_Deste.visible,   g.Player2_Deste.visible};
}

// The same table seen from the other seat.
inline PublicTable Turned(PublicTable view) {
  std::swap(view.ownScore, view.otherScore);
  std::swap(view.ownCards, view.otherCards);
  std::swap(view.ownPile, view.otherPile);
  return view;
}

// The other hand and the deck are backs, and no list shows them.
inline void ExpectHiddenCardsAreBacks(const tesva::Game& g, const char* who) {
  for (const auto& card : g.Player2_Kart) {
    if (card.visible && !card.picture.empty()) {
      EXPECT_EQ(card.picture, g.CardBack) << who;
    }
  }
  if (g.Deste.visible) {
    EXPECT_EQ(g.Deste.picture, g.CardBack) << who;
  }
  EXPECT_FALSE(g.List1.visible) << who;
  EXPECT_FALSE(g.List2.visible) << who;
}

inline int PlayableSlot(const tesva::Game& g) {
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    if (g.Player1_Kart(i).enabled && g.Player1_Kart(i).visible) return i;
  }
  return 0;
}

class FriendWindows : public testing::Test {
 protected:
  void SetUp() override {
    udpPort = FreeUdpPort();
    for (Seat* seat : {&host, &guest}) seat->friendGame().SetAnnouncement(udpPort, false);
  }
  // Host listens on a free port, guest connects; both tables are the
  // friend game's once the link is up.
  void Connect() {
    HostDialog* dialog = host.friendGame().Host();
    dialog->show();
    ASSERT_TRUE(dialog->ListenOn(0)) << dialog->Message().toStdString();
    guest.friendGame().Join()->show();
    guest.friendGame().Join()->ConnectTo(QStringLiteral("127.0.0.1"), dialog->ListeningPort());
    ASSERT_TRUE(BothPlay());
  }
  // Waits until both sides play the friend game.
  bool BothPlay() const {
    return QTest::qWaitFor(
        [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000);
  }
  // Whoever may move plays a card, up to `limit` cards; after every move
  // both tables must come to agree, and nobody's hidden cards are ever
  // shown. Returns the cards played.
  int PlayOn(int limit, bool tryHint = false) {
    int moves = 0;
    for (; moves < limit; ++moves) {
      bool ready = QTest::qWaitFor(
          [&] {
            bool over = host.friendGame().stage() == Stage::kEnded &&
                        guest.friendGame().stage() == Stage::kEnded;
            bool someoneMoves = PlayableSlot(host.game()) || PlayableSlot(guest.game());
            return TablesAgree() && (someoneMoves || over);
          },
          15000);
      EXPECT_TRUE(ready) << "move " << moves;
      if (!ready) break;
      for (Seat* seat : {&host, &guest}) {
        ExpectHiddenCardsAreBacks(seat->game(), seat == &host ? "host" : "guest");
        EXPECT_TRUE(seat->TimersIdle());  // the computer never moves
      }
      Seat* mover = PlayableSlot(host.game())    ? &host
                    : PlayableSlot(guest.game()) ? &guest
                                                 : nullptr;
      if (!mover) break;
      if (moves == 0 && tryHint) {
        // No hint against a friend: the key H is refused, as the menu item is.
        QSignalSpy hinted(&mover->window->Keeper(), &RecordKeeper::hintShown);
        QTest::keyClick(mover->window.get(), Qt::Key_H);
        QTest::qWait(300);
        EXPECT_EQ(hinted.count(), 0);
        EXPECT_EQ(mover->window->Keeper().HintSlot(), 0);
      }
      QTest::keyClick(mover->window.get(),
                      static_cast<Qt::Key>(Qt::Key_0 + PlayableSlot(mover->game())));
    }
    return moves;
  }

  // Both tables pause with the lost connection's status and `table` as it
  // stood, then take the game up again at the same step.
  void ExpectPausedThenTakenUp(const PublicTable& table) {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return host.friendGame().stage() == Stage::kLost &&
                 guest.friendGame().stage() == Stage::kLost;
        },
        6000));
    for (Seat* seat : {&host, &guest}) {
      EXPECT_EQ(seat->game().Label1.caption, tesva::net::kConnectionLostStatus);
      EXPECT_EQ(PlayableSlot(seat->game()), 0);
    }
    EXPECT_EQ(ViewOf(host.game()), table);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return host.friendGame().stage() == Stage::kPlaying &&
                 guest.friendGame().stage() == Stage::kPlaying;
        },
        10000));
    EXPECT_EQ(ViewOf(host.game()), table);
  }

  bool TablesAgree() const { return ViewOf(host.game()) == Turned(ViewOf(guest.game())); }

  // Both tables say the game is over, with one's score the other's.
  void ExpectBothEndTheSameGame() {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return host.game().Label1.caption.starts_with(" Oyun bitti.") &&
                 guest.game().Label1.caption.starts_with(" Oyun bitti.");
        },
        15000));
    EXPECT_EQ(host.game().Player1_Score, guest.game().Player2_Score);
    EXPECT_EQ(host.game().Player2_Score, guest.game().Player1_Score);
  }

  Seat host{"Ayşe", "Can", "2"};
  Seat guest{"Deniz", "Ece", "11"};
  quint16 udpPort = 0;
};

// The window's event loop still runs: a call posted now is carried out
// (a loop blocked by hostile input would let the wait run out).
inline bool EventLoopAnswers() {
  bool answered = false;
  QObject context;  // the call is dropped with it if the wait runs out
  QTimer::singleShot(0, &context, [&answered] { answered = true; });
  return QTest::qWaitFor([&] { return answered; }, 5000);
}

}  // namespace friend_test

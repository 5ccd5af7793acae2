// Two windows in one process play each other over loopback TCP, as two
// friends would from two machines: both show the same pairing code, every
// public fact of one table is the other's seen from the other seat, and
// the cards a player may not see are backs on both. A client that sends
// garbage is sent away with a message while the window keeps answering;
// a dropped connection leaves the table as it was; the join dialog finds a
// game announced on this machine. No datagram leaves this machine: the
// announcements go to 127.0.0.1 only.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
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
#include "window/friend_dialogs.h"
#include "window/friend_game.h"
#include "window/game_window.h"
#include "window/record_keeper.h"

namespace {

using Stage = FriendGame::Stage;

// A UDP port nobody here listens on now.
quint16 FreeUdpPort() {
  QUdpSocket probe;
  probe.bind(QHostAddress::LocalHost, 0);
  return probe.localPort();
}

// One friend's machine: its own store, sound, dialogs and window.
struct Seat {
  Seat(const char* name, const char* computer, const char* hands) {
    for (auto [key, value] : {std::pair{tesva::kKeyLevel, "2"},
                              {tesva::kKeyDelay, "10"},
                              {tesva::kKeyHumanName, name},
                              {tesva::kKeyComputerName, computer},
                              {tesva::kKeyHands, hands}}) {
      store.Write(tesva::kStoreApp, tesva::kStoreSection, key, value);
    }
    // Linked with the friend game, the tests make it directly.
    GameWindow::UseFriendSideMaker(&MakeFriendSide);
    window = std::make_unique<GameWindow>(tesva::Platform{store, sound, random, dialogs, host});
    window->show();
  }
  const tesva::Game& game() const { return window->Game(); }
  FriendGame& friendGame() const { return static_cast<FriendGame&>(*window->Friend()); }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
  bool TimersIdle() const {
    return !window->findChild<QTimer*>("Timer1")->isActive() &&
           !window->findChild<QTimer*>("Timer2")->isActive();
  }

  tesva::MemoryStore store;
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  tesva::ScriptedDialogs dialogs;
  tesva::MemoryHost host{TESVA_PROGRAM_FOLDER};
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

int Shown(const tesva::OneBased<tesva::Picture, tesva::kHandSize>& hand) {
  int count = 0;
  for (const auto& card : hand) count += card.visible && !card.picture.empty() ? 1 : 0;
  return count;
}

PublicTable ViewOf(const tesva::Game& g) {
  return {
      g.Player1_Score,  g.Player2_Score,           Shown(g.Player1_Kart),  Shown(g.Player2_Kart),
      g.HandNo,         g.OrtadakiKartlar.picture, g.EnAltKart.picture,    g.Label8.caption,
      g.Label7.caption, g.Player1_Deste.visible,   g.Player2_Deste.visible};
}

// The same table seen from the other seat.
PublicTable Turned(PublicTable view) {
  std::swap(view.ownScore, view.otherScore);
  std::swap(view.ownCards, view.otherCards);
  std::swap(view.ownPile, view.otherPile);
  return view;
}

// The other hand and the deck are backs, and no list shows them.
void ExpectHiddenCardsAreBacks(const tesva::Game& g, const char* who) {
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

int PlayableSlot(const tesva::Game& g) {
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
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000));
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

TEST_F(FriendWindows, AWholeGameOverLoopbackAgreesOnBothTables) {
  const tesva::Game computerGame = host.game();
  Connect();
  // The same six digits on both screens, with the sentence about them.
  QString code = host.friendGame().PairingCode();
  EXPECT_EQ(code.size(), 6);
  EXPECT_EQ(code, guest.friendGame().PairingCode());
  for (Seat* seat : {&host, &guest}) {
    PairingDialog* pairing = seat->friendGame().Pairing();
    ASSERT_TRUE(pairing && pairing->isVisible());
    EXPECT_EQ(pairing->Code(), code);
    EXPECT_TRUE(pairing->findChild<QLabel*>("sentence")->text().contains("karşılaştırın"));
    // What acts on the game against the computer is closed; "Yeni Oyun"
    // offers the friend a new game.
    EXPECT_TRUE(seat->Action("mnuYeni")->isEnabled());
    for (const char* name : {"mnuAmator", "mnuPro", "mnuUsta", "mnuElSayisi", "mnuIpucu",
                             "mnuOyunAc", "mnuOyunaKatil"}) {
      EXPECT_FALSE(seat->Action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(seat->Action("mnuBaglantiyiKes")->isEnabled());
  }

  int moves = PlayOn(200, true);
  EXPECT_EQ(moves, 2 * 48);  // two hands of 24 cards a side: none lost, none played twice
  ExpectBothEndTheSameGame();
  // Each table names its own player at the bottom and the friend on top.
  EXPECT_TRUE(host.game().Player1_Name.caption.starts_with("Ayşe"));
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Deniz"));
  EXPECT_TRUE(guest.game().Player2_Name.caption.starts_with("Ayşe"));
  // What the table tells of the hands names the friend; the player's own
  // store keeps its computer's name.
  EXPECT_EQ(
      host.game().io.store.Read(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyComputerName),
      "Deniz");
  EXPECT_EQ(host.store.Read(tesva::kStoreApp, tesva::kStoreSection, tesva::kKeyComputerName),
            "Can");
  // Both count the game under the friend's heading, one's win the other's
  // loss, and nothing under the computer's.
  for (Seat* seat : {&host, &guest}) {
    const auto& headings = seat->window->Keeper().Record().headings;
    ASSERT_EQ(headings.count("arkadas"), 1u);
    EXPECT_EQ(headings.at("arkadas").finished, 1);
    EXPECT_EQ(headings.count("bilgisayar"), 0u);
  }
  const auto& hostFriend = host.window->Keeper().Record().headings.at("arkadas");
  const auto& guestFriend = guest.window->Keeper().Record().headings.at("arkadas");
  EXPECT_EQ(hostFriend.won, guestFriend.lost);
  EXPECT_EQ(hostFriend.drawn, guestFriend.drawn);
  EXPECT_EQ(hostFriend.points, host.game().Player1_Score);

  // Leaving gives the host a new game against its own computer.
  host.Action("mnuBaglantiyiKes")->trigger();
  EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  EXPECT_EQ(host.game().HandNo, 1);
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
  EXPECT_EQ(host.game().Player1_Score, 0);
  EXPECT_EQ(host.game().CardBack, computerGame.CardBack);
  EXPECT_TRUE(host.Action("mnuIpucu")->isEnabled());
  EXPECT_TRUE(host.Action("mnuOyunAc")->isEnabled());
  EXPECT_FALSE(host.Action("mnuBaglantiyiKes")->isEnabled());
}

TEST_F(FriendWindows, YeniOyunOffersTheFriendANewGameWhichTheFriendMayRefuse) {
  Connect();
  ASSERT_EQ(PlayOn(7), 7);
  const PublicTable midHand = ViewOf(host.game());
  auto offerCame = [&] { return host.window->findChild<QMessageBox*>("FriendOfferCame"); };
  // Refused: the guest is told, and the game goes on as it stood.
  guest.Action("mnuYeni")->trigger();
  ASSERT_NE(guest.window->findChild<QMessageBox*>("FriendOfferSent"), nullptr);
  EXPECT_FALSE(guest.Action("mnuYeni")->isEnabled());  // one offer at a time
  ASSERT_TRUE(QTest::qWaitFor([&] { return offerCame() != nullptr; }, 5000));
  EXPECT_TRUE(offerCame()->text().startsWith(QStringLiteral("Deniz yeni bir oyun öneriyor.")));
  offerCame()->findChild<QPushButton*>("refuse")->click();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return guest.window->findChild<QMessageBox*>("FriendOfferRefused") != nullptr; },
      5000));
  EXPECT_EQ(guest.window->findChild<QMessageBox*>("FriendOfferRefused")->text(),
            QStringLiteral("Ayşe yeni oyunu istemedi; bu oyun sürüyor."));
  ASSERT_TRUE(QTest::qWaitFor([&] { return TablesAgree(); }, 5000));
  EXPECT_EQ(ViewOf(host.game()), midHand);
  // Taken up: both tables start the first hand of a new game, and the game
  // given up counts nowhere.
  guest.Action("mnuYeni")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return offerCame() != nullptr; }, 5000));
  offerCame()->findChild<QPushButton*>("accept")->click();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return host.game().HandNo == 1 && guest.game().HandNo == 1 &&
               host.game().Player1_CardsLeft == 4 && guest.game().Player1_CardsLeft == 4 &&
               TablesAgree();
      },
      5000));
  EXPECT_EQ(guest.window->findChild<QMessageBox*>("FriendOfferSent"), nullptr);
  for (Seat* seat : {&host, &guest}) {
    EXPECT_EQ(seat->game().Player1_Score + seat->game().Player2_Score, 0);
    EXPECT_EQ(seat->friendGame().stage(), Stage::kPlaying);
    EXPECT_EQ(seat->window->Keeper().Record().headings.count("arkadas"), 0u);
  }
  EXPECT_EQ(PlayOn(200), 2 * 48);
  ExpectBothEndTheSameGame();
  for (Seat* seat : {&host, &guest}) {
    EXPECT_EQ(seat->window->Keeper().Record().headings.at("arkadas").finished, 1);
  }
  // The game-end panel's "Yeni Oyun" offers the next one too; the friend
  // gone, it goes back to the computer.
  auto* again = host.window->findChild<QPushButton*>("gameEndNewGame");
  ASSERT_TRUE(again && again->isVisible());
  again->click();
  auto guestAsked = [&] { return guest.window->findChild<QMessageBox*>("FriendOfferCame"); };
  ASSERT_TRUE(QTest::qWaitFor([&] { return guestAsked() != nullptr; }, 5000));
  EXPECT_EQ(guestAsked()->text(), QStringLiteral("Ayşe yeni bir oyun öneriyor."));
  guest.Action("mnuBaglantiyiKes")->trigger();
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return host.window->findChild<QMessageBox*>("FriendOfferSent") == nullptr; }, 5000));
  EXPECT_EQ(host.friendGame().stage(), Stage::kEnded);
  EXPECT_TRUE(host.game().Label1.caption.starts_with(" Oyun bitti."));
  EXPECT_TRUE(host.Action("mnuYeni")->isEnabled());
  host.Action("mnuYeni")->trigger();
  EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
  EXPECT_EQ(host.window->Keeper().Record().headings.at("arkadas").finished, 1);
}

TEST_F(FriendWindows, RefusingThePairingCodeSendsBothBackToTheComputer) {
  Connect();
  guest.friendGame().Pairing()->findChild<QPushButton*>("refuse")->click();
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(guest.game().Player2_Name.caption.starts_with("Ece"));
  // The host hears the guest leave, says so, and plays its computer again.
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kNone; }, 5000));
  EXPECT_EQ(host.friendGame().LastMessage().toStdString(), "Karşı taraf oyundan ayrıldı.");
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
  EXPECT_NE(host.window->findChild<QMessageBox*>("FriendMessage"), nullptr);
}

TEST_F(FriendWindows, AWindowClosedMidGameSaysGoodbye) {
  Connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return PlayableSlot(host.game()) != 0; }, 10000));
  guest.window.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kNone; }, 5000));
  EXPECT_EQ(host.friendGame().LastMessage().toStdString(), "Karşı taraf oyundan ayrıldı.");
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
}

TEST_F(FriendWindows, TheHostListensOnIpv6Too) {
  HostDialog* dialog = host.friendGame().Host();
  ASSERT_TRUE(dialog->ListenOn(0));
  QTcpSocket probe;
  if (!probe.bind(QHostAddress::LocalHostIPv6, 0)) GTEST_SKIP() << "no IPv6 loopback here";
  probe.close();
  guest.friendGame().Join()->ConnectTo(QStringLiteral("::1"), dialog->ListeningPort());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000));
  EXPECT_EQ(host.friendGame().PairingCode(), guest.friendGame().PairingCode());
}

TEST_F(FriendWindows, ACutConnectionIsTakenUpAtTheSameStepAndTheGamePlaysOn) {
  Connect();
  int before = PlayOn(11);
  ASSERT_EQ(before, 11);  // mid-hand, mid-round
  PublicTable table = ViewOf(host.game());
  // Both ends of the connection are cut, as by a network that goes away.
  for (Seat* seat : {&host, &guest}) {
    for (QTcpSocket* socket : seat->friendGame().findChildren<QTcpSocket*>()) socket->abort();
  }
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return host.friendGame().stage() == Stage::kLost &&
               guest.friendGame().stage() == Stage::kLost;
      },
      5000));
  for (Seat* seat : {&host, &guest}) {
    EXPECT_EQ(seat->game().Label1.caption, tesva::net::kConnectionLostStatus);
    EXPECT_EQ(PlayableSlot(seat->game()), 0);
  }
  EXPECT_EQ(ViewOf(host.game()), table);
  // The guest calls again and the game goes on where it stood.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return host.friendGame().stage() == Stage::kPlaying &&
               guest.friendGame().stage() == Stage::kPlaying;
      },
      10000));
  EXPECT_EQ(ViewOf(host.game()), table);
  EXPECT_EQ(before + PlayOn(200), 2 * 48);
  ExpectBothEndTheSameGame();
}

TEST_F(FriendWindows, AFriendWhoNeverComesBackIsGivenUpAfterTheLimit) {
  Connect();
  ASSERT_EQ(PlayOn(5), 5);
  host.friendGame().SetRejoinLimit(800);
  for (Seat* seat : {&host, &guest}) {
    for (QTcpSocket* socket : seat->friendGame().findChildren<QTcpSocket*>()) socket->abort();
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kLost; }, 5000));
  guest.window.reset();  // gone for good, before it could call again
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kNone; }, 5000));
  EXPECT_EQ(host.friendGame().LastMessage().toStdString(),
            "İki dakika içinde yeniden bağlanılamadı; oyun bırakıldı.");
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
  EXPECT_EQ(host.game().HandNo, 1);
}

TEST_F(FriendWindows, ADroppedConnectionLeavesTheTableAndSaysSo) {
  Connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return PlayableSlot(host.game()) != 0; }, 10000));
  PublicTable before = ViewOf(host.game());
  // The guest's machine vanishes: its socket is cut without a goodbye.
  auto sockets = guest.friendGame().findChildren<QTcpSocket*>();
  ASSERT_EQ(sockets.size(), 1);
  sockets[0]->abort();
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kLost; }, 5000));
  EXPECT_EQ(host.game().Label1.caption, tesva::net::kConnectionLostStatus);
  EXPECT_EQ(ViewOf(host.game()), before);
  EXPECT_EQ(PlayableSlot(host.game()), 0);
  EXPECT_TRUE(host.TimersIdle());
  host.Action("mnuBaglantiyiKes")->trigger();
  EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
}

// Measures how late a 10 ms timer ever fires while it lives.
class Heartbeat {
 public:
  Heartbeat() {
    clock_.start();
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { worst_ = std::max(worst_, clock_.restart()); });
    timer_.start();
  }
  qint64 Worst() const { return worst_; }

 private:
  QElapsedTimer clock_;
  QTimer timer_;
  qint64 worst_ = 0;
};

TEST_F(FriendWindows, AClientSendingGarbageIsSentAwayAndTheWindowKeepsAnswering) {
  HostDialog* dialog = host.friendGame().Host();
  dialog->show();
  ASSERT_TRUE(dialog->ListenOn(0));
  const tesva::Game before = host.game();
  Heartbeat heartbeat;
  for (QByteArray garbage : {QByteArray("GET / HTTP/1.1\r\nHost: x\r\n\r\n"),
                             QByteArray(200000, '\xff'), QByteArray("\x00\x00\x00\x00\x01", 5),
                             QByteArray("\x00\x00\x10\x00\x01", 5) + QByteArray(100, 'a')}) {
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, dialog->ListeningPort());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, 5000));
    client.write(garbage);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client.state() == QAbstractSocket::UnconnectedState; }, 5000))
        << garbage.left(8).toHex().toStdString();
    // The host says what happened and waits for a friend again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Listening(); }, 2000));
    EXPECT_TRUE(dialog->Message().contains(QStringLiteral("Yeniden bekleniyor")))
        << dialog->Message().toStdString();
    EXPECT_TRUE(dialog->Message().startsWith(QStringLiteral("Karşı taraf")))
        << dialog->Message().toStdString();
    EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  }
  EXPECT_TRUE(host.game() == before);  // the game against the computer untouched
  EXPECT_LT(heartbeat.Worst(), 100);
}

TEST_F(FriendWindows, AHostSendingGarbageIsLeftWithAMessageForTheGuest) {
  QTcpServer fake;
  ASSERT_TRUE(fake.listen(QHostAddress::LocalHost, 0));
  QObject::connect(&fake, &QTcpServer::newConnection, [&] {
    fake.nextPendingConnection()->write(QByteArray("SSH-2.0-OpenSSH_9.2\r\n"));
  });
  const tesva::Game before = guest.game();
  JoinDialog* join = guest.friendGame().Join();
  join->show();
  join->ConnectTo(QStringLiteral("127.0.0.1"), fake.serverPort());
  ASSERT_TRUE(QTest::qWaitFor([&] { return join->Message().startsWith("Karşı taraf"); }, 5000))
      << join->Message().toStdString();
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(guest.game() == before);
  EXPECT_TRUE(guest.Action("mnuOyunaKatil")->isEnabled());
}

TEST_F(FriendWindows, TheJoinDialogListsAGameAnnouncedOnThisMachine) {
  JoinDialog* join = guest.friendGame().Join();
  join->show();
  // Datagrams that are no announcement are not listed.
  QUdpSocket stranger;
  tesva::net::Bytes portZero = tesva::net::MakeAnnouncement({1, "Kötü"});
  portZero[6] = portZero[7] = 0;
  for (const QByteArray& junk : {QByteArray("hello"), QByteArray(2000, 'T'),
                                 QByteArray(reinterpret_cast<const char*>(portZero.data()),
                                            static_cast<qsizetype>(portZero.size()))}) {
    stranger.writeDatagram(junk, QHostAddress::LocalHost, udpPort);
  }
  HostDialog* dialog = host.friendGame().Host();
  dialog->show();
  ASSERT_TRUE(dialog->ListenOn(0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return join->Found()->count() > 0; }, 5000));
  QTest::qWait(1200);  // a second announcement replaces the first
  ASSERT_EQ(join->Found()->count(), 1);
  QListWidgetItem* item = join->Found()->item(0);
  EXPECT_EQ(item->text(), QStringLiteral("Ayşe — 127.0.0.1:%1").arg(dialog->ListeningPort()));
  // Choosing it fills the address, and connecting to it starts the game.
  emit join->Found()->itemClicked(item);
  EXPECT_EQ(join->findChild<QLineEdit*>("host")->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(join->findChild<QLineEdit*>("port")->text(), QString::number(dialog->ListeningPort()));
  join->findChild<QPushButton*>("connect")->click();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000));
}

TEST_F(FriendWindows, APortInUseIsSaidAndAnotherCanBeChosen) {
  HostDialog* first = host.friendGame().Host();
  ASSERT_TRUE(first->ListenOn(0));
  HostDialog* second = guest.friendGame().Host();
  EXPECT_FALSE(second->ListenOn(first->ListeningPort()));
  EXPECT_EQ(
      second->Message(),
      QStringLiteral("Port %1 kullanımda; başka bir port seçin.").arg(first->ListeningPort()));
  auto* field = second->findChild<QLineEdit*>("port");
  field->setText(QStringLiteral("70000"));
  second->findChild<QPushButton*>("listen")->click();
  EXPECT_EQ(second->Message(), QStringLiteral("Port 1 ile 65535 arasında bir sayı olmalı."));
  EXPECT_TRUE(second->ListenOn(0));
  // "İptal" stops listening.
  second->findChild<QPushButton*>("cancel")->click();
  EXPECT_FALSE(second->Listening());
}

// A network between the two that forwards both ways, takes every new call
// through to the host, and can go silent: what the sides send is then lost,
// and neither hears the other close.
class Relay {
 public:
  explicit Relay(quint16 target) : target_(target) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* in = server_.nextPendingConnection()) Join(in);
    });
  }
  quint16 Port() const { return server_.serverPort(); }
  // The connections made so far go silent; later ones are carried.
  void GoSilent() {
    for (auto& pair : pairs_) pair->silent = true;
  }

 private:
  struct Pair {
    QTcpSocket* in = nullptr;
    QTcpSocket out;
    bool silent = false;
  };
  void Join(QTcpSocket* in) {
    auto pair = std::make_unique<Pair>();
    Pair* p = pair.get();
    p->in = in;
    auto carry = [p](QTcpSocket* from, QTcpSocket* to) {
      QByteArray bytes = from->readAll();
      if (!p->silent && to->state() == QAbstractSocket::ConnectedState) to->write(bytes);
    };
    QObject::connect(in, &QTcpSocket::readyRead, [p, carry] {
      if (p->out.state() == QAbstractSocket::ConnectedState) carry(p->in, &p->out);
    });
    QObject::connect(&p->out, &QTcpSocket::connected, [p, carry] { carry(p->in, &p->out); });
    QObject::connect(&p->out, &QTcpSocket::readyRead, [p, carry] { carry(&p->out, p->in); });
    QObject::connect(in, &QTcpSocket::disconnected, [p] {
      if (!p->silent) p->out.disconnectFromHost();
    });
    QObject::connect(&p->out, &QTcpSocket::disconnected, [p] {
      if (!p->silent) p->in->disconnectFromHost();
    });
    p->out.connectToHost(QHostAddress::LocalHost, target_);
    pairs_.push_back(std::move(pair));
  }

  QTcpServer server_;
  quint16 target_;
  std::vector<std::unique_ptr<Pair>> pairs_;
};

TEST_F(FriendWindows, ASilentNetworkPausesTheGameUntilTheGuestGetsThrough) {
  for (Seat* seat : {&host, &guest}) seat->friendGame().SetSilenceLimit(1500);
  HostDialog* dialog = host.friendGame().Host();
  dialog->show();
  ASSERT_TRUE(dialog->ListenOn(0));
  Relay relay(dialog->ListeningPort());
  guest.friendGame().Join()->show();
  guest.friendGame().Join()->ConnectTo(QStringLiteral("127.0.0.1"), relay.Port());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000));
  // An idle game is not taken for a silent one: heartbeats keep it alive.
  QTest::qWait(2500);
  EXPECT_EQ(host.friendGame().stage(), Stage::kPlaying);
  ASSERT_EQ(PlayOn(9), 9);
  const PublicTable table = ViewOf(host.game());
  relay.GoSilent();
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
  // The guest's next call gets through and the game goes on where it stood.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return host.friendGame().stage() == Stage::kPlaying &&
               guest.friendGame().stage() == Stage::kPlaying;
      },
      10000));
  EXPECT_EQ(ViewOf(host.game()), table);
  EXPECT_EQ(9 + PlayOn(200), 2 * 48);
  ExpectBothEndTheSameGame();
}

TEST_F(FriendWindows, AHostThatNeverAnswersIsGivenUpWithinTheConnectLimit) {
  QTcpServer mute;  // takes the call and says nothing
  ASSERT_TRUE(mute.listen(QHostAddress::LocalHost, 0));
  JoinDialog* join = guest.friendGame().Join();
  join->show();
  join->SetTimeout(700);
  QElapsedTimer clock;
  clock.start();
  join->ConnectTo(QStringLiteral("127.0.0.1"), mute.serverPort());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return join->Message() == QStringLiteral("Karşı taraf 10 saniye içinde yanıt vermedi.");
      },
      5000))
      << join->Message().toStdString();
  EXPECT_GE(clock.elapsed(), 600);
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(guest.Action("mnuOyunaKatil")->isEnabled());
}

TEST_F(FriendWindows, ACallNobodyPicksUpTimesOut) {
  // A listener whose queue of one is full: the kernel drops every further
  // call unanswered, as a host behind a closed router does.
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  const quint16 port = ntohs(address.sin_port);
  QTcpSocket filler;
  filler.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(filler.waitForConnected(2000));
  JoinDialog* join = guest.friendGame().Join();
  join->show();
  join->SetTimeout(700);
  join->ConnectTo(QStringLiteral("127.0.0.1"), port);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return join->Message() != QStringLiteral("127.0.0.1:%1 adresine bağlanılıyor…").arg(port);
      },
      5000));
  EXPECT_EQ(join->Message(), QStringLiteral("Bağlanılamadı: 10 saniye içinde yanıt gelmedi."));
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(join->findChild<QPushButton*>("connect")->isEnabled());
  ::close(listener);
}

TEST_F(FriendWindows, AClientDrippingBytesIsSentAwayAndTheHostIsFreeAgain) {
  host.friendGame().SetHandshakeLimit(800);
  HostDialog* dialog = host.friendGame().Host();
  dialog->show();
  ASSERT_TRUE(dialog->ListenOn(0));
  Heartbeat heartbeat;
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, dialog->ListeningPort());
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, 5000));
  // A frame's header that promises a whole hello, one byte at a time.
  const QByteArray header("\x00\x00\x00\x40\x01", 5);
  QTimer drip;
  int sent = 0;
  QObject::connect(&drip, &QTimer::timeout, [&] {
    if (client.state() == QAbstractSocket::ConnectedState) client.write(header.mid(sent++ % 5, 1));
  });
  drip.start(30);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return client.state() == QAbstractSocket::UnconnectedState; }, 5000));
  EXPECT_GT(sent, 10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Listening(); }, 2000));
  EXPECT_EQ(dialog->Message(), QStringLiteral("Karşı taraf 10 saniye içinde yanıt vermedi. "
                                              "Yeniden bekleniyor…"));
  EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  EXPECT_LT(heartbeat.Worst(), 100);
  // The host's one place is free: a friend gets in.
  guest.friendGame().Join()->ConnectTo(QStringLiteral("127.0.0.1"), dialog->ListeningPort());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return host.friendGame().Running() && guest.friendGame().Running(); }, 10000));
}

// The program loads the friend game from the library beside it at the
// first use of the menu, not at start-up.
TEST(FriendLibrary, TheMenuLoadsTheFriendGameFromItsLibraryAtItsFirstUse) {
  GameWindow::UseFriendSideMaker(nullptr);
  tesva::MemoryStore store;
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  tesva::ScriptedDialogs dialogs;
  tesva::MemoryHost host{TESVA_PROGRAM_FOLDER};
  GameWindow window(tesva::Platform{store, sound, random, dialogs, host});
  auto* join = window.findChild<QAction*>("mnuOyunaKatil");
  ASSERT_NE(join, nullptr);
  EXPECT_FALSE(window.FriendRunning());
  join->trigger();
  FriendSide* side = window.Friend();
  ASSERT_NE(side, nullptr) << "tesva-friend was not loaded from " TESVA_PROGRAM_FOLDER;
  EXPECT_FALSE(side->Running());
  EXPECT_FALSE(window.findChild<QAction*>("mnuBaglantiyiKes")->isEnabled());
  EXPECT_TRUE(window.findChild<QDialog*>("JoinDialog") != nullptr) << "the join dialog opened";
  side->Leave();
}

// Without the library the menu says so, and the game goes on.
TEST(FriendLibrary, WithoutItsLibraryTheMenuSaysSoAndTheGameGoesOn) {
  GameWindow::UseFriendSideMaker(nullptr);
  QTemporaryDir empty;
  tesva::MemoryStore store;
  tesva::RecordingSound sound;
  tesva::ScriptedRandom random{7};
  tesva::ScriptedDialogs dialogs;
  tesva::MemoryHost host{empty.path().toStdString()};
  GameWindow window(tesva::Platform{store, sound, random, dialogs, host});
  window.findChild<QAction*>("mnuOyunAc")->trigger();
  EXPECT_EQ(window.Friend(), nullptr);
  auto* box = window.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("tesva-friend"));
  EXPECT_EQ(window.Game().HandNo, 1);
}

}  // namespace

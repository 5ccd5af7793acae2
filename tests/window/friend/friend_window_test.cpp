// Two windows in one process play each other over loopback TCP, as two
// friends would from two machines: both show the same pairing code, every
// public fact of one table is the other's seen from the other seat, and
// the cards a player may not see are backs on both. A dropped connection
// leaves the table as it was; the join dialog finds a game announced on
// this machine; "Yeni Oyun" offers the friend a new game. No datagram
// leaves this machine: the announcements go to 127.0.0.1 only.
#include "window/friend/friend_fixture.h"

namespace {

using namespace friend_test;

// The guest finds the host's game announced on this machine and joins it.
TEST_F(FriendWindows, AWholeGameOverLoopbackAgreesOnBothTables) {
  const tesva::Game computerGame = host.game();
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
  ASSERT_TRUE(BothPlay());
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

  // A screen reader names the friend's hand and pile for the friend.
  EXPECT_EQ(HeardOf(*host.window, "Player2_Kart(1)"), "Deniz adlı oyuncunun kağıdı 1: Boş");
  EXPECT_EQ(HeardOf(*guest.window, "Player2_Kart(4)"), "Ayşe adlı oyuncunun kağıdı 4: Boş");
  EXPECT_TRUE(
      HeardOf(*host.window, "Player2_Deste").starts_with("Deniz adlı oyuncunun aldığı kağıtlar"))
      << HeardOf(*host.window, "Player2_Deste");

  // Leaving gives the host a new game against its own computer. The
  // computer game set aside is still running, and "Yeni Oyun" asks whether
  // to give it up over that game's table, not over the friend's.
  ASSERT_NE(computerGame.HandNo, 0);
  std::string namedAtQuestion;
  host.dialogs.asked = [&] {
    namedAtQuestion = host.window->findChild<QLabel*>("Player2_Name")->text().toStdString();
  };
  const std::size_t questions = host.dialogs.shown.size();
  host.Action("mnuBaglantiyiKes")->trigger();
  ASSERT_EQ(host.dialogs.shown.size(), questions + 1);
  EXPECT_TRUE(host.dialogs.shown.back().starts_with("Bu oyunu iptal edip"));
  EXPECT_TRUE(namedAtQuestion.starts_with("Can")) << namedAtQuestion;
  EXPECT_EQ(HeardOf(*host.window, "Player2_Kart(1)"), "Bilgisayarın kağıdı 1");
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
  // Refused: the guest is told, and the game goes on as it stood.
  guest.Action("mnuYeni")->trigger();
  ASSERT_NE(guest.Box("FriendOfferSent"), nullptr);
  EXPECT_FALSE(guest.Action("mnuYeni")->isEnabled());  // one offer at a time
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.Box("FriendOfferCame") != nullptr; }, 5000));
  EXPECT_TRUE(host.Box("FriendOfferCame")
                  ->text()
                  .startsWith(QStringLiteral("Deniz yeni bir oyun öneriyor.")));
  host.Box("FriendOfferCame")->findChild<QPushButton*>("refuse")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return guest.Box("FriendOfferRefused") != nullptr; }, 5000));
  EXPECT_EQ(guest.Box("FriendOfferRefused")->text(),
            QStringLiteral("Ayşe yeni oyunu istemedi; bu oyun sürüyor."));
  ASSERT_TRUE(QTest::qWaitFor([&] { return TablesAgree(); }, 5000));
  EXPECT_EQ(ViewOf(host.game()), midHand);
  // Taken up: both tables start the first hand of a new game, and the game
  // given up counts nowhere.
  guest.Action("mnuYeni")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.Box("FriendOfferCame") != nullptr; }, 5000));
  host.Box("FriendOfferCame")->findChild<QPushButton*>("accept")->click();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return host.game().HandNo == 1 && guest.game().HandNo == 1 &&
               host.game().Player1_CardsLeft == 4 && guest.game().Player1_CardsLeft == 4 &&
               TablesAgree();
      },
      5000));
  EXPECT_EQ(guest.Box("FriendOfferSent"), nullptr);
  for (Seat* seat : {&host, &guest}) {
    EXPECT_EQ(seat->game().Player1_Score + seat->game().Player2_Score, 0);
    EXPECT_EQ(seat->friendGame().stage(), Stage::kPlaying);
    const auto& friendHeading = seat->window->Keeper().Record().headings.at("arkadas");
    EXPECT_EQ(friendHeading.givenUp, 1);
    EXPECT_EQ(friendHeading.finished, 0);
  }
  EXPECT_EQ(PlayOn(200), 2 * 48);
  ExpectBothEndTheSameGame();
  for (Seat* seat : {&host, &guest}) {
    EXPECT_EQ(seat->window->Keeper().Record().headings.at("arkadas").finished, 1);
    EXPECT_EQ(seat->window->Keeper().Record().headings.at("arkadas").givenUp, 1);
  }
  // The game-end panel's "Yeni Oyun" offers the next one too; the friend
  // gone, it goes back to the computer.
  auto* again = host.window->findChild<QPushButton*>("gameEndNewGame");
  ASSERT_TRUE(again && again->isVisible());
  again->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return guest.Box("FriendOfferCame") != nullptr; }, 5000));
  EXPECT_EQ(guest.Box("FriendOfferCame")->text(), QStringLiteral("Ayşe yeni bir oyun öneriyor."));
  guest.Action("mnuBaglantiyiKes")->trigger();
  EXPECT_EQ(guest.friendGame().stage(), Stage::kNone);
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.Box("FriendOfferSent") == nullptr; }, 5000));
  EXPECT_EQ(host.friendGame().stage(), Stage::kEnded);
  ASSERT_NE(host.Box("FriendMessage"), nullptr);
  EXPECT_EQ(host.Box("FriendMessage")->text(), QStringLiteral("Karşı taraf oyundan ayrıldı."));
  EXPECT_TRUE(host.game().Label1.caption.starts_with(" Oyun bitti."));
  EXPECT_TRUE(host.Action("mnuYeni")->isEnabled());
  host.Action("mnuYeni")->trigger();
  EXPECT_EQ(host.friendGame().stage(), Stage::kNone);
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
  // A finished game left is not given up too.
  EXPECT_EQ(host.window->Keeper().Record().headings.at("arkadas").finished, 1);
  EXPECT_EQ(host.window->Keeper().Record().headings.at("arkadas").givenUp, 1);
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
  EXPECT_NE(host.Box("FriendMessage"), nullptr);
}

TEST_F(FriendWindows, AWindowClosedMidGameSaysGoodbye) {
  Connect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return PlayableSlot(host.game()) != 0; }, 10000));
  guest.window.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return host.friendGame().stage() == Stage::kNone; }, 5000));
  EXPECT_EQ(host.friendGame().LastMessage().toStdString(), "Karşı taraf oyundan ayrıldı.");
  EXPECT_TRUE(host.game().Player2_Name.caption.starts_with("Can"));
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
  // Left mid-game, it counts as given up under the friend's heading.
  const auto& record = host.window->Keeper().Record();
  EXPECT_EQ(record.headings.at("arkadas").givenUp, 1);
  EXPECT_EQ(record.headings.at("arkadas").finished, 0);
  EXPECT_EQ(record.headings.count("bilgisayar"), 0u);
}

// A port in use is said and another can be chosen; the host listens on
// IPv6 too.
TEST_F(FriendWindows, APortInUseIsSaidAnotherCanBeChosenAndIpv6IsHeardToo) {
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

  QTcpSocket probe;
  if (!probe.bind(QHostAddress::LocalHostIPv6, 0)) GTEST_SKIP() << "no IPv6 loopback here";
  probe.close();
  guest.friendGame().Join()->ConnectTo(QStringLiteral("::1"), first->ListeningPort());
  ASSERT_TRUE(BothPlay());
  EXPECT_EQ(host.friendGame().PairingCode(), guest.friendGame().PairingCode());
}

// The program loads the friend game from the library beside it at the
// first use of the menu, not at start-up.
TEST(FriendLibrary, TheMenuLoadsTheFriendGameFromItsLibraryAtItsFirstUse) {
  Seat seat("Ayşe", "Can", "2", nullptr);
  auto* join = seat.Action("mnuOyunaKatil");
  ASSERT_NE(join, nullptr);
  EXPECT_FALSE(seat.window->Friend().Running());
  join->trigger();
  FriendSide* side = seat.window->Friend().Side();
  ASSERT_NE(side, nullptr) << "tesva-friend was not loaded from " TESVA_PROGRAM_FOLDER;
  EXPECT_FALSE(side->Running());
  EXPECT_FALSE(seat.Action("mnuBaglantiyiKes")->isEnabled());
  EXPECT_TRUE(seat.window->findChild<QDialog*>("JoinDialog") != nullptr)
      << "the join dialog opened";
  side->Leave();
}

// Without the library the menu says so, and the game goes on.
TEST(FriendLibrary, WithoutItsLibraryTheMenuSaysSoAndTheGameGoesOn) {
  QTemporaryDir empty;
  Seat seat("Ayşe", "Can", "2", nullptr, empty.path().toStdString());
  seat.Action("mnuOyunAc")->trigger();
  EXPECT_EQ(seat.window->Friend().Side(), nullptr);
  auto* box = seat.window->findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("tesva-friend"));
  EXPECT_EQ(seat.game().HandNo, 1);
}

}  // namespace

// A peer that breaks the rules, one way at a time: each is caught where it
// happens, with its own message to the player, the connection closed and
// the game ended.
#include "net_harness.h"

#include "net/ristretto.h"

namespace tesva::net::testing {
namespace {

using ristretto::Element;

std::vector<std::string> FixedDeck(int) {
  return Deck({});
}

Bytes Message(std::uint8_t type, int hand, int step, Bytes body = {}) {
  Bytes out;
  ByteWriter write(out);
  write.U8(type);
  write.U16(static_cast<std::uint16_t>(hand));
  write.U16(static_cast<std::uint16_t>(step));
  write.Put(body);
  return out;
}

// The guest's messages in a hand: its setup message (its nonce, key and
// first deck), its shares for the first deal, then its first card.
constexpr int kFirstPlay = 2;

// Forged messages, each with the moment it comes at and what it is caught
// as. The guest's cards are 8 to 11; 5 is the host's own second card and 20
// is still in the deck.
TEST(Cheats, AForgedMessageIsCaughtWithItsMessage) {
  struct Forged {
    const char* name;
    bool afterHostsFirstCard;  // else at the hand's start, the host to lead
    Bytes message;
    Fault fault;
    std::optional<DealCheck> deal = std::nullopt;  // the deal's reason, for kDeal
  };
  const Forged cases[] = {
      {"OutOfTurn", false, Message(kPlayMessage, 1, kFirstPlay, {8}), Fault::kOutOfTurn},
      {"TheOthersCard", true, Message(kPlayMessage, 1, kFirstPlay, {5}), Fault::kNotHeld},
      {"ADeckCard", true, Message(kPlayMessage, 1, kFirstPlay, {20}), Fault::kNotHeld},
      {"AnotherHand", true, Message(kPlayMessage, 2, 1, {8}), Fault::kWrongHand},
      {"ReplayedStep", false, Message(kSharesMessage, 1, 0), Fault::kUnexpected},
      {"SkippedStep", true, Message(kPlayMessage, 1, kFirstPlay + 1, {8}), Fault::kUnexpected},
      {"EarlyReveal", false, Message(kRevealMessage, 1, kFirstPlay), Fault::kUnexpected},
      {"EarlyResult", false, Message(kResultMessage, 1, kFirstPlay, Bytes(kResultBytes)),
       Fault::kUnexpected},
      {"LateJoin", false, Message(kJoinMessage, 1, kFirstPlay, {0}), Fault::kUnexpected},
      {"UnknownType", false, Message(99, 1, 1), Fault::kBadMessage},
      {"ShortHeader", false, Bytes{kPlayMessage, 0}, Fault::kBadMessage},
      {"RefusedShare", true, Message(kPlayMessage, 1, kFirstPlay, {8, 0xff}), Fault::kDeal,
       DealCheck::kMalformed},
  };
  for (const Forged& forged : cases) {
    SCOPED_TRACE(forged.name);
    Pair pair(FixedDeck);
    if (forged.afterHostsFirstCard) {
      ASSERT_TRUE(pair.host->session.Play(1, pair.now));
      pair.Pump();
      ASSERT_TRUE(pair.guest->session.game().OurMove());
    } else {
      ASSERT_TRUE(pair.host->session.game().OurMove());  // the host leads hand 1
    }
    // The host takes the forged message as if it had come through the link.
    auto& session = pair.host->session;
    session.OnLinkMessage(forged.message);
    session.Tick(pair.now);
    const auto& failure = session.game().failure();
    ASSERT_TRUE(failure) << FaultName(forged.fault);
    EXPECT_EQ(failure->fault, forged.fault) << FaultName(failure->fault);
    if (forged.deal) {
      EXPECT_EQ(*failure, DealFailure(*forged.deal));
    }
    auto base = MakeFailure(forged.fault).text;
    EXPECT_EQ(failure->text.rfind(base.substr(0, base.size() - 1), 0), 0u) << failure->text;
    EXPECT_EQ(session.game().game().Label1.caption, " " + failure->text);
    EXPECT_TRUE(session.link().Ended());
    for (const auto& card : session.game().game().Player1_Kart) EXPECT_FALSE(card.enabled);
    // Nothing more is played, and nothing more is taken.
    EXPECT_FALSE(session.game().Play(1));
    auto before = session.game().game().Seen.plays.size();
    session.OnLinkMessage(Message(kPlayMessage, 1, 1, {8}));
    EXPECT_EQ(session.game().game().Seen.plays.size(), before);
    // The guest hears the goodbye and ends too.
    pair.Pump();
    EXPECT_TRUE(pair.guest->session.game().failure());
  }
}

TEST(Cheats, QuittingBeforeTheRevealIsCaught) {
  Pair pair(FixedDeck, 1, 1);
  auto& host = pair.host->session.game();
  auto& guest = pair.guest->session.game();
  // Both play their first card until only the guest's last card is left.
  while (!(host.game().DeckPos == kDeckSize && host.game().Player1_CardsLeft == 0 &&
           guest.game().Player1_CardsLeft == 1)) {
    auto& mover = host.OurMove() ? pair.host->session : pair.guest->session;
    ASSERT_TRUE(mover.Play(FirstEnabled(mover.game()), pair.now));
    pair.Pump();
    ASSERT_FALSE(host.failure());
  }
  // The guest plays its last card, and then the connection drops instead
  // of its reveal.
  ASSERT_TRUE(guest.Play(FirstEnabled(guest)));
  auto sent = guest.TakeOutgoing();
  ASSERT_EQ(sent.size(), 2u);
  ASSERT_EQ(sent[1][0], kRevealMessage);
  host.Receive(sent[0]);
  ASSERT_FALSE(host.failure()) << host.failure()->text;
  pair.host->session.ConnectionClosed(pair.now);
  ASSERT_TRUE(host.failure());
  EXPECT_EQ(host.failure()->fault, Fault::kNoReveal);
  EXPECT_EQ(host.game().Label1.caption, " " + MakeFailure(Fault::kNoReveal).text);
}

// A guest whose deal is honest but for its setup message: position 2 of
// its first deck, a face-down floor card that nobody reads during the
// hand, is an element of its own choosing.
struct PlantingDeal : FairDeal {
  using FairDeal::FairDeal;
  Bytes MakeSetup() override {
    Bytes out = FairDeal::MakeSetup();
    Element planted = ristretto::Public(ristretto::RandomScalar());
    std::copy(planted.begin(), planted.end(),
              out.begin() + static_cast<std::ptrdiff_t>(kOpeningBytes + 2 * 32));
    return out;
  }
};

TEST(Cheats, AFirstDeckWithACardOfTheGuestsOwnIsCaughtAtTheRevealWithItsMessage) {
  DealMaker cheat = [](Role role, int hand) -> std::unique_ptr<HandDeal> {
    return std::make_unique<PlantingDeal>(role, hand, KnownShuffle(role, FixedDeck(hand)));
  };
  Pair pair(FixedDeck, 1, 1, cheat);
  auto& host = pair.host->session.game();
  // Both play their first playable card until the game stops.
  for (int step = 0; step < 200 && !host.failure() && !host.Over(); ++step)
    ASSERT_TRUE(pair.Step());
  ASSERT_TRUE(host.failure());
  EXPECT_EQ(*host.failure(), DealFailure(DealCheck::kNotTheCards));
  EXPECT_EQ(host.failure()->text,
            "Dağıtım denetimi başarısız: karşı tarafın destesi 52 kağıdın kendisi değil.");
  EXPECT_EQ(host.game().DeckPos, kDeckSize);  // the whole hand was played first
  EXPECT_EQ(host.game().Label1.caption, " " + host.failure()->text);
  EXPECT_TRUE(pair.host->session.link().Ended());
  EXPECT_TRUE(pair.guest->session.game().failure());
  // The hand never ended: its result was not settled.
  const auto& events = pair.host->events;
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const std::string& e) { return e.rfind("hand end", 0) == 0; }),
            0);
  EXPECT_EQ(events.back(), "failed kDeal");
}

TEST(Cheats, AHostileNameIsRefused) {
  MemoryPlatform services(3);
  // The hands, then the name's length and bytes: a line break, and no hands
  // at all.
  for (const Bytes& body : {Bytes{0, 11, 3, 'a', '\n', 'b'}, Bytes{0, 0, 1, 'a'}}) {
    NetGame guest(Role::kGuest, services.services(), Pair::MakeDeal(FixedDeck));
    guest.Receive(Message(kGameStartMessage, 0, 0, body));
    ASSERT_TRUE(guest.failure());
    EXPECT_EQ(guest.failure()->fault, Fault::kBadMessage);
  }
  NetGame fine(Role::kGuest, services.services(), Pair::MakeDeal(FixedDeck));
  fine.Receive(Message(kGameStartMessage, 0, 0, {0, 5, 4, 'A', 'y', 0xc5, 0x9f}));
  EXPECT_FALSE(fine.failure());
  EXPECT_EQ(fine.game().Player2_Name.caption, "Ayş (0)");
  EXPECT_EQ(fine.game().HandsPerGame, 5);
  EXPECT_EQ(services.store.Read(kStoreApp, kStoreSection, kKeyComputerName), "Bilgisayar");
}

}  // namespace
}  // namespace tesva::net::testing

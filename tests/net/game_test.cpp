// Two programs playing whole games: both tables agree on every public fact,
// the scores equal the ordinary game's for the same deal, and no side holds
// a card its player has not seen.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <utility>

#include "net_harness.h"

namespace tesva::net::testing {
namespace {

void ExpectSamePublicFacts(const Game& h, const Game& g) {
  EXPECT_TRUE(MirroredPublicFacts(h, g));
  if (!h.Dealer.empty()) {
    EXPECT_EQ(h.Dealer, g.Dealer == kHuman ? kComputer : kHuman);
  }
  // The results name each side's own player first; every other status
  // line is the same text on both tables.
  if (h.Label1.caption.rfind(" El bitti.", 0) != 0 &&
      h.Label1.caption.rfind(" Oyun bitti.", 0) != 0) {
    EXPECT_EQ(h.Label1.caption, g.Label1.caption);
  }
  EXPECT_EQ(h.Label7.caption, g.Label7.caption);
  EXPECT_EQ(h.Label8.caption, g.Label8.caption);
  EXPECT_EQ(h.Player1_Name.caption, g.Player2_Name.caption);
  EXPECT_EQ(h.Player2_Name.caption, g.Player1_Name.caption);
  if (h.Seen.plays.size() != g.Seen.plays.size()) return;
  for (std::size_t i = 0; i < h.Seen.plays.size(); ++i) {
    EXPECT_EQ(h.Seen.plays[i].card, g.Seen.plays[i].card);
    EXPECT_NE(h.Seen.plays[i].seat, g.Seen.plays[i].seat);
  }
}

// Every card code anywhere in one side's game must be one its player has
// seen: the base card, its own cards dealt so far, the cards played, and
// after the hand's end the face-down floor cards.
void ExpectOnlySeenCards(const Game& g, const Game& other, const std::vector<std::string>& deck,
                         bool hostSide) {
  std::set<std::string> seen;
  if (g.HandNo == 0 && g.List1.items.empty()) return;
  seen.insert(deck[0]);
  bool weLead = (g.HandNo % 2 == 1) == hostSide;
  for (int from = kFloorCards; from < g.DeckPos; from += kDealSize) {
    for (int i = 0; i < kHandSize; ++i) seen.insert(deck[from + (weLead ? 0 : kHandSize) + i]);
  }
  // The cards played, as either side has taken them so far.
  for (const auto* plays : {&g.Seen.plays, &other.Seen.plays})
    for (const auto& play : *plays) seen.insert(play.card);
  if (g.Timer2.enabled) seen.insert(deck.begin(), deck.end());
  std::vector<std::string> held(g.List1.items);
  held.insert(held.end(), g.List2.items.begin(), g.List2.items.end());
  for (const auto& c : g.Player1_Hand) held.push_back(c);
  for (const auto& c : g.Player1_DealtHand) held.push_back(c);
  for (const auto& p : g.Player1_Kart) held.push_back(p.picture);
  for (const auto& p : g.Player2_Kart) held.push_back(p.picture);
  for (const auto* p : {&g.OrtadakiKartlar, &g.EnAltKart, &g.Player1_Deste, &g.Player2_Deste})
    held.push_back(p->picture);
  held.push_back(g.TopCard);
  held.push_back(g.BaseCard);
  for (const auto& c : held) {
    if (IsCardCode(c)) {
      EXPECT_TRUE(seen.count(c)) << c << " held but never seen, hand " << g.HandNo;
    }
  }
}

// The same deal played by the ordinary game, the host in the human's seat.
struct Ordinary : Table {
  explicit Ordinary(int hands) {
    Store(kKeyLevel, "1");
    Store(kKeyHumanName, "Ev");
    Store(kKeyComputerName, "Konuk");
    Store(kKeyHands, std::to_string(hands));
  }
  void Play(const PublicPlay& play) {
    if (play.seat == Seat::kHuman) {
      for (int i = 1; i <= 4; ++i)
        if (g.Player1_Hand(i) == play.card) return Player1_Kart_Click(g, i);
      ADD_FAILURE() << "the ordinary game's human does not hold " << play.card << " hand "
                    << g.HandNo << " deckpos " << g.DeckPos << " " << g.Player1_Hand(1)
                    << g.Player1_Hand(2) << g.Player1_Hand(3) << g.Player1_Hand(4);
    } else {
      auto& hand = g.List2.items;
      auto at = std::find(hand.begin(), hand.end(), play.card);
      ASSERT_NE(at, hand.end()) << play.card;
      g.Timer1.enabled = false;
      PlayComputerCard(g, static_cast<int>(at - hand.begin()) + 1);
    }
  }
};

// A hand's result as one side holds it, the host's total first.
using HandResult = std::pair<int, int>;

// One thing happens, chosen at random among those that can: a side plays a
// random legal card, a side's pause ticks, or a piece of what one side sent
// arrives at the other. False when nothing can.
bool Act(Pair& pair, std::mt19937_64& rng) {
  std::vector<std::function<void()>> can;
  for (Side* side : {pair.host.get(), pair.guest.get()}) {
    Session& session = side->session;
    if (session.game().OurMove()) {
      can.push_back([&session, &pair, &rng] {
        auto slots = EnabledSlots(session.game().game());
        ASSERT_FALSE(slots.empty());
        ASSERT_TRUE(session.Play(RandomSlot(rng)(slots), pair.now));
      });
    }
    if (session.game().game().Timer2.enabled)
      can.push_back([&session, &pair] { session.TickPause(pair.now); });
  }
  for (bool toGuest : {true, false}) {
    const Bytes& queue = toGuest ? pair.toGuest : pair.toHost;
    if (queue.empty()) continue;
    can.push_back([&pair, &rng, toGuest, size = queue.size()] {
      pair.Release(toGuest, rng() % 2 ? size : 1 + rng() % size);
    });
  }
  if (can.empty()) return false;
  can[rng() % can.size()]();
  pair.Hold();
  return true;
}

// Replays the host's public plays into the ordinary game up to the end of
// its next hand, and returns that hand's result there.
HandResult OrdinaryHandEnd(Ordinary& ordinary, const std::vector<std::string>& hostEvents,
                           std::size_t& replayed) {
  while (ordinary.g.Timer2.enabled) Timer2_Timer(ordinary.g);
  for (; replayed < hostEvents.size() && !ordinary.g.Timer2.enabled; ++replayed) {
    const auto& event = hostEvents[replayed];
    if (event.rfind("play ", 0) != 0) continue;
    bool host = event.rfind("play host ", 0) == 0;
    ordinary.Play({event.substr(host ? 10 : 11), host ? Seat::kHuman : Seat::kComputer, false});
  }
  EXPECT_TRUE(ordinary.g.Timer2.enabled) << "the ordinary game's hand has not ended";
  return {ordinary.g.Player1_Score, ordinary.g.Player2_Score};
}

// Plays whole games with random legal moves on both sides. Each direction's
// deliveries are held back and released in random pieces at random moments,
// and each side's pause ticks on its own, so that moves, reveals, pauses and
// the next hand's first messages cross in every order two programs can
// meet. After every hand both sides hold the same result, and it is the
// ordinary game's for the same deal.
void PlayGames(int games, int hands, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  for (int game = 0; game < games; ++game) {
    SCOPED_TRACE("game " + std::to_string(game));
    std::vector<std::vector<std::string>> decks;
    for (int h = 0; h < hands; ++h) decks.push_back(ShuffledDeck(rng));
    Pair pair([&decks](int hand) { return decks.at(static_cast<std::size_t>(hand - 1)); }, rng(),
              hands);
    Ordinary ordinary(hands);
    for (const auto& deck : decks) ordinary.io.random.QueueDeck(deck);
    Form_Load(ordinary.g);
    std::size_t replayed = 0, checked = 0;
    std::vector<HandResult> hostEnds, guestEnds, ordinaryEnds;
    bool hostPaused = false, guestPaused = false;
    auto& host = pair.host->session.game();
    auto& guest = pair.guest->session.game();
    for (int step = 0; step < 100000 && Act(pair, rng); ++step) {
      ASSERT_FALSE(host.failure()) << host.failure()->text;
      ASSERT_FALSE(guest.failure()) << guest.failure()->text;
      const Game& hg = host.game();
      const Game& gg = guest.game();
      if (hg.HandNo > 0) ExpectOnlySeenCards(hg, gg, decks.at(hg.HandNo - 1u), true);
      if (gg.HandNo > 0) ExpectOnlySeenCards(gg, hg, decks.at(gg.HandNo - 1u), false);
      // Nothing in flight and both at the same point: every public fact agrees.
      if (pair.toGuest.empty() && pair.toHost.empty() && hg.HandNo == gg.HandNo &&
          hg.Timer2.enabled == gg.Timer2.enabled) {
        ExpectSamePublicFacts(hg, gg);
      }
      // Each side's result is taken as its hand ends (its pause starts).
      if (hg.Timer2.enabled && !std::exchange(hostPaused, true)) {
        hostEnds.push_back({hg.Player1_Score, hg.Player2_Score});
        ordinaryEnds.push_back(OrdinaryHandEnd(ordinary, pair.host->events, replayed));
        EXPECT_EQ(hg.Label1.caption, ordinary.g.Label1.caption);
        EXPECT_EQ(hg.Player2_Name.caption, ordinary.g.Player2_Name.caption);
      }
      if (gg.Timer2.enabled && !std::exchange(guestPaused, true))
        guestEnds.push_back({gg.Player2_Score, gg.Player1_Score});
      hostPaused = hg.Timer2.enabled;
      guestPaused = gg.Timer2.enabled;
      for (; checked < std::min(hostEnds.size(), guestEnds.size()); ++checked) {
        EXPECT_EQ(hostEnds[checked], guestEnds[checked]) << "hand " << checked + 1;
        EXPECT_EQ(hostEnds[checked], ordinaryEnds[checked]) << "hand " << checked + 1;
      }
      if (::testing::Test::HasFailure()) return;
    }
    ASSERT_TRUE(host.Over() && guest.Over()) << "the game stopped before its end";
    ASSERT_EQ(checked, static_cast<std::size_t>(hands));
    while (ordinary.g.Timer2.enabled) Timer2_Timer(ordinary.g);
    EXPECT_EQ(host.game().Label1.caption, ordinary.g.Label1.caption);
    ASSERT_EQ(pair.host->events, pair.guest->events);
  }
}

// A whole number from the environment, or `fallback` when it is absent or
// not a plain number within [1, limit].
std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback, std::uint64_t limit) {
  const char* text = std::getenv(name);
  std::uint64_t value = 0;
  if (!text) return fallback;
  auto [end, error] = std::from_chars(text, text + std::strlen(text), value);
  return error != std::errc{} || *end || value == 0 || value > limit ? fallback : value;
}

// 100 two-hand games in every build (the deal's work of 200 hands), so
// that every game has a hand's end meeting the next hand's start; CI plays
// thousands more with a fresh seed: TESVA_PIPE_GAMES=3000 TESVA_PIPE_SEED=N.
TEST(TwoPrograms, RandomGamesAgreeWithEachOtherAndWithTheOrdinaryGame) {
  const auto games = FromEnvironment("TESVA_PIPE_GAMES", 100, 1'000'000);
  const auto seed = FromEnvironment("TESVA_PIPE_SEED", 11, UINT32_MAX);
  SCOPED_TRACE("TESVA_PIPE_SEED=" + std::to_string(seed));
  PlayGames(static_cast<int>(games), 2, seed);
}

TEST(TwoPrograms, WholeElevenHandGamesAgree) {
  PlayGames(40, 11, 12);
}

// One side settles a hand differently (here the host counts three points
// the guest did not earn): the Results after the reveal differ, and both
// sides end the game naming it, neither going on with its own score.
TEST(TwoPrograms, AHandSettledDifferentlyEndsTheGameOnBothSides) {
  std::mt19937_64 rng(5);
  const auto deck = ShuffledDeck(rng);
  Pair pair([deck](int) { return deck; }, 5, 2);
  auto& host = pair.host->session;
  auto& guest = pair.guest->session;
  host.game().game().Player2_Score += 3;
  for (int step = 0; step < 200 && !host.game().failure() && !guest.game().failure(); ++step) {
    ASSERT_TRUE(pair.Mover()) << "nobody to move, step " << step;
    ASSERT_TRUE(pair.Step());
  }
  const auto expected = MakeFailure(Fault::kMismatch);
  for (Side* side : {pair.host.get(), pair.guest.get()}) {
    const auto& game = side->session.game();
    ASSERT_TRUE(game.failure());
    EXPECT_EQ(*game.failure(), expected);
    EXPECT_EQ(game.game().Label1.caption, " " + expected.text);
    EXPECT_TRUE(side->session.link().Ended());
    EXPECT_EQ(side->events.back(), "failed kMismatch");
    for (const auto& event : side->events) {
      EXPECT_NE(event.rfind("hand 2", 0), 0u) << event;
      EXPECT_NE(event.rfind("game over", 0), 0u) << event;
    }
  }
}

// The other seat's name while a friend's game runs: read as the friend's,
// never written over the player's own, and out of the way when it stands
// aside (as the window's does between friend games).
TEST(FriendNameStore, StandsInForTheOtherSeatsNameAlone) {
  using Rule = FriendNameStore::OwnName;
  auto read = [](OptionsStore& store, std::string_view key) {
    return store.Read(kStoreApp, kStoreSection, key);
  };
  for (Rule rule : {Rule::kFirstValueKept, Rule::kNeverWritten}) {
    MemoryStore own, fresh;
    FriendNameStore names(own, rule, false), first(fresh, rule);
    names.Write(kStoreApp, kStoreSection, kKeyComputerName, "Can");
    names.StandIn("Deniz");
    EXPECT_EQ(read(names, kKeyComputerName), "Deniz");
    names.Write(kStoreApp, kStoreSection, kKeyComputerName, "Ali");
    names.Write(kStoreApp, kStoreSection, kKeyHumanName, "Ayşe");
    EXPECT_EQ(read(own, kKeyComputerName), "Can");
    EXPECT_EQ(read(names, kKeyHumanName), "Ayşe");
    names.StandAside();
    EXPECT_EQ(read(names, kKeyComputerName), "Can");
    // With no name of its own stored, only the first run's default is kept.
    first.Write(kStoreApp, kStoreSection, kKeyComputerName, "Bilgisayar");
    EXPECT_EQ(read(fresh, kKeyComputerName), rule == Rule::kFirstValueKept ? "Bilgisayar" : "");
    EXPECT_EQ(read(first, kKeyComputerName), "");
  }
}

}  // namespace
}  // namespace tesva::net::testing

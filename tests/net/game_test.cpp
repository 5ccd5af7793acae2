// Two programs playing whole games: both tables agree on every public fact,
// the scores equal the ordinary game's for the same deal, and no side holds
// a card its player has not seen.
#include <cstdint>
#include <cstdlib>
#include <random>

#include "net_harness.h"

namespace tesva::net::testing {
namespace {

std::vector<std::string> RandomDeck(std::mt19937_64& rng) {
  std::vector<std::string> deck;
  for (int s = 0; s < 4; ++s)
    for (int r = 1; r <= 13; ++r) deck.push_back(CardCode(s, r));
  std::shuffle(deck.begin(), deck.end(), rng);
  return deck;
}

std::string Mirror(const std::string& dealer) {
  return dealer == kHuman ? std::string(kComputer) : std::string(kHuman);
}

void ExpectSamePublicFacts(const Game& h, const Game& g) {
  EXPECT_EQ(h.Player1_Score, g.Player2_Score);
  EXPECT_EQ(h.Player2_Score, g.Player1_Score);
  EXPECT_EQ(h.Player1_CardsTaken, g.Player2_CardsTaken);
  EXPECT_EQ(h.Player1_CardsLeft, g.Player2_CardsLeft);
  EXPECT_EQ(h.Player2_CardsLeft, g.Player1_CardsLeft);
  if (!h.Dealer.empty()) {
    EXPECT_EQ(h.Dealer, Mirror(g.Dealer));
  }
  EXPECT_EQ(h.DeckPos, g.DeckPos);
  EXPECT_EQ(h.TopCard, g.TopCard);
  EXPECT_EQ(h.BaseCard, g.BaseCard);
  EXPECT_EQ(h.FloorCount, g.FloorCount);
  EXPECT_EQ(h.FloorPoints, g.FloorPoints);
  EXPECT_EQ(h.HandNo, g.HandNo);
  EXPECT_EQ(h.HandsPerGame, g.HandsPerGame);
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
  ASSERT_EQ(h.Seen.plays.size(), g.Seen.plays.size());
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
  for (const auto& play : other.Seen.plays) seen.insert(play.card);
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
struct Ordinary {
  MemoryPlatform services{7};
  Game g{services.services()};
  Ordinary(int hands) {
    services.store.Write(kStoreApp, kStoreSection, kKeyLevel, "1");
    services.store.Write(kStoreApp, kStoreSection, kKeyHumanName, "Ev");
    services.store.Write(kStoreApp, kStoreSection, kKeyComputerName, "Konuk");
    services.store.Write(kStoreApp, kStoreSection, kKeyHands, std::to_string(hands));
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

// Plays whole games with random legal moves on both sides.
void PlayGames(int games, int hands, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  for (int game = 0; game < games; ++game) {
    std::vector<std::vector<std::string>> decks;
    for (int h = 0; h < hands; ++h) decks.push_back(RandomDeck(rng));
    Pair pair([&decks](int hand) { return decks.at(static_cast<std::size_t>(hand - 1)); }, rng(),
              hands);
    Ordinary ordinary(hands);
    for (int h = 0; h < hands; ++h)
      ordinary.services.random.QueueDeck(decks[static_cast<std::size_t>(h)]);
    Form_Load(ordinary.g);
    std::size_t replayed = 0;
    bool compared = false;
    auto& host = pair.host->session.game();
    auto& guest = pair.guest->session.game();
    for (int step = 0; step < 2000 && !host.Over(); ++step) {
      auto* mover = host.OurMove()    ? &pair.host->session
                    : guest.OurMove() ? &pair.guest->session
                                      : nullptr;
      if (mover) {
        std::vector<int> slots;
        for (int i = 1; i <= 4; ++i)
          if (mover->game().game().Player1_Kart(i).enabled) slots.push_back(i);
        ASSERT_FALSE(slots.empty());
        ASSERT_TRUE(mover->Play(slots[rng() % slots.size()], pair.now));
      } else {
        ASSERT_TRUE(host.game().Timer2.enabled) << "nobody to move and no pause";
        pair.host->session.TickPause(pair.now);
        pair.guest->session.TickPause(pair.now);
      }
      pair.Pump();
      ASSERT_FALSE(host.failure()) << host.failure()->text;
      ASSERT_FALSE(guest.failure()) << guest.failure()->text;
      const Game& hg = host.game();
      const Game& gg = guest.game();
      ExpectSamePublicFacts(hg, gg);
      if (hg.HandNo > 0) {
        const auto& deck = decks[static_cast<std::size_t>(hg.HandNo - 1)];
        ExpectOnlySeenCards(hg, gg, deck, true);
        ExpectOnlySeenCards(gg, hg, deck, false);
      }
      // The ordinary game follows the same plays; at each hand's end its
      // totals and captions are the network game's.
      if (!hg.Timer2.enabled && compared) {
        compared = false;
        replayed = 0;
      }
      if (compared || hg.HandNo == 0) continue;
      for (; replayed < hg.Seen.plays.size(); ++replayed) {
        SCOPED_TRACE("game " + std::to_string(game) + " hand " + std::to_string(hg.HandNo) +
                     " step " + std::to_string(step));
        ordinary.Play(hg.Seen.plays[replayed]);
      }
      if (hg.Timer2.enabled) {
        compared = true;
        EXPECT_EQ(hg.Player1_Score, ordinary.g.Player1_Score);
        EXPECT_EQ(hg.Player2_Score, ordinary.g.Player2_Score);
        EXPECT_EQ(hg.Label1.caption, ordinary.g.Label1.caption);
        EXPECT_EQ(hg.Player2_Name.caption, ordinary.g.Player2_Name.caption);
        ASSERT_TRUE(ordinary.g.Timer2.enabled);
        while (ordinary.g.Timer2.enabled) Timer2_Timer(ordinary.g);
      }
      if (::testing::Test::HasFailure()) return;
    }
    ASSERT_TRUE(host.Over() && guest.Over());
    EXPECT_EQ(host.game().Label1.caption, ordinary.g.Label1.caption);
    ASSERT_EQ(pair.host->events.size(), pair.guest->events.size());
    for (std::size_t i = 0; i < pair.host->events.size(); ++i)
      ASSERT_EQ(pair.host->events[i], pair.guest->events[i]) << i;
  }
}

// A whole number from the environment, or `fallback` when it is absent or
// not a plain number within [1, limit].
std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback, std::uint64_t limit) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  std::uint64_t value = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return fallback;
    value = value * 10 + static_cast<std::uint64_t>(*c - '0');
    if (value > limit) return fallback;
  }
  return value == 0 ? fallback : value;
}

// 200 one-hand games in every build (11 s); CI plays thousands more with a
// fresh seed: TESVA_PIPE_GAMES=3000 TESVA_PIPE_SEED=N.
TEST(TwoPrograms, RandomGamesAgreeWithEachOtherAndWithTheOrdinaryGame) {
  const auto games = FromEnvironment("TESVA_PIPE_GAMES", 200, 1'000'000);
  const auto seed = FromEnvironment("TESVA_PIPE_SEED", 11, UINT32_MAX);
  SCOPED_TRACE("TESVA_PIPE_SEED=" + std::to_string(seed));
  PlayGames(static_cast<int>(games), 1, seed);
}

TEST(TwoPrograms, WholeElevenHandGamesAgree) {
  PlayGames(40, 11, 12);
}

}  // namespace
}  // namespace tesva::net::testing

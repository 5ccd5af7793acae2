// A game whose connection is lost takes up again on a new one: cut at
// random moments, bytes in flight lost or cut mid-frame, both sides pause,
// prove to each other on the new link that they are the same two programs,
// send again what the other missed and play on to exactly the game an
// uncut connection gives. A program that cannot prove it is sent away and
// the game stays paused for the one that can.
#include <random>

#include "net_harness.h"

namespace tesva::net::testing {
namespace {

struct Played {
  std::vector<std::string> hostEvents, guestEvents;
  std::string hostResult, guestResult;
  int cuts = 0;
};

// Every hand dealt from the one deck that `seed` shuffles.
std::function<std::vector<std::string>(int)> OneDeck(std::uint64_t seed) {
  return [seed](int) {
    std::mt19937_64 rng(seed);
    return ShuffledDeck(rng);
  };
}

Played PlayWithCuts(std::uint64_t seed, int hands, int cutEvery) {
  std::mt19937_64 rng(seed);
  std::vector<std::vector<std::string>> decks;
  for (int h = 0; h < hands; ++h) decks.push_back(ShuffledDeck(rng));
  Pair pair([&decks](int hand) { return decks.at(static_cast<std::size_t>(hand - 1)); }, seed,
            hands);
  for (Side* side : {pair.host.get(), pair.guest.get()}) side->session.SetResumable(true);
  std::mt19937_64 moves(seed + 1), cuts(seed + 2);
  Played played;
  auto& host = pair.host->session;
  auto& guest = pair.guest->session;
  for (int step = 0; step < 3000 && !host.game().Over(); ++step) {
    if (cutEvery && cuts() % cutEvery == 0 && host.game().Begun()) {
      pair.Cut(&cuts);
      EXPECT_TRUE(host.Waiting() && guest.Waiting()) << "step " << step;
      // Nothing can be played while paused.
      for (int slot = 1; slot <= 4; ++slot) EXPECT_FALSE(host.Play(slot, pair.now));
      pair.Relink();
      ++played.cuts;
      EXPECT_FALSE(host.Waiting() || guest.Waiting()) << "step " << step;
    }
    EXPECT_TRUE(pair.Step(RandomSlot(moves)));
    if (host.game().failure() || guest.game().failure()) {
      ADD_FAILURE() << (host.game().failure() ? host.game().failure()->text
                                              : guest.game().failure()->text);
      break;
    }
  }
  EXPECT_TRUE(host.game().Over() && guest.game().Over());
  played.hostEvents = pair.host->events;
  played.guestEvents = pair.guest->events;
  played.hostResult = host.game().game().Label1.caption;
  played.guestResult = guest.game().game().Label1.caption;
  return played;
}

TEST(Resume, GamesCutAtRandomPlayOnToTheUncutGame) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Played uncut = PlayWithCuts(seed, 2, 0);
    Played cut = PlayWithCuts(seed, 2, seed % 3 == 0 ? 3 : 9);
    EXPECT_GT(cut.cuts, 2);
    EXPECT_EQ(cut.hostEvents, uncut.hostEvents);
    EXPECT_EQ(cut.guestEvents, uncut.guestEvents);
    EXPECT_EQ(cut.hostResult, uncut.hostResult);
    EXPECT_EQ(cut.guestResult, uncut.guestResult);
    if (::testing::Test::HasFailure()) return;
  }
}

// Two paused games; each one's host meets the other's guest.
TEST(Resume, AProgramThatCannotProveItIsSentAwayAndTheGameWaitsOn) {
  Pair a(OneDeck(3), 21, 2), b(OneDeck(3), 31, 2);
  for (Pair* pair : {&a, &b}) {
    for (Side* side : {pair->host.get(), pair->guest.get()}) side->session.SetResumable(true);
    ASSERT_TRUE(pair->host->session.game().OurMove());
    pair->Cut();
  }
  Session& host = a.host->session;
  Session& stranger = b.guest->session;
  std::swap(a.guest, b.guest);
  a.Relink();
  for (Session* side : {&host, &stranger}) {
    ASSERT_TRUE(side->link().Ended());
    EXPECT_EQ(side->link().ending()->fault, Fault::kResume);
    EXPECT_TRUE(side->Waiting());
    EXPECT_FALSE(side->game().failure());
  }
  // Its own guest then takes it up.
  std::swap(a.guest, b.guest);
  a.Relink();
  EXPECT_FALSE(host.Waiting());
  EXPECT_TRUE(host.game().OurMove());
  EXPECT_TRUE(host.Play(FirstEnabled(host.game()), a.now));
}

// A proven peer that claims to have heard more than was sent, or to be
// hands behind, ends the game: it is no honest friend. So does a lost
// connection when the game was not asked to wait for a new one.
TEST(Resume, AResumePointThatWasNeverReachedOrAGameNotAskedToWaitEnds) {
  // (The host sent one message in hand 0, and is in hand 1.)
  for (auto [hand, heard] : {std::pair{0, 5}, {1, 999}, {7, 0}, {1, -1}, {-1, 0}}) {
    Pair pair(OneDeck(4), 41, 2);
    NetGame& game = pair.host->session.game();
    ASSERT_TRUE(game.OurMove());
    game.Pause();
    EXPECT_FALSE(game.ResendFrom(hand, heard)) << hand << " " << heard;
    ASSERT_TRUE(game.failure());
    EXPECT_EQ(game.failure()->fault, Fault::kResume);
  }

  // Without being asked to wait, a lost connection still ends the game.
  Pair pair(OneDeck(5), 51, 2);
  pair.host->session.ConnectionClosed(pair.now);
  EXPECT_FALSE(pair.host->session.Waiting());
  ASSERT_TRUE(pair.host->session.game().failure());
  EXPECT_EQ(pair.host->session.game().failure()->fault, Fault::kLost);
}

}  // namespace
}  // namespace tesva::net::testing

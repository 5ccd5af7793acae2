// The hint: the master's card for the human's seat, from that seat's view
// only, and without touching the game or its random source.
#include <gtest/gtest.h>

#include <random>

#include "cpu/usta.h"
#include "record/hint.h"
#include "support/seeded.h"
#include "test_support.h"

namespace tesva::record {
namespace {

constexpr int kSearch = 60;

// Walks random games; at each of the human's turns calls `atTurn`.
template <class F>
int EachHumanTurn(std::uint64_t seed, F atTurn) {
  MemoryPlatform io(seed);
  Game g(io.services());
  g.UstaSearch = kSearch;
  WriteOption(g, kKeyLevel, "2");
  Form_Load(g);
  auto pick = Seeded(seed);
  int turns = 0;
  for (int events = 0; events < 400 && g.HandNo != 0; ++events) {
    if (!g.Timer1.enabled && !g.Timer2.enabled) {
      ++turns;
      atTurn(g, io);
    }
    if (!PlayEvent(g, RandomSlot(pick))) break;
  }
  return turns;
}

TEST(Hint, MarksThePlayableCardTheMasterPlaysForTheSameViewAndDraw) {
  int turns = 0;
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    turns += EachHumanTurn(seed, [](Game& g, MemoryPlatform& io) {
      ASSERT_TRUE(HintAvailable(g));
      const Game before = g;
      const auto queued = io.random.QueuedValues();
      SeatView view = ViewOf(g, Seat::kHuman);
      int slot = HintSlot(view, kSearch);
      // Nothing of the game changed, no draw was taken.
      ASSERT_TRUE(g == before);
      ASSERT_EQ(io.random.QueuedValues(), queued);
      ASSERT_GE(slot, 1);
      ASSERT_TRUE(g.Player1_Kart(slot).enabled) << "slot " << slot;
      // The master from the human's seat, handed the hint's seed as its draw,
      // plays the same card.
      auto seed = HintSeed(view);
      ASSERT_LT(seed, std::uint64_t{1} << 53);
      io.random.Queue(static_cast<double>(seed) * 0x1.0p-53);
      EXPECT_EQ(UstaChoice(g, Seat::kHuman), slot);
    });
  }
  EXPECT_GT(turns, 100);
}

// The hint never changes when the computer's hidden cards are exchanged
// with the cards still to deal: it cannot know them.
TEST(Hint, HiddenCardsDoNotChangeIt) {
  int exchanged = 0;
  for (std::uint64_t seed = 11; seed <= 14; ++seed) {
    EachHumanTurn(seed, [&](Game& g, MemoryPlatform&) {
      int slot = HintSlot(ViewOf(g, Seat::kHuman), kSearch);
      Game other = g;
      std::mt19937 shuffle(static_cast<unsigned>(g.DeckPos + seed));
      // The computer's cards and the rest of the deck, dealt anew.
      std::vector<std::string> hidden = other.List2.items;
      hidden.insert(hidden.end(), other.List1.items.begin() + other.DeckPos,
                    other.List1.items.end());
      std::shuffle(hidden.begin(), hidden.end(), shuffle);
      std::copy(hidden.begin(), hidden.begin() + other.List2.items.size(),
                other.List2.items.begin());
      std::copy(hidden.begin() + other.List2.items.size(), hidden.end(),
                other.List1.items.begin() + other.DeckPos);
      exchanged += other.List2.items != g.List2.items;
      EXPECT_EQ(HintSlot(ViewOf(other, Seat::kHuman), kSearch), slot);
    });
  }
  EXPECT_GT(exchanged, 50);
}

TEST(Hint, NoneWhileTheComputerIsToMoveOrThePanelIsOpen) {
  Table t;
  t.Start();
  EXPECT_TRUE(HintAvailable(t.g));
  mnuHelp_Click(t.g);
  EXPECT_FALSE(HintAvailable(t.g));
  Command1_Click(t.g);
  Player1_Kart_Click(t.g, 1);
  EXPECT_FALSE(HintAvailable(t.g));
}

}  // namespace
}  // namespace tesva::record

// The hint: the master's card for the human's seat, from that seat's view
// only, and without touching the game or its random source; and its
// position as the browser's worker gets it, whole from its JSON, a position
// no game gives refused with no hint rather than searched.
#include <gtest/gtest.h>

#include <random>

#include "cpu/usta.h"
#include "record/hint.h"
#include "record/hint_position.h"
#include "support/seeded.h"
#include "test_support.h"

namespace tesva::record {
namespace {

constexpr int kSearch = 60;

// At each of the human's turns in random games: the hint marks a playable
// card, the one the master from the human's seat plays for the same view
// and draw, without changing the game or taking a draw; the worker's
// position of the view comes back whole and gives the same hint; and the
// hint never changes when the computer's hidden cards are exchanged with
// the cards still to deal: it cannot know them.
TEST(Hint, MarksThePlayableCardTheMasterPlaysForTheSameViewAndDraw) {
  int turns = 0, exchanged = 0;
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    MemoryPlatform io(seed);
    Game g(io.services());
    g.UstaSearch = kSearch;
    WriteOption(g, kKeyLevel, "2");
    Form_Load(g);
    auto pick = Seeded(seed);
    for (int events = 0; events < 400 && g.HandNo != 0; ++events) {
      if (!g.Timer1.enabled && !g.Timer2.enabled) {
        ++turns;
        ASSERT_TRUE(HintAvailable(g));
        const Game before = g;
        const auto queued = io.random.QueuedValues();
        SeatView view = ViewOf(g, Seat::kHuman);
        int slot = HintSlot(view, kSearch);
        std::string text = HintPositionJson(view, kSearch).dump();
        auto back = SeatViewFromJson(SeatViewJson(view).dump());
        ASSERT_TRUE(back) << text;
        ASSERT_EQ(*back, view) << text;
        ASSERT_EQ(HintSlotIn(text), slot) << text;
        // Nothing of the game changed, no draw was taken.
        ASSERT_TRUE(g == before);
        ASSERT_EQ(io.random.QueuedValues(), queued);
        ASSERT_GE(slot, 1);
        ASSERT_TRUE(g.Player1_Kart(slot).enabled) << "slot " << slot;

        // The computer's cards and the rest of the deck, dealt anew.
        Game other = g;
        std::mt19937 shuffle(static_cast<unsigned>(g.DeckPos + seed));
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

        // The master from the human's seat, handed the hint's seed as its
        // draw, plays the same card.
        auto hintSeed = HintSeed(view);
        ASSERT_LT(hintSeed, std::uint64_t{1} << 53);
        io.random.Queue(static_cast<double>(hintSeed) * 0x1.0p-53);
        EXPECT_EQ(UstaChoice(g, Seat::kHuman), slot);
      }
      if (!PlayEvent(g, RandomSlot(pick))) break;
    }
  }
  EXPECT_GT(turns, 100);
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

TEST(HintPosition, APositionNoGameGivesIsRefused) {
  Table t;
  t.Start();
  nlohmann::json good = HintPositionJson(ViewOf(t.g, Seat::kHuman), kSearch);
  ASSERT_GE(HintSlotIn(good.dump()), 1);
  auto changed = [&](auto change) {
    nlohmann::json bad = good;
    change(bad);
    return HintSlotIn(bad.dump());
  };
  EXPECT_EQ(HintSlotIn("not json"), 0);
  EXPECT_EQ(HintSlotIn(""), 0);
  EXPECT_EQ(changed([](auto& p) { p["search"] = 0; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["search"] = kUstaFullSearch + 1; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["search"] = "40"; }), 0);
  EXPECT_EQ(changed([](auto& p) { p.erase("view"); }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["hand"][0] = "X1"; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["hand"].push_back("K1"); }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["positions"][0] = 5; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["deckLeft"] = 53; }), 0);
  // Numbers that a plain conversion would cut into range are refused.
  EXPECT_EQ(changed([](auto& p) { p["search"] = 4294967336ULL; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["deckLeft"] = 2.1e20; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["positions"][0] = 4294967297ULL; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["floorCount"] = 1.5; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["opponentCards"] = -1; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["human"] = false; }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"].erase("plays"); }), 0);
  EXPECT_EQ(changed([](auto& p) { p["view"]["plays"] = {{{"card", "K14"}}}; }), 0);
}

}  // namespace
}  // namespace tesva::record

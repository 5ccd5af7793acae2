// The hint's position as the browser's worker gets it: every view of a
// played game comes back whole from its JSON and gives the same hint, and
// a position no game gives is refused with no hint rather than searched.
#include <gtest/gtest.h>

#include "record/hint.h"
#include "record/hint_position.h"
#include "support/seeded.h"
#include "test_support.h"

namespace tesva::record {
namespace {

constexpr int kSearch = 40;

TEST(HintPosition, EveryViewOfAGameComesBackWholeWithTheSameHint) {
  int views = 0;
  for (std::uint64_t seed = 1; seed <= 4; ++seed) {
    MemoryPlatform io(seed);
    Game g(io.services());
    WriteOption(g, kKeyLevel, "1");
    Form_Load(g);
    auto pick = Seeded(seed);
    for (int events = 0; events < 300 && g.HandNo != 0; ++events) {
      if (!g.Timer1.enabled && !g.Timer2.enabled && HintAvailable(g)) {
        SeatView view = ViewOf(g, Seat::kHuman);
        std::string text = HintPositionJson(view, kSearch).dump();
        auto back = SeatViewFromJson(SeatViewJson(view).dump());
        ASSERT_TRUE(back) << text;
        ASSERT_EQ(*back, view) << text;
        ASSERT_EQ(HintSlotIn(text), HintSlot(view, kSearch)) << text;
        ++views;
      }
      if (!PlayEvent(g, RandomSlot(pick))) break;
    }
  }
  EXPECT_GT(views, 40);
}

TEST(HintPosition, APositionNoGameGivesIsRefused) {
  MemoryPlatform io(7);
  Game g(io.services());
  Form_Load(g);
  nlohmann::json good = HintPositionJson(ViewOf(g, Seat::kHuman), kSearch);
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

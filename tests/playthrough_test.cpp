// Whole games of eleven hands with a fixed seed: the human plays at random and
// every other event of the window is thrown in, and the soak's checker checks
// the rules after every event (each card in one place, the scores, the turn).
#include <gtest/gtest.h>

#include <random>

#include "checked_game.h"
#include "shell/main_window.h"

namespace tesva::soak {
namespace {

constexpr std::string_view kHandCards[] = {"Player1_Kart(1)", "Player1_Kart(2)", "Player1_Kart(3)",
                                           "Player1_Kart(4)"};
// Events that a player may give at any moment, besides playing.
const Event kNoise[] = {
    {Verb::kHover, "Player1_Kart(2)", {}},
    {Verb::kHover, "Player1_Kart(4)", {}},
    {Verb::kHover, "main", {}},
    {Verb::kClick, "Player1_Kart(1)", {}},
    {Verb::kMenu, "mnuHelp", {}},
    {Verb::kMenu, "mnuPro", {}},
    {Verb::kMenu, "mnuAmator", {}},
    {Verb::kMenu, "mnuUsta", {}},
    {Verb::kMenu, "mnuStandart", {}},
    {Verb::kMenu, "mnuRenkli", {}},
    {Verb::kMenu, "mnuSesler", {}},
    {Verb::kMenu, "mnuFirst", {}},
    {Verb::kReply, {}, "GateKeeper"},
    {Verb::kClick, "Player1_Name", {}},
    {Verb::kClick, "Player2_Name", {}},
};

class PlayThrough {
 public:
  explicit PlayThrough(std::uint64_t seed) : game_(seed), rng_(seed) {
    Apply({Verb::kStart, {}, {}});
  }

  // Plays until `games` games have ended; returns their results.
  std::vector<std::string> Play(int games) {
    std::vector<std::string> results;
    for (int events = 0; game_.GamesEnded() < games; ++events) {
      if (events > 200000 || testing::Test::HasFatalFailure()) {
        ADD_FAILURE() << "the games do not end";
        break;
      }
      Step();
      if (game_.GamesEnded() > static_cast<int>(results.size())) {
        results.push_back(game_.game().Label1.caption);
        Apply({Verb::kMenu, "mnuYeni", {}});
      }
    }
    return results;
  }

 private:
  void Apply(const Event& event) {
    auto failure = game_.Apply(event);
    ASSERT_FALSE(failure) << *failure << " after " << ScriptLine(event);
  }

  void Step() {
    const Game& g = game_.game();
    if (rng_() % 10 < 2) return Apply(kNoise[rng_() % std::size(kNoise)]);
    if (g.Picture1Visible) return Apply({Verb::kClick, "Command1", {}});
    if (g.Timer1.enabled) return Apply({Verb::kTick, "Timer1", {}});
    if (g.Timer2.enabled) return Apply({Verb::kTick, "Timer2", {}});
    std::vector<std::string_view> enabled;
    for (int i = 1; i <= 4; ++i) {
      if (g.Player1_Kart(i).enabled) enabled.push_back(kHandCards[i - 1]);
    }
    if (!enabled.empty()) Apply({Verb::kClick, enabled[rng_() % enabled.size()], {}});
  }

  CheckedGame game_;
  std::mt19937 rng_;
};

TEST(PlayThrough, WholeGamesKeepTheRules) {
  for (std::uint64_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    auto results = PlayThrough(seed).Play(3);
    ASSERT_EQ(results.size(), 3u);
    for (const auto& result : results) {
      EXPECT_TRUE(result.starts_with(" Oyun bitti. --- GateKeeper: ")) << result;
    }
  }
}

}  // namespace
}  // namespace tesva::soak

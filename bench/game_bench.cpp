// Complete 11-hand games: the human side plays its first enabled card
// through the click handler and the timers are fired directly, no sleeping.
// The instructions of "a benchmark game" that the engine's comments quote
// are one such amateur game's, counted by tesva-game-count (game_count.cpp).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include "cpu/computer.h"
#include "cpu/usta.h"
#include "engine/engine.h"
#include "null_sound.h"
#include "platform/memory.h"
#include "play_to_the_end.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

void CompleteGames(benchmark::State& state) {
  BenchTable table(static_cast<int>(state.range(0)));
  Game& g = table.g;
  for (auto _ : state) {
    PlayToTheEnd(g);
    mnuYeni_Click(g);  // a finished game starts the next without asking
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(state.range(0) == 2 ? "professional" : "amateur");
}
BENCHMARK(CompleteGames)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void Shuffle(benchmark::State& state) {
  ScriptedRandom random(7);
  for (auto _ : state) benchmark::DoNotOptimize(ShuffleDeck(random));
}
BENCHMARK(Shuffle)->Unit(benchmark::kMicrosecond);

// The positions the master met as the computer in whole games against the
// professional (played with a small search), with the seed of each move.
struct Decision {
  SeatView view;
  std::uint64_t seed;
};

const std::vector<Decision>& MasterDecisions() {
  static const auto decisions = [] {
    std::vector<Decision> found;
    MemoryStore store;
    NullSound sound;
    ScriptedRandom random(2027);
    ScriptedDialogs dialogs;
    MemoryHost host;
    Game g({store, sound, random, dialogs, host});
    WriteOption(g, kKeyLevel, "3");
    g.UstaSearch = 1;
    Form_Load(g);
    std::uint64_t seed = 1;
    for (int games = 0; games < 4; ++games) {
      while (g.HandNo != 0) {
        if (g.Timer1.enabled) {
          if (g.List2.items.size() > 1) found.push_back({ViewOf(g, Seat::kComputer), seed++});
          Timer1_Timer(g);
        } else if (g.Timer2.enabled) {
          Timer2_Timer(g);
        } else {
          std::vector<std::string> hand;
          std::vector<int> slots;
          for (int i = 1; i <= kHandSize; ++i) {
            if (!g.Player1_Hand(i).empty()) hand.push_back(g.Player1_Hand(i)), slots.push_back(i);
          }
          Player1_Kart_Click(g, slots[RulesChoice(g, kProfessional, hand) - 1]);
        }
      }
      mnuYeni_Click(g);
    }
    return found;
  }();
  return decisions;
}

// One decision of the master, each iteration another position of real
// games; the median and the 99th percentile of the decisions' processor
// times (one core, whatever else the machine runs) are reported as counters
// in milliseconds.
void MasterDecision(benchmark::State& state) {
  const auto& decisions = MasterDecisions();
  const int search = static_cast<int>(state.range(0));
  std::vector<double> times;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto& d = decisions[next++ % decisions.size()];
    std::clock_t start = std::clock();
    benchmark::DoNotOptimize(UstaDecide(d.view, d.seed, search));
    times.push_back(1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  std::sort(times.begin(), times.end());
  auto at = [&](double q) { return times[static_cast<std::size_t>(q * (times.size() - 1))]; };
  state.counters["median_ms"] = at(0.5);
  state.counters["p99_ms"] = at(0.99);
  state.counters["positions"] = static_cast<double>(std::min(times.size(), decisions.size()));
  state.SetLabel(search == kUstaFullSearch ? "full search" : "smallest search");
}
BENCHMARK(MasterDecision)->Arg(kUstaFullSearch)->Iterations(800)->Unit(benchmark::kMillisecond);
BENCHMARK(MasterDecision)->Arg(1)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesva

BENCHMARK_MAIN();

// Complete 11-hand games: the human side plays its first enabled card
// through the click handler and the timers are fired directly, no sleeping.
#include <benchmark/benchmark.h>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

class NullSound : public SoundPlayer {
 public:
  void Play(const std::string&) override {}
};

void PlayToTheEnd(Game& g) {
  while (g.HandNo != 0) {
    if (g.Timer1.enabled) {
      Timer1_Timer(g);
    } else if (g.Timer2.enabled) {
      Timer2_Timer(g);
    } else {
      for (int i = 1; i <= kHandSize; ++i) {
        if (g.Player1_Kart(i).enabled) {
          Player1_Kart_Click(g, i);
          break;
        }
      }
    }
  }
}

void CompleteGames(benchmark::State& state) {
  MemoryStore store;
  NullSound sound;
  ScriptedRandom random(2026);
  ScriptedDialogs dialogs;
  MemoryHost host;
  Game g({store, sound, random, dialogs, host});
  if (state.range(0) == 2) WriteOption(g, kKeyLevel, "2");
  Form_Load(g);
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

}  // namespace
}  // namespace tesva

BENCHMARK_MAIN();

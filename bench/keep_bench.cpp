// The cost of keeping the game after an event: what the window's thread
// pays (following the game for the record and copying it for the writing
// thread), and what the writing thread pays to turn the copy into bytes.
#include <benchmark/benchmark.h>

#include "platform/memory.h"
#include "play_to_the_end.h"
#include "record/kept_game.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

// A game in the middle of its second hand.
struct MidGame {
  MemoryPlatform io{21};
  Game g{io.services()};
  record::GameTally tally;
  MidGame() {
    Form_Load(g);
    for (int events = 0; events < 60; ++events) {
      PlayOneEvent(g);
      record::FollowGame(g, tally);
    }
  }
};

void KeepOnTheWindowsThread(benchmark::State& state) {
  MidGame m;
  for (auto _ : state) {
    benchmark::DoNotOptimize(record::FollowGame(m.g, m.tally));
    auto kept = record::KeepOf(m.g, m.tally);
    benchmark::DoNotOptimize(kept);
  }
}
BENCHMARK(KeepOnTheWindowsThread)->Unit(benchmark::kMicrosecond);

void KeptGameToBytes(benchmark::State& state) {
  MidGame m;
  auto kept = record::KeepOf(m.g, m.tally);
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto written = record::WriteKeptGame(kept);
    bytes = std::get<std::string>(written).size();
    benchmark::DoNotOptimize(written);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(KeptGameToBytes)->Unit(benchmark::kMicrosecond);

void KeptGameFromBytes(benchmark::State& state) {
  MidGame m;
  auto bytes = std::get<std::string>(record::WriteKeptGame(record::KeepOf(m.g, m.tally)));
  for (auto _ : state) benchmark::DoNotOptimize(record::ReadKeptGame(bytes));
}
BENCHMARK(KeptGameFromBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesva

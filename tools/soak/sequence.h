// One soak sequence: a fresh game whose options store may hold hostile texts
// under any key, then 50 to 500 events chosen at random among everything a
// player or the window can deliver at that moment, and some that it cannot.
// The sequence is fixed by its seed, which also seeds the game's random
// source as TESVA_SEED does for tesva-headless; its lines replay there.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "checked_game.h"

namespace tesva::soak {

inline constexpr int kMinEvents = 50;
inline constexpr int kMaxEvents = 500;

struct SequenceResult {
  std::uint64_t seed = 0;
  int events = 0;  // events chosen after start-up
  std::optional<std::string> failure;
  std::vector<Event> script;  // every line carried out, the failing one last
};

// Where a running sequence is, for a watcher on another thread.
struct Progress {
  std::atomic<std::uint64_t> seed{0};
  std::atomic<std::size_t> line{0};
};

// Runs sequence `seed` on a fresh `game` until its last event or the first
// broken invariant. With `stopAt`, carries out only the lines before that
// index; the script then ends with the line that would have come next.
SequenceResult RunSequence(CheckedGame& game, std::uint64_t seed, Progress* progress = nullptr,
                           std::optional<std::size_t> stopAt = std::nullopt);

// The script that replays `result` in tesva-headless, with comment lines
// that say what broke and how to run it, ending with a dump.
std::string ReplayScript(const SequenceResult& result);

}  // namespace tesva::soak

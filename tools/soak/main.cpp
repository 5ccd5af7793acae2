// tesva-soak [--sequences N] [--seed S] [--jobs J]
//
// Runs N random event sequences through the game's core (N = 1000 unless
// given), spread over J threads (one per processor unless given), and checks
// every invariant of the game after every event. Sequence i has the seed
// S + i; S is drawn at random unless given, and the summary names it.
//
// On the first broken invariant, or on an event that has not returned after
// ten seconds, the run stops and writes to standard output a tesva-headless
// script that replays the sequence up to that event:
//
//   tesva-soak --sequences 100000 > failure.txt
//   TESVA_SEED=<the seed in failure.txt> TESVA_USTA_SEARCH=2 tesva-headless failure.txt
//
// While it runs, a progress line goes to standard error when that is a
// terminal; at the end a summary line: sequences, events, failures, events
// per second. Exit status: 0 when no sequence failed, 1 when one did, 2 for a
// wrong command line.
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sequence.h"

namespace {

using Clock = std::chrono::steady_clock;
using tesva::soak::SequenceResult;

constexpr auto kHangAfter = std::chrono::seconds(10);
constexpr auto kLook = std::chrono::milliseconds(50);
constexpr auto kProgressEvery = std::chrono::milliseconds(500);

struct Settings {
  std::uint64_t sequences = 1000;
  std::uint64_t seed = 0;
  unsigned jobs = 1;
};

std::optional<std::uint64_t> Number(std::string_view text) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

std::optional<Settings> ParseArguments(int argc, char** argv) {
  Settings settings;
  std::random_device device;
  settings.seed = (std::uint64_t{device()} << 32) | device();
  settings.jobs = std::max(1u, std::thread::hardware_concurrency());
  for (int i = 1; i < argc; i += 2) {
    std::string_view flag = argv[i];
    auto value = i + 1 < argc ? Number(argv[i + 1]) : std::nullopt;
    if (!value) return {};
    if (flag == "--sequences" && *value > 0) {
      settings.sequences = *value;
    } else if (flag == "--seed") {
      settings.seed = *value;
    } else if (flag == "--jobs" && *value > 0 && *value <= 256) {
      settings.jobs = static_cast<unsigned>(*value);
    } else {
      return {};
    }
  }
  return settings;
}

// One thread's share of the run, and where it is, for the watcher.
struct Worker {
  tesva::soak::Progress progress;
  std::atomic<std::uint64_t> events{0};
  std::atomic<bool> busy{true};
  // The watcher's own notes.
  std::uint64_t seenSeed = 0;
  std::size_t seenLine = 0;
  Clock::time_point seenSince = Clock::now();
};

struct Run {
  Settings settings;
  std::atomic<std::uint64_t> next{0};
  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::optional<SequenceResult> failure;
  int failures = 0;
};

void Work(Run& run, Worker& worker) {
  while (!run.stop.load(std::memory_order_relaxed)) {
    auto index = run.next.fetch_add(1);
    if (index >= run.settings.sequences) break;
    auto seed = run.settings.seed + index;
    tesva::soak::CheckedGame game(seed);
    auto result = tesva::soak::RunSequence(game, seed, &worker.progress);
    worker.events.fetch_add(static_cast<std::uint64_t>(result.events), std::memory_order_relaxed);
    run.done.fetch_add(1, std::memory_order_relaxed);
    if (result.failure) {
      std::lock_guard lock(run.mutex);
      ++run.failures;
      if (!run.failure) run.failure = std::move(result);
      run.stop = true;
    }
  }
  worker.busy = false;
}

std::uint64_t Events(const std::vector<Worker>& workers) {
  std::uint64_t events = 0;
  for (const auto& worker : workers) events += worker.events.load(std::memory_order_relaxed);
  return events;
}

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string Figures(const std::string& sequences, std::uint64_t events, int failures,
                    double seconds) {
  return sequences + " sequences, " + std::to_string(events) + " events, " +
         std::to_string(failures) + " failures, " +
         std::to_string(static_cast<std::uint64_t>(events / std::max(seconds, 1e-9))) + " events/s";
}

// A worker whose event has not returned for too long: the sequence is run
// again up to that event, and the script that leads to it is the report.
[[noreturn]] void ReportHang(const Worker& worker) {
  auto seed = worker.progress.seed.load();
  auto line = worker.progress.line.load();
  tesva::soak::CheckedGame game(seed);
  auto result = tesva::soak::RunSequence(game, seed, nullptr, line);
  result.failure = "the event does not return within ten seconds";
  std::cout << tesva::soak::ReplayScript(result) << std::flush;
  std::cerr << "tesva-soak: sequence " << seed << " hangs; its script is on standard output\n";
  std::_Exit(1);  // the hung thread cannot be joined
}

void Watch(Run& run, std::vector<Worker>& workers, Clock::time_point start) {
  bool terminal = ::isatty(STDERR_FILENO) == 1;
  auto lastProgress = start;
  for (bool busy = true; busy;) {
    std::this_thread::sleep_for(kLook);
    busy = false;
    auto now = Clock::now();
    for (auto& worker : workers) {
      if (!worker.busy) continue;
      busy = true;
      auto seed = worker.progress.seed.load(std::memory_order_relaxed);
      auto line = worker.progress.line.load(std::memory_order_relaxed);
      if (seed != worker.seenSeed || line != worker.seenLine) {
        worker.seenSeed = seed;
        worker.seenLine = line;
        worker.seenSince = now;
      } else if (now - worker.seenSince > kHangAfter) {
        ReportHang(worker);
      }
    }
    if (terminal && now - lastProgress >= kProgressEvery) {
      lastProgress = now;
      auto done = std::to_string(run.done.load()) + "/" + std::to_string(run.settings.sequences);
      std::cerr << "\rtesva-soak: "
                << Figures(done, Events(workers), run.stop ? 1 : 0, Seconds(start)) << std::flush;
    }
  }
  if (terminal) std::cerr << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  auto settings = ParseArguments(argc, argv);
  if (!settings) {
    std::cerr << "usage: tesva-soak [--sequences N] [--seed S] [--jobs J]\n";
    return 2;
  }
  Run run;
  run.settings = *settings;
  std::vector<Worker> workers(settings->jobs);
  auto start = Clock::now();
  std::vector<std::thread> threads;
  for (auto& worker : workers) threads.emplace_back(Work, std::ref(run), std::ref(worker));
  Watch(run, workers, start);
  for (auto& thread : threads) thread.join();
  double seconds = Seconds(start);

  if (run.failure) std::cout << tesva::soak::ReplayScript(*run.failure) << std::flush;
  char timing[64];
  std::snprintf(timing, sizeof timing, "%.1f s", seconds);
  std::cerr << "tesva-soak: "
            << Figures(std::to_string(run.done.load()), Events(workers), run.failures, seconds)
            << " (seed " << settings->seed << ", " << settings->jobs << " jobs, " << timing
            << ")\n";
  if (run.failure) {
    std::cerr << "tesva-soak: sequence " << run.failure->seed
              << " broke an invariant; its script is on standard output\n";
  }
  return run.failure ? 1 : 0;
}

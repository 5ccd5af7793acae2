// tesva-arena: plays complete games between two players and reports who
// wins, with the human seat's win rate and its 95% confidence interval.
//
//   tesva-arena [--games N] [--seed S] [--hands H] [--jobs J] [--json] HUMAN COMPUTER
//
// HUMAN and COMPUTER are amator, pro, usta or greedy. Game k of a run is
// seeded from S and k, so the results do not depend on the number of
// threads. TESVA_USTA_SEARCH (a number from 1 up) sets the master's search
// size, as for tesva-headless.
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "arena.h"
#include "engine/game_state.h"

namespace {

using tesva::arena::Player;

constexpr int kUsageError = 2;
constexpr int kMaxHands = 99;

struct Options {
  int games = 1000;
  std::uint64_t seed = 1;
  int hands = tesva::kDefaultHandsPerGame;
  int jobs = std::max(1u, std::thread::hardware_concurrency());
  bool json = false;
  Player human = Player::kAmateur;
  Player computer = Player::kAmateur;
  int ustaSearch = tesva::kUstaFullSearch;
};

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "tesva-arena: " << message << "\n"
            << "usage: tesva-arena [--games N] [--seed S] [--hands H] [--jobs J] [--json] "
               "HUMAN COMPUTER\n"
            << "  HUMAN, COMPUTER: amator, pro, usta or greedy\n";
  std::exit(kUsageError);
}

template <class Number>
Number ParseNumber(std::string_view name, std::string_view text, Number low, Number high) {
  Number value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    Fail(std::string(name) + " needs a number from " + std::to_string(low) + " to " +
         std::to_string(high) + ", not \"" + std::string(text) + "\"");
  }
  return value;
}

Options ParseArguments(int argc, char** argv) {
  Options o;
  std::vector<std::string_view> players;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&]() -> std::string_view {
      if (i + 1 >= argc) Fail(std::string(arg) + " needs a value");
      return argv[++i];
    };
    if (arg == "--games") {
      o.games = ParseNumber<int>(arg, value(), 1, 100'000'000);
    } else if (arg == "--seed") {
      o.seed = ParseNumber<std::uint64_t>(arg, value(), 0, UINT64_MAX);
    } else if (arg == "--hands") {
      o.hands = ParseNumber<int>(arg, value(), 1, kMaxHands);
    } else if (arg == "--jobs") {
      o.jobs = ParseNumber<int>(arg, value(), 1, 1024);
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg.starts_with("-")) {
      Fail("unknown option " + std::string(arg));
    } else {
      players.push_back(arg);
    }
  }
  if (players.size() != 2) Fail("give two players, HUMAN and COMPUTER");
  auto human = tesva::arena::PlayerNamed(players[0]);
  auto computer = tesva::arena::PlayerNamed(players[1]);
  if (!human) Fail("unknown player " + std::string(players[0]));
  if (!computer) Fail("unknown player " + std::string(players[1]));
  o.human = *human;
  o.computer = *computer;
  if (const char* search = std::getenv("TESVA_USTA_SEARCH")) {
    o.ustaSearch = ParseNumber<int>("TESVA_USTA_SEARCH", search, 1, 1'000'000);
  }
  return o;
}

// Wilson's 95% interval for `wins` out of `n`.
std::pair<double, double> Wilson(int wins, int n) {
  constexpr double z = 1.959963984540054;
  double p = double(wins) / n;
  double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
  double half = z * std::sqrt(p * (1 - p) / n + z * z / (4.0 * n * n)) / (1 + z * z / n);
  return {centre - half, centre + half};
}

void ShowProgress(int done, int games, double seconds) {
  double rate = seconds > 0 ? done / seconds : 0;
  double left = rate > 0 ? (games - done) / rate : 0;
  std::fprintf(stderr, "\r%d/%d games, %.1f games/s, %.0f s left   ", done, games, rate, left);
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseArguments(argc, argv);
  std::vector<tesva::arena::GameResult> results(static_cast<std::size_t>(o.games));
  std::atomic<int> next{0}, done{0};
  auto work = [&] {
    for (int k = next++; k < o.games; k = next++) {
      results[static_cast<std::size_t>(k)] = tesva::arena::PlayGame(
          o.human, o.computer, o.hands, tesva::arena::GameSeed(o.seed, k), o.ustaSearch);
      ++done;
    }
  };
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < std::min(o.jobs, o.games); ++j) threads.emplace_back(work);
  const bool terminal = isatty(STDERR_FILENO) != 0;
  while (terminal && done < o.games) {
    ShowProgress(done, o.games, elapsed());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  for (auto& thread : threads) thread.join();
  const double seconds = elapsed();
  if (terminal) std::fprintf(stderr, "\r%*s\r", 60, "");

  int humanWon = 0, computerWon = 0;
  double humanPoints = 0, computerPoints = 0;
  for (const auto& r : results) {
    humanWon += r.humanPoints > r.computerPoints;
    computerWon += r.humanPoints < r.computerPoints;
    humanPoints += r.humanPoints;
    computerPoints += r.computerPoints;
  }
  const int drawn = o.games - humanWon - computerWon;
  const auto [low, high] = Wilson(humanWon, o.games);
  const std::string human(tesva::arena::NameOf(o.human));
  const std::string computer(tesva::arena::NameOf(o.computer));
  if (o.json) {
    nlohmann::json summary = {
        {"human", human},
        {"computer", computer},
        {"games", o.games},
        {"hands", o.hands},
        {"seed", o.seed},
        {"human_won", humanWon},
        {"computer_won", computerWon},
        {"drawn", drawn},
        {"human_win_rate", double(humanWon) / o.games},
        {"human_win_rate_ci95", {low, high}},
        {"human_mean_points", humanPoints / o.games},
        {"computer_mean_points", computerPoints / o.games},
        {"jobs", o.jobs},
        {"seconds", seconds},
        {"games_per_second", o.games / seconds},
    };
    std::cout << summary.dump() << '\n';
    return 0;
  }
  std::printf("%d games of %d hands, seed %llu: %s (human seat) against %s (computer seat)\n",
              o.games, o.hands, static_cast<unsigned long long>(o.seed), human.c_str(),
              computer.c_str());
  std::printf("  %s won %d, %s won %d, drawn %d\n", human.c_str(), humanWon, computer.c_str(),
              computerWon, drawn);
  std::printf("  %s's win rate %.1f%% (95%% interval %.1f%% to %.1f%%, Wilson)\n", human.c_str(),
              100.0 * humanWon / o.games, 100 * low, 100 * high);
  std::printf("  mean points a game: %s %.1f, %s %.1f\n", human.c_str(), humanPoints / o.games,
              computer.c_str(), computerPoints / o.games);
  std::printf("  %.1f s, %.1f games/s with %d jobs\n", seconds, o.games / seconds, o.jobs);
  return 0;
}

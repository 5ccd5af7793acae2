// tesva-headless [SCRIPT]: plays the game from a script of lines read from
// SCRIPT, or from standard input when no file is named, and writes the
// output of the script's commands to standard output.
//
// Exit status: 0 when every line was carried out, 1 when any line printed an
// "error:" line, 2 when the script cannot be read.
//
// Random draws that find no queued value come from the program's own
// generator. It is seeded from std::random_device, unless the environment
// variable TESVA_SEED holds a number (0 to 2^64-1 in decimal): then that
// number seeds it, and a run that queues no values can be replayed exactly.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string_view>

#include "headless/driver.h"

namespace {

std::optional<std::uint64_t> SeedFromEnvironment() {
  const char* text = std::getenv("TESVA_SEED");
  if (!text) return std::nullopt;
  std::string_view digits(text);
  std::uint64_t seed = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    std::cerr << "tesva-headless: TESVA_SEED is not a number, ignored: " << digits << '\n';
    return std::nullopt;
  }
  return seed;
}

std::uint64_t Seed() {
  if (auto seed = SeedFromEnvironment()) return *seed;
  std::random_device device;
  return (std::uint64_t{device()} << 32) | device();
}

int RunScript(std::istream& in) {
  tesva::Driver driver(std::cout, Seed());
  driver.Run(in);
  std::cout.flush();
  if (in.bad()) {
    std::cerr << "tesva-headless: reading the script failed\n";
    return 2;
  }
  return driver.ExitStatus();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: tesva-headless [SCRIPT]\n";
    return 2;
  }
  if (argc == 1) return RunScript(std::cin);

  std::error_code error;
  if (std::filesystem::is_directory(argv[1], error)) {
    std::cerr << "tesva-headless: cannot read " << argv[1] << ": it is a folder\n";
    return 2;
  }
  std::ifstream script(argv[1], std::ios::binary);
  if (!script) {
    std::cerr << "tesva-headless: cannot read " << argv[1] << '\n';
    return 2;
  }
  return RunScript(script);
}

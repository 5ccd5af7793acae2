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
//
// The master level ("Usta") searches a fixed number of deals per move. The
// environment variable TESVA_USTA_SEARCH (a number from 1 up) sets another
// number: a stress run uses a small one to go fast, and its replay must use
// the same number, with the same TESVA_SEED, to repeat the run.
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

// The number held by the environment variable `name`; nothing when it is
// unset or, with a warning, not a number of this type.
template <class Number>
std::optional<Number> NumberFromEnvironment(const char* name) {
  const char* text = std::getenv(name);
  if (!text) return std::nullopt;
  std::string_view digits(text);
  Number number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    std::cerr << "tesva-headless: " << name << " is not a number, ignored: " << digits << '\n';
    return std::nullopt;
  }
  return number;
}

std::uint64_t Seed() {
  if (auto seed = NumberFromEnvironment<std::uint64_t>("TESVA_SEED")) return *seed;
  std::random_device device;
  return (std::uint64_t{device()} << 32) | device();
}

int RunScript(std::istream& in) {
  tesva::Driver driver(std::cout, Seed());
  if (auto search = NumberFromEnvironment<int>("TESVA_USTA_SEARCH")) {
    if (*search >= 1) {
      driver.SetUstaSearch(*search);
    } else {
      std::cerr << "tesva-headless: TESVA_USTA_SEARCH must be 1 or more, ignored\n";
    }
  }
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

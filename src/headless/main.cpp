// tesva-headless [SCRIPT]: plays the game from a script of lines read from
// SCRIPT, or from standard input when no file is named, and writes the
// output of the script's commands to standard output.
// tesva-headless --help | --version: says how to run it, or its version.
//
// Exit status: 0 when every line was carried out, 1 when any line printed an
// "error:" line, 2 when the script cannot be read or the command line is
// not one of these.
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

constexpr int kUsageError = 2;

constexpr std::string_view kUsage =
    "usage: tesva-headless [SCRIPT]\n"
    "       tesva-headless --help | --version\n";

constexpr std::string_view kHelp =
    "Plays Tesva with no window, driven by the script of events in SCRIPT (standard input\n"
    "when no file is named), and prints the game's whole state as JSON where the script\n"
    "says dump. See tesva-headless(6) for the script lines.\n"
    "\n"
    "  -h, --help     Displays this help.\n"
    "  -v, --version  Displays the version.\n"
    "\n"
    "Exit status: 0 when every line was carried out, 1 when a line printed an error,\n"
    "2 when SCRIPT cannot be read or the command line is wrong.\n";

int UsageError(std::string_view problem) {
  std::cerr << "tesva-headless: " << problem << '\n' << kUsage;
  return kUsageError;
}

// Answers --help and --version and turns away any other option; nothing
// when the arguments name a script (or none) to run.
std::optional<int> ReadOptions(int argc, char** argv) {
  if (argc < 2 || argv[1][0] != '-' || argv[1][1] == '\0') {
    if (argc > 2) return UsageError("more than one script named");
    return std::nullopt;
  }
  std::string_view option(argv[1]);
  bool help = option == "-h" || option == "--help";
  bool version = option == "-v" || option == "--version";
  if (!help && !version) return UsageError("unknown option " + std::string(option));
  if (argc > 2) return UsageError(std::string(option) + " takes nothing after it");
  if (help) {
    std::cout << kUsage << '\n' << kHelp;
  } else {
    std::cout << "tesva-headless " TESVA_VERSION "\n";
  }
  return 0;
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
  if (std::optional<int> status = ReadOptions(argc, argv)) return *status;
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

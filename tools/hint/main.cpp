// tesva-hint: plays a headless script from standard input, as tesva-headless
// does (TESVA_SEED seeds it), and at each line "hint" prints the hand slot
// that the desktop's hint marks in the game as it stands: the master's card
// from the player's seat, 1 to 4, or 0 when no card can be played. The
// script's own output (dump, echo, errors) goes to standard error.
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "cpu/seat_view.h"
#include "headless/driver.h"
#include "record/hint.h"

namespace {

std::uint64_t Seed() {
  const char* text = std::getenv("TESVA_SEED");
  std::uint64_t seed = 0;
  if (text) std::from_chars(text, text + std::string_view(text).size(), seed);
  return seed;
}

int HintNow(const tesva::Game& game) {
  if (!tesva::record::HintAvailable(game)) return 0;
  return tesva::record::HintSlot(tesva::ViewOf(game, tesva::Seat::kHuman), game.UstaSearch);
}

}  // namespace

int main() {
  tesva::Driver driver(std::cerr, Seed());
  std::string line;
  while (std::getline(std::cin, line)) {
    if (line == "hint") {
      std::cout << HintNow(driver.game()) << '\n';
    } else {
      driver.Line(line);
    }
  }
  return driver.ExitStatus();
}

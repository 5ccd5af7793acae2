// The professional's discard: keep the jacks, and when every rank in hand
// has been seen twice already, lead the first card.
#include <algorithm>

#include "cpu/computer.h"
#include "engine/engine.h"

namespace tesva {
namespace {

// True when the tracker shows exactly two cards of this card's rank seen.
bool SeenTwice(const Game& g, const std::string& card) {
  return g.Cikanlar(Rank(card)).caption == "2";
}

}  // namespace

int ProfessionalDiscard(Game& g, const std::vector<std::string>& hand) {
  // The hand's size is the cards-left count of its seat.
  const int n = static_cast<int>(hand.size());
  if (n < 2) return 1;

  // A drawn jack is drawn again, unless the hand holds nothing but jacks.
  bool allJacks = std::all_of(hand.begin(), hand.end(), [](auto& c) { return IsJack(c); });
  int drawn = DrawnPosition(g.io.random.Uniform(), n);
  while (!allJacks && IsJack(hand[drawn - 1])) {
    drawn = DrawnPosition(g.io.random.Uniform(), n);
  }

  if (n == 2) {
    // A pair of one rank keeps the draw; two ranks both seen twice lead the
    // first card.
    if (RankText(hand[0]) == RankText(hand[1])) return drawn;
    return SeenTwice(g, hand[0]) && SeenTwice(g, hand[1]) ? 1 : drawn;
  }
  bool everySeenTwice =
      std::all_of(hand.begin(), hand.end(), [&](auto& c) { return SeenTwice(g, c); });
  return everySeenTwice ? 1 : drawn;
}

}  // namespace tesva

// Stacked decks written as card names, for tests of every room.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cards.h"

namespace tesva {

// A deck in dealing order that starts with `first` (floor cards, then the
// first deal...) and goes on with every other card in suit and rank order.
inline std::vector<std::string> Deck(std::vector<std::string> first) {
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 1; rank <= kRanks; ++rank) {
      auto code = CardCode(suit, rank);
      if (std::find(first.begin(), first.end(), code) == first.end()) first.push_back(code);
    }
  }
  return first;
}

inline std::vector<std::string> Deck(std::initializer_list<std::string_view> first = {}) {
  return Deck(std::vector<std::string>(first.begin(), first.end()));
}

}  // namespace tesva

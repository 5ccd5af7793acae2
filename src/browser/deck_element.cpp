#include "browser/deck_element.h"

#include <array>
#include <utility>

namespace tesva {
namespace {

// The game's suit letters beside the decks' suit names: Kupa, Karo, Sinek, Maça.
constexpr std::array<std::pair<char, const char*>, 4> kSuits = {
    {{'K', "heart"}, {'D', "diamond"}, {'S', "club"}, {'M', "spade"}}};

std::string RankName(int rank) {
  switch (rank) {
    case 11:
      return "jack";
    case 12:
      return "queen";
    case 13:
      return "king";
    default:
      return std::to_string(rank);
  }
}

// A plain rank 1 to 13: digits only, no sign, no leading zero.
int RankOf(std::string_view text) {
  if (text.empty() || text.size() > 2 || text.front() == '0') return 0;
  int rank = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return 0;
    rank = rank * 10 + (digit - '0');
  }
  return rank <= 13 ? rank : 0;
}

}  // namespace

std::optional<DeckElement> DeckElementOf(std::string_view picture) {
  // Faces come from the standard deck, the coloured back from the nicu deck.
  if (picture == "Back") return DeckElement{"backs", "back_c1"};
  if (picture == "Back2") return DeckElement{"faces", "back"};
  if (picture.empty()) return std::nullopt;
  for (const auto& [letter, suit] : kSuits) {
    if (picture.front() != letter) continue;
    int rank = RankOf(picture.substr(1));
    if (rank == 0) return std::nullopt;
    return DeckElement{"faces", RankName(rank) + '_' + suit};
  }
  return std::nullopt;
}

}  // namespace tesva

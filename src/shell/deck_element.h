// Where a card picture is drawn from: the KDE decks' element ids (faces
// from the standard deck, the "Back" card back from nicu's white deck,
// "Back2" from the standard deck), the same for every table. Header-only,
// so that the window's loadable decks library takes it without the core.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tesva {

namespace deck_element_detail {

// The game's suit letters beside the decks' suit names: Kupa, Karo, Sinek, Maça.
inline constexpr std::array<std::pair<char, const char*>, 4> kSuits = {
    {{'K', "heart"}, {'D', "diamond"}, {'S', "club"}, {'M', "spade"}}};

inline std::string RankName(int rank) {
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
inline int RankOf(std::string_view text) {
  if (text.empty() || text.size() > 2 || text.front() == '0') return 0;
  int rank = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return 0;
    rank = rank * 10 + (digit - '0');
  }
  return rank <= 13 ? rank : 0;
}

}  // namespace deck_element_detail

struct DeckElement {
  std::string deck;  // "faces" or "backs"
  std::string id;    // "10_diamond", "jack_club", "back_c1"
};

// Nothing for "" (an empty place) or a name that is no picture.
inline std::optional<DeckElement> DeckElementOf(std::string_view picture) {
  // Faces come from the standard deck, the coloured back from the nicu deck.
  if (picture == "Back") return DeckElement{"backs", "back_c1"};
  if (picture == "Back2") return DeckElement{"faces", "back"};
  if (picture.empty()) return std::nullopt;
  for (const auto& [letter, suit] : deck_element_detail::kSuits) {
    if (picture.front() != letter) continue;
    int rank = deck_element_detail::RankOf(picture.substr(1));
    if (rank == 0) return std::nullopt;
    return DeckElement{"faces", deck_element_detail::RankName(rank) + '_' + suit};
  }
  return std::nullopt;
}

}  // namespace tesva

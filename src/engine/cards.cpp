#include "engine/cards.h"

#include <algorithm>
#include <charconv>

namespace tesva {

std::string_view RankText(std::string_view code) {
  return code.empty() ? code : code.substr(1);
}

int Rank(std::string_view code) {
  auto text = RankText(code);
  int rank = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rank);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return (rank >= 1 && rank <= kRanks) ? rank : 0;
}

bool IsJack(std::string_view code) {
  return RankText(code) == kJackRank;
}

bool IsCardBack(std::string_view picture) {
  return picture == kColouredBack || picture == kStandardBack;
}

std::string CardCode(int suit, int rank) {
  return std::string(kSuits[suit]) + std::to_string(rank);
}

bool IsCardCode(std::string_view code) {
  if (code.empty()) return false;
  bool suit = std::find(kSuits.begin(), kSuits.end(), code.substr(0, 1)) != kSuits.end();
  return suit && Rank(code) != 0 && CardCode(0, Rank(code)).substr(1) == code.substr(1);
}

int DrawnPosition(double u, int n) {
  auto position = static_cast<int>(RoundHalfEven(u * n));
  return position < 1 ? 1 : position;
}

bool IsFullDeck(const std::vector<std::string>& cards) {
  if (cards.size() != kDeckSize) return false;
  std::array<bool, kDeckSize> seen{};
  for (const auto& card : cards) {
    if (!IsCardCode(card)) return false;
    int index = static_cast<int>(std::find(kSuits.begin(), kSuits.end(), card.substr(0, 1)) -
                                 kSuits.begin()) *
                    kRanks +
                Rank(card) - 1;
    if (seen[index]) return false;
    seen[index] = true;
  }
  return true;
}

int PointValue(std::string_view code) {
  for (std::size_t i = 0; i < kPointCards.size(); ++i) {
    if (kPointCards[i] == code) return i == 8 ? 2 : i == 9 ? 3 : 1;
  }
  return 0;
}

int TesvaPoints(std::string_view rank) {
  if (rank == kAceRank) return kTesvaOnAce;
  if (rank == kJackRank) return kTesvaOnJack;
  return kTesvaOnOther;
}

std::string PicturePath(std::string_view folder, std::string_view name) {
  return std::string(folder) + "/Data/" + std::string(name) + ".grf";
}

std::string SoundPath(std::string_view folder, std::string_view file) {
  return std::string(folder) + "/Data/" + std::string(file);
}

std::string DeckCountText(int deckPos) {
  return "Deste (" + std::to_string(kDeckSize - deckPos) + ")";
}

}  // namespace tesva

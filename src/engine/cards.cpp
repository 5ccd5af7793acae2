#include "engine/cards.h"

#include <algorithm>
#include <charconv>

namespace tesva {

std::string_view RankText(std::string_view code) {
  return code.empty() ? code : code.substr(1);
}

int Rank(std::string_view code) {
  // One or two decimal digits after the suit letter, no leading zero.
  auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
  if (code.size() < 2 || code.size() > 3) return 0;
  int rank = digit(code[1]);
  if (code.size() == 3) {
    int ones = digit(code[2]);
    if (rank <= 0 || ones < 0) return 0;
    rank = rank * 10 + ones;
  }
  return (rank >= 1 && rank <= kRanks) ? rank : 0;
}

bool IsJack(std::string_view code) {
  // RankText(code) == kJackRank, letter by letter: every move asks it of
  // several cards (27,000 instructions fewer a benchmark game).
  static_assert(kJackRank == "11");
  return code.size() == 3 && code[1] == '1' && code[2] == '1';
}

bool IsCardBack(std::string_view picture) {
  return picture == kColouredBack || picture == kStandardBack;
}

std::string CardCode(int suit, int rank) {
  return std::string(kSuits[suit]) + std::to_string(rank);
}

int CardIdOf(std::string_view code) {
  // Rank() takes only 1 to 13 written without a leading zero.
  int rank = Rank(code);
  if (rank == 0) return -1;
  auto suit = std::find(kSuits.begin(), kSuits.end(), code.substr(0, 1)) - kSuits.begin();
  return suit < static_cast<int>(kSuits.size()) ? static_cast<int>(suit) * kRanks + rank - 1 : -1;
}

bool IsCardCode(std::string_view code) {
  return CardIdOf(code) >= 0;
}

int DrawnPosition(double u, int n) {
  auto position = static_cast<int>(RoundHalfEven(u * n));
  return position < 1 ? 1 : position;
}

bool IsFullDeck(const std::vector<std::string>& cards) {
  if (cards.size() != kDeckSize) return false;
  std::array<bool, kDeckSize> seen{};
  for (const auto& card : cards) {
    int index = CardIdOf(card);
    if (index < 0 || seen[index]) return false;
    seen[index] = true;
  }
  return true;
}

int PointValue(std::string_view code) {
  // The point table read by rank: its first eight entries are the four
  // aces and the four jacks.
  int rank = Rank(code);
  if (rank == 1 || rank == 11) return 1;
  // The last two by rank and suit letter, which a code of that rank has
  // written out: no comparison of texts on every card played (6,400
  // instructions fewer a benchmark game).
  static_assert(kPointCards[8] == "S2" && kPointCards[9] == "D10");
  if (rank == 2 && code[0] == 'S') return 2;
  if (rank == 10 && code[0] == 'D') return 3;
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
  // Written into one buffer: the caption is made at every deal, and this is
  // 12,600 instructions a benchmark game fewer than adding texts.
  char text[24] = "Deste (";
  char* end = std::to_chars(text + 7, text + sizeof text - 1, kDeckSize - deckPos).ptr;
  *end++ = ')';
  return std::string(text, end);
}

std::optional<int> DeckCountIn(std::string_view text) {
  constexpr std::string_view kHead = "Deste (";
  if (!text.starts_with(kHead) || !text.ends_with(')')) return std::nullopt;
  std::string_view digits = text.substr(kHead.size(), text.size() - kHead.size() - 1);
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  int count = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + (c - '0');
  }
  if (count > kDeckSize) return std::nullopt;
  return count;
}

}  // namespace tesva

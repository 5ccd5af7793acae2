#include "shell/card_names.h"

#include <algorithm>
#include <array>

#include "engine/cards.h"

namespace tesva {
namespace {

constexpr std::array<std::string_view, 4> kSuitNames = {"Kupa", "Karo", "Sinek", "Maça"};

std::string RankName(int rank) {
  switch (rank) {
    case 1:
      return "As";
    case 11:
      return "Vale";
    case 12:
      return "Kız";
    case 13:
      return "Papaz";
    default:
      return std::to_string(rank);
  }
}

// "Aldığın kağıtlar (12): Karo 7"; an empty pile is "…: Boş".
std::string CountedName(std::string_view pile, std::string_view top, int count) {
  std::string counted = count > 1 ? " (" + std::to_string(count) + ")" : "";
  return std::string(pile) + counted + ": " + CardName(top);
}

}  // namespace

std::string CardName(std::string_view picture) {
  if (picture.empty()) return "Boş";
  if (IsCardBack(picture)) return "Kapalı kağıt";
  if (!IsCardCode(picture)) return std::string(picture);
  for (std::size_t suit = 0; suit < kSuits.size(); ++suit) {
    if (picture.substr(0, 1) == kSuits[suit]) {
      return std::string(kSuitNames[suit]) + " " + RankName(Rank(picture));
    }
  }
  return std::string(picture);
}

std::string AccessibleName(const Game& g, std::string_view element, int index) {
  if (element == "Player1_Kart") {
    return "Elindeki kağıt " + std::to_string(index) + ": " +
           CardName(g.Player1_Kart(index).picture);
  }
  if (element == "Player2_Kart") {
    bool held = !g.Player2_Kart(index).picture.empty();
    return "Bilgisayarın kağıdı " + std::to_string(index) + (held ? "" : ": Boş");
  }
  if (element == "Deste") return g.Label8.caption;
  if (element == "OrtadakiKartlar") {
    // The whole floor, the base card with it: one card alone can be taken
    // for a tesva.
    const std::string& top = g.OrtadakiKartlar.picture;
    if (top.empty() || g.FloorCount <= 1) return "Yerdeki kağıt: " + CardName(top);
    return "Yerdeki kağıtlar (" + std::to_string(g.FloorCount) + "): en üstte " + CardName(top);
  }
  if (element == "EnAltKart") return "Taban: " + CardName(g.EnAltKart.picture);
  if (element == "Player1_Deste") {
    return CountedName("Aldığın kağıtlar", g.Player1_Deste.picture, g.Player1_CardsTaken);
  }
  if (element == "Player2_Deste") {
    return CountedName("Bilgisayarın aldığı kağıtlar", g.Player2_Deste.picture,
                       g.Player2_CardsTaken);
  }
  return std::string(element);
}

int PileCount(const Game& g, std::string_view element) {
  bool baseApart = !g.EnAltKart.picture.empty();
  if (element == "OrtadakiKartlar") {
    if (g.OrtadakiKartlar.picture.empty()) return 0;
    return std::max(1, g.FloorCount - (baseApart ? 1 : 0));
  }
  if (element == "EnAltKart") return baseApart ? 1 : 0;
  if (element == "Player1_Deste") return g.Player1_Deste.picture.empty() ? 0 : g.Player1_CardsTaken;
  if (element == "Player2_Deste") return g.Player2_Deste.picture.empty() ? 0 : g.Player2_CardsTaken;
  // The deck is as thick as its caption says: after the last hand the
  // caption stays "Deste (0)" while the next game's deck waits unshuffled.
  if (element == "Deste") {
    if (g.Deste.picture.empty()) return 0;
    return DeckCountIn(g.Label8.caption).value_or(std::max(0, kDeckSize - g.DeckPos));
  }
  return 0;
}

}  // namespace tesva

#include "shell/card_names.h"

#include <array>

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
  if (element == "OrtadakiKartlar") return "Yerdeki kağıt: " + CardName(g.OrtadakiKartlar.picture);
  if (element == "EnAltKart") return "Taban: " + CardName(g.EnAltKart.picture);
  if (element == "Player1_Deste") return "Aldığın kağıtlar: " + CardName(g.Player1_Deste.picture);
  if (element == "Player2_Deste") {
    return "Bilgisayarın aldığı kağıtlar: " + CardName(g.Player2_Deste.picture);
  }
  return std::string(element);
}

}  // namespace tesva

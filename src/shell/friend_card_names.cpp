#include "shell/friend_card_names.h"

#include "shell/card_names.h"

namespace tesva {
namespace {

// How AccessibleName begins the other seat's names: "Bilgisayarın kağıdı 2".
constexpr std::string_view kComputerOwns = "Bilgisayarın ";

}  // namespace

std::string FriendAccessibleName(const Game& g, std::string_view element, int index,
                                 std::string_view friendName) {
  std::string name = AccessibleName(g, element, index);
  bool otherSeat = element == "Player2_Kart" || element == "Player2_Deste";
  if (!otherSeat || friendName.empty() || !name.starts_with(kComputerOwns)) return name;
  return std::string(friendName) + " adlı oyuncunun " + name.substr(kComputerOwns.size());
}

}  // namespace tesva

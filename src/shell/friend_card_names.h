// Turkish names of the friend's cards for screen readers, while a friend
// sits where the computer sits.
#pragma once

#include <string>
#include <string_view>

#include "engine/game_state.h"

namespace tesva {

// As AccessibleName, but the other seat's hand and captured pile are named
// for the friend, as "%1 adlı oyuncu" names the friend elsewhere: "Deniz
// adlı oyuncunun kağıdı 2", "Deniz adlı oyuncunun aldığı kağıtlar (12):
// Karo 7". Every other place is named as AccessibleName names it.
std::string FriendAccessibleName(const Game& g, std::string_view element, int index,
                                 std::string_view friendName);

}  // namespace tesva

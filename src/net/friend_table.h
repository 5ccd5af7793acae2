// What the window shows of a game with a friend: the NetGame's own table,
// with the commands that belong to the game against the computer closed
// (the level, the computer's thinking speed, the number of hands, which is
// the host's, renaming either player mid-game, and "Yeni Oyun", which the
// window opens again when a new game can be offered to the friend), and the
// status line saying so when the connection is gone.
#pragma once

#include <string_view>

#include "engine/game_state.h"

namespace tesva::net {

inline constexpr std::string_view kConnectionLostStatus = " Bağlantı koptu; bekleniyor…";

void CloseComputerCommands(Form& form);

}  // namespace tesva::net

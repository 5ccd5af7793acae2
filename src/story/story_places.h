// Where the table's story stands, in twips of the client area, the same on
// every table: the hand's board over the middle (the computer's hand and the
// floor, never the player's hand from 4440 twips down), and the game's
// result over the empty hand below it.
#pragma once

#include "shell/main_window.h"

namespace tesva::story {

inline constexpr Place kHandBoardPlace{1290, 300, 5370, 4100};
inline constexpr Place kGameEndPlace{1890, 4460, 4170, 1620};

}  // namespace tesva::story

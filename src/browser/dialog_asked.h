// Thrown by the browser's dialogs when the game opens a box that has no
// answer yet. The game asks before it changes anything, so the event that
// asked is simply delivered again once the player has answered.
#pragma once

#include <string>

namespace tesva {

struct DialogAsked {
  bool question = false;  // a Yes/No question; else a one-line text box
  std::string prompt;
  std::string title;
  int maxLength = 0;  // characters, 0 for no limit
};

}  // namespace tesva

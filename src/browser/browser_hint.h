// The hint at the browser's table, as the window gives it: "İpucu" or the
// key H asks for the master's card from the player's seat; the page looks
// for it off its main thread (a worker running the same core) in the
// seat's view that this hands out, and the card found is marked until the
// next event that is not a mouse move. A card found after the game moved
// on is dropped.
#pragma once

#include <nlohmann/json.hpp>

#include "engine/game_state.h"

namespace tesva {

class BrowserHint {
 public:
  // The position to look in: the player's view and the search's size, with
  // the request's number; null while no card can be played, while one is
  // looked for, or while a card is marked.
  nlohmann::json Ask(const Game& game);
  // The worker found `slot` for request `generation`: marked if the game
  // has not moved on since. True when marked.
  bool Found(int generation, int slot);
  // After every event the game handled; a mouse move keeps the mark.
  void AfterEvent(bool mouseMove);
  // The hand slot marked now (1 to 4), 0 for none.
  int Marked(const Game& game) const;

 private:
  int slot_ = 0;
  int generation_ = 0;
  bool pending_ = false;
};

}  // namespace tesva

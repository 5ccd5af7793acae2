// Playing a game forward on the core: the human's enabled cards, and one
// event at a time with the human's choice left to the test.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "cpu/computer.h"
#include "engine/engine.h"

namespace tesva {

// The human's hand slots (1 to 4) that may be played now.
inline std::vector<int> EnabledSlots(const Game& g) {
  std::vector<int> playable;
  for (int i = 1; i <= kHandSize; ++i) {
    if (g.Player1_Kart(i).enabled) playable.push_back(i);
  }
  return playable;
}

// Chooses one of the enabled slots (never called with none).
using SlotChoice = std::function<int(const std::vector<int>& playable)>;

inline int FirstSlot(const std::vector<int>& playable) {
  return playable.front();
}

// Chooses at random with `rng`, which the caller seeds.
template <class Generator>
SlotChoice RandomSlot(Generator& rng) {
  return [&rng](const std::vector<int>& playable) { return playable[rng() % playable.size()]; };
}

// Carries out the computer's move (a tick of Timer1); the card it played,
// "" when it played none.
inline std::string ComputerMove(Game& g) {
  const auto plays = g.Seen.plays.size();
  Timer1_Timer(g);
  return g.Seen.plays.size() > plays ? g.Seen.plays.back().card : "";
}

// Carries out the next event: the computer's move, a tick of the pause
// between hands, or the human's card that `choose` picks. False when none
// is due (the game is over).
inline bool PlayEvent(Game& g, const SlotChoice& choose = FirstSlot) {
  if (g.Timer1.enabled) {
    Timer1_Timer(g);
  } else if (g.Timer2.enabled) {
    Timer2_Timer(g);
  } else if (auto playable = EnabledSlots(g); !playable.empty()) {
    Player1_Kart_Click(g, choose(playable));
  } else {
    return false;
  }
  return true;
}

}  // namespace tesva

// What the table's events act on. The window hands every click, key, menu
// command and timer tick to one TablePlay and draws the game it shows; it
// never asks which game that is. The game against the computer is one
// (ComputerPlay); the friend game's seam (FriendPlay) is the other, and
// hands everything to the computer's while no friend game runs.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/game_state.h"

class TablePlay {
 public:
  using Handler = std::function<void(tesva::Game&)>;

  virtual ~TablePlay() = default;
  // Runs one of the game's handlers, then the window draws what it changed.
  // A mouse move over the table changes nothing of the play.
  virtual void Handle(const Handler& handler, bool mouseMove) = 0;
  // The player's hand card `slot`, 1 to 4.
  virtual void Play(int slot) = 0;
  // "Yeni Oyun", from the menu or the game-end panel.
  virtual void NewGame() = 0;
  // One of the game's timers, Timer1 or Timer2, has run out.
  virtual void Tick(const Handler& timer) = 0;
  // A screen reader's name of a card place of `shown`, the table drawn.
  virtual std::string AccessibleName(const tesva::Game& shown, std::string_view element,
                                     int index) const = 0;
};

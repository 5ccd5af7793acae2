// What the browser's table tells besides the game's captions, followed from
// the game after every event as the window's story follows it: the points
// of every take, the hand's board once the hand is settled, the game's
// result. The words and figures are the core's (story/story_texts.h); the
// page only draws them once the cards they tell of have landed.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/game_state.h"

namespace tesva {

class BrowserStory {
 public:
  // After every event the game handled.
  void Follow(Game& game);
  // What the story gained since the last call, for the view, then
  // forgotten: the takes' announcements (rising after the first two steps
  // of the motion), the hand's board (after all of them), and whether a
  // board on show goes (the next hand's first move).
  nlohmann::json Told();
  // The game's result from the moment the game ended until the next game
  // deals, else null: its lines, the record's line and the button's caption.
  nlohmann::json GameEnd() const;
  // The line of the player's record under the game's result ("" for none);
  // the record fills it when it counts a finished game.
  void SetRecordLine(std::string line) { recordLine_ = std::move(line); }

 private:
  void FollowPlays(Game& game);

  std::string base_;  // the hand being followed: its base card
  std::size_t told_ = 0;
  int boardHand_ = 0;  // the hand whose board was told last
  nlohmann::json announcements_ = nlohmann::json::array();
  nlohmann::json board_;
  bool boardGoes_ = false;
  nlohmann::json gameEnd_;
  std::string recordLine_;
};

}  // namespace tesva

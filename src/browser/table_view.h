// The browser table's data as JSON, made from the same game state, places,
// menu bar, card names and motion plan as the desktop window's: the page
// draws these and decides nothing. What the player may not see (the
// computer's cards, the deck's order, the played-cards tracker outside
// watch mode) is never in it.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "browser/dialog_asked.h"
#include "engine/game_state.h"

namespace tesva {

// The table now: pictures (with their deck element and accessible name),
// the visible captions, the menu bar's states, the hover frame, the rules
// panel, the running timers, the motion from `before` (none on the first
// view) and the sounds played since the last view.
nlohmann::json TableView(const Game& g, const Form* before, const std::vector<std::string>& sounds);
nlohmann::json DialogView(const DialogAsked& asked);
// What never changes: the client area's size and every element's place in
// twips, the menu bar's tree, the rules panel's texts, the motion's pace,
// the story's places, the hint's command and the sound files.
nlohmann::json TableLayout();

}  // namespace tesva

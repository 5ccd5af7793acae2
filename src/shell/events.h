// The window's events by name, as the window delivers them: a click or a
// mouse move on an element, a menu command, a timer's tick. An event the
// window could not deliver (on a disabled or hidden element, a disabled
// menu, a stopped timer, an unknown name) reaches no handler and changes
// nothing. The headless driver and the soak deliver every event through here,
// so that both refuse exactly what the window refuses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/game_state.h"

namespace tesva {

enum class EventKind { kClick, kHover, kMenu, kTick };

// "click Player1_Kart(2)", "hover main", "menu mnuPro", "tick Timer1": the
// event kind of a driver's line word; nothing for any other word.
std::optional<EventKind> EventKindOf(std::string_view word);

// Why the window cannot deliver the event now; nothing when it can.
std::optional<std::string> EventRefusal(const Game& g, EventKind kind, std::string_view target);

// Runs the event's handler to its end, or, when the window could not deliver
// the event, changes nothing and returns why.
std::optional<std::string> DeliverEvent(Game& g, EventKind kind, std::string_view target);

// "Player1_Kart(N)" with N from 1 to 4 gives N.
std::optional<int> HandCardIndex(std::string_view name);

}  // namespace tesva

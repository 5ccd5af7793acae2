// The hint's position as JSON and back: the player's view of the game and
// the search's size, which a table hands to a helper that looks for the
// hint apart from the game (the browser's worker). It holds nothing the
// seat has not seen. Read back with checks: a position that is not one a
// game can give is refused.
#pragma once

#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cpu/seat_view.h"

namespace tesva::record {

nlohmann::json SeatViewJson(const SeatView& view);
// The view in `text`; nothing when it is not JSON, lacks a field or holds
// a value no game has (a card code that is no card, a count out of range,
// a hand and its places of different lengths).
std::optional<SeatView> SeatViewFromJson(std::string_view text);

// {"view": ..., "search": n}: the human's view and the master's search.
nlohmann::json HintPositionJson(const SeatView& view, int search);
// The slot the master plays in such a position (HintSlot), 0 when the
// position is not one a game gives.
int HintSlotIn(std::string_view position);

}  // namespace tesva::record

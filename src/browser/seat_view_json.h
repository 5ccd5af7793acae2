// A seat's view of the game as JSON and back: the position the page hands
// to the hint's worker, which holds nothing the seat has not seen. Read
// back with checks: a view that is not one a game can give is refused.
#pragma once

#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cpu/seat_view.h"

namespace tesva {

nlohmann::json SeatViewJson(const SeatView& view);
// The view in `text`; nothing when it is not JSON, lacks a field or holds
// a value no game has (a card code that is no card, a count out of range,
// a hand and its places of different lengths).
std::optional<SeatView> SeatViewFromJson(std::string_view text);

}  // namespace tesva

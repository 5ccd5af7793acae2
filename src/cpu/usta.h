// The master level, "Usta". It sees only what its seat has seen (a
// SeatView), deals the cards it has not seen at random many times over
// (giving the opponent no rank that its discards in this deal showed it
// lacks), and plays the rest of the deal out after each card it could play:
// itself by the rule player's one-move rules, the opponent by them or
// carelessly. It plays the card with the best mean chance of winning the
// game: the score difference, with the rest of the hand estimated, weighed
// against the hands still to come, so that near the end a lead matters
// more than points.
//
// The search is fixed work: `search` deals per move, all drawn from a
// generator seeded by one draw of the game's random source, so a position
// and a random stream give the same card on any machine.
#pragma once

#include <cstdint>

#include "cpu/seat_view.h"

namespace tesva {

// The card the master plays for `seat`: the computer's hand position or the
// human's hand slot. Takes one draw from the game's random source.
int UstaChoice(Game& g, Seat seat);
// The index into v.hand of the master's card, searching `search` deals
// (at least 1) from the generator seeded with `seed`.
int UstaDecide(const SeatView& v, std::uint64_t seed, int search);

// The rule player's card for the seat (the position in the seat's own
// terms), by its one-move rules on the same reading of the view as the
// master's: the floor's points as far as they were seen.
int RulePosition(const SeatView& v);

// The chance of winning a game with this score difference and this many
// whole hands still to play.
double WinChance(double scoreDifference, double handsLeft);

}  // namespace tesva

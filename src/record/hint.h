// The hint: the card that the master level would play from the human's
// seat, seeing only what that seat has seen (the same view the master plays
// the computer from), so the hint knows nothing the player could not know.
//
// The master's search deals the unseen cards at random. The hint's deals
// are drawn from a generator seeded by the view itself, never from the
// game's random source: a draw from it would change every later computer
// move and shuffle, so a game with hints would play on differently from the
// same game without. Seeded by the view, the same position always gives the
// same hint, and nothing hidden (the computer's cards, the deck) can reach it.
#pragma once

#include <cstdint>

#include "cpu/seat_view.h"

namespace tesva::record {

// A seed made of everything in the view, below 2^53 like the seeds the
// master draws.
std::uint64_t HintSeed(const SeatView& view);
// The human's hand slot (1 to 4) that the master plays in `view`, searching
// `search` deals; 0 when the view holds no card.
int HintSlot(const SeatView& view, int search);
// A hint can be given: the human is to move and can click a card.
bool HintAvailable(const Game& g);

}  // namespace tesva::record

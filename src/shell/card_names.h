// Turkish names of the cards and piles, for screen readers.
#pragma once

#include <string>
#include <string_view>

#include "engine/game_state.h"

namespace tesva {

// "Karo 10", "Sinek Vale", "Kupa As"; "Kapalı kağıt" for a card back and
// "Boş" for an empty place.
std::string CardName(std::string_view picture);
// The accessible name of a picture element of the table, by element name
// and index (1 to 4 for the hand cards, else 0): "Elindeki kağıt 2: Karo 10",
// "Deste (40)", "Yerdeki kağıt: Sinek 7", and with the count of a pile
// that holds more than one card, "Yerdeki kağıtlar (5): en üstte Sinek 7",
// "Aldığın kağıtlar (12): Karo 7".
std::string AccessibleName(const Game& g, std::string_view element, int index);
// How many cards lie in the place of a pile element: the floor pile under
// and with its top card ("OrtadakiKartlar", the base card not counted while
// it lies apart), the base card, a captured pile, the deck; 0 for any other
// element.
int PileCount(const Game& g, std::string_view element);

}  // namespace tesva

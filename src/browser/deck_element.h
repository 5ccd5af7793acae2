// Where a card picture is drawn from: the KDE decks' element ids, as the
// desktop window draws them (faces from the standard deck, the "Back" card
// back from nicu's white deck, "Back2" from the standard deck).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tesva {

struct DeckElement {
  std::string deck;  // "faces" or "backs"
  std::string id;    // "10_diamond", "jack_club", "back_c1"
};

// Nothing for "" (an empty place) or a name that is no picture.
std::optional<DeckElement> DeckElementOf(std::string_view picture);

}  // namespace tesva

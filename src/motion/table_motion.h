// What moved on the table between two drawings of the game: which card left
// which place and where it went. The window compares the table it drew with
// the game's new one and shows the difference as cards sliding across the
// table, one step after another. Nothing here draws; the game itself has
// already moved on.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "shell/main_window.h"

// The places a card picture can lie in, one per picture element.
enum class Spot {
  kHuman1,  // Player1_Kart(1) ... (4)
  kHuman2,
  kHuman3,
  kHuman4,
  kComputer1,  // Player2_Kart(1) ... (4)
  kComputer2,
  kComputer3,
  kComputer4,
  kFloorTop,      // OrtadakiKartlar
  kFloorBase,     // EnAltKart
  kHumanPile,     // Player1_Deste
  kComputerPile,  // Player2_Deste
  kDeck,          // Deste
};
inline constexpr int kSpots = 13;
inline constexpr std::array<Spot, kSpots> kAllSpots = {
    Spot::kHuman1,    Spot::kHuman2,       Spot::kHuman3,    Spot::kHuman4,   Spot::kComputer1,
    Spot::kComputer2, Spot::kComputer3,    Spot::kComputer4, Spot::kFloorTop, Spot::kFloorBase,
    Spot::kHumanPile, Spot::kComputerPile, Spot::kDeck};

Spot HumanSpot(int index);     // 1 to 4
Spot ComputerSpot(int index);  // 1 to 4

// The picture element at a spot: its name and index (0 for a single one).
struct SpotElement {
  std::string_view name;
  int index;
};
SpotElement ElementOf(Spot spot);
const tesva::Picture& PictureAt(const tesva::Form& form, Spot spot);
// Where the spot's picture element stands, in twips.
tesva::Place PlaceOf(Spot spot);

// The picture every place shows, by Spot.
using TablePictures = std::array<std::string, kSpots>;
TablePictures PicturesOf(const tesva::Form& form);
std::string& At(TablePictures& table, Spot spot);
const std::string& At(const TablePictures& table, Spot spot);

// The captions that follow the cards: while a move slides, each keeps the
// text it had until the cards that change it have landed.
enum class Caption { kStatus, kBase, kHandNumber, kDeck, kHumanName, kComputerName };
inline constexpr int kPacedCaptions = 6;
inline constexpr std::array<Caption, kPacedCaptions> kAllCaptions = {
    Caption::kStatus, Caption::kBase,      Caption::kHandNumber,
    Caption::kDeck,   Caption::kHumanName, Caption::kComputerName};
using TableCaptions = std::array<tesva::Label, kPacedCaptions>;
const tesva::Label& LabelAt(const tesva::Form& form, Caption caption);
TableCaptions CaptionsOf(const tesva::Form& form);
const tesva::Label& At(const TableCaptions& captions, Caption caption);

// A card picture sliding from one place to another. `flying` is what shows
// on the way when it is not the picture it lands as: a card leaves the deck
// face down and turns over where it lands.
struct Flight {
  std::string picture;
  Spot from;
  Spot to;
  std::string flying = {};
  bool operator==(const Flight&) const = default;
  const std::string& Shown() const { return flying.empty() ? picture : flying; }
};

// Cards that slide together; meanwhile every place shows `shown` (a place a
// card has left shows what is under it, a place a card slides to shows what
// lay there before). Once the step ends, each card lies where it went.
struct MotionStep {
  std::vector<Flight> flights;
  TablePictures shown;
  TableCaptions captions{};  // what the captions show meanwhile
};

struct MotionPlan {
  std::vector<MotionStep> steps;
  // Some picture changed in a way no sliding card explains (a new game, a
  // new card back): the table must show the game at once, with nothing
  // still moving from before.
  bool snap = false;
};

// The movements that take the table from `before` to `after`, in the order
// the game made them: the floor laid out for a new hand, the card played
// (landing on the floor, then on a capture the whole floor sliding to the
// capturer's pile), then the deal, the first player's four cards before the
// other's. The pictures of the last step plus its landings are `after`.
MotionPlan PlanMotion(const tesva::Form& before, const tesva::Form& after);

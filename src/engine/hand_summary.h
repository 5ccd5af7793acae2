// Where a hand's points came from, worked out from what the table saw: the
// base card and the three face-down floor cards (the deck's items 1 to 3),
// and every card played since, with who played it and whether it took the
// floor. Only reads the game. A card not known to this seat ("") counts as
// a card worth no points and of no rank.
#pragma once

#include <string>
#include <vector>

#include "engine/game_state.h"

namespace tesva {

// One take of the floor pile.
struct Take {
  std::size_t play = 0;  // index into the hand's record of plays
  Seat seat = Seat::kHuman;
  std::string card;  // the card that took the pile
  int cards = 0;     // cards taken, the played one included
  int points = 0;    // the card points, or the tesva's fixed value
  bool tesva = false;
};

struct SeatSummary {
  int cardsTaken = 0;
  int majorityPoints = 0;  // 3 for the most cards taken, else 0
  int cardPoints = 0;      // of the takes that were not tesvas
  std::vector<Take> tesvas;
  int handPoints = 0;  // everything the hand gave: cards, tesvas, majority
  int total = 0;       // the game's total now
};

struct HandSummary {
  int handNo = 0;
  SeatSummary human;
  SeatSummary computer;
  // Every take in the order played.
  std::vector<Take> takes;
  // The floor as it lies now, bottom first: at a hand's end, the cards
  // that went to nobody.
  std::vector<std::string> floor;
  // True once the deck is dealt out and both hands are empty.
  bool settled = false;

  const SeatSummary& Of(Seat seat) const { return seat == Seat::kHuman ? human : computer; }
};

// The hand so far, replayed from its record. The majority's 3 points are
// counted once the hand is settled.
HandSummary SummariseHand(const Game& g);

}  // namespace tesva

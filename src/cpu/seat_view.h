// What one seat at the table knows, and nothing more: the only input of the
// master level's search and of the arena's rule player. Made by one
// function from the game, so that no hidden card can reach a decision.
#pragma once

#include <string>
#include <vector>

#include "engine/game_state.h"

namespace tesva {

struct SeatView {
  Seat seat;
  std::vector<std::string> hand;  // the seat's own cards
  std::vector<int> positions;     // where each lies: computer hand position or human slot
  int opponentCards;              // cards the opponent holds now
  std::string baseCard;           // this hand's face-up base card
  bool baseOnFloor;               // nobody has taken the first floor yet
  std::string topCard;            // "" on an empty floor
  int floorCount;
  std::vector<PublicPlay> plays;  // every card played face up this hand
  int ownScore, opponentScore;
  int ownTaken, opponentTaken;  // cards captured this hand, as counted by both
  int handNo, handsPerGame;
  int deckLeft;
  bool ownDeal;  // this seat dealt the hand, so the other leads every deal
  bool operator==(const SeatView&) const = default;
};

SeatView ViewOf(const Game& g, Seat seat);

}  // namespace tesva

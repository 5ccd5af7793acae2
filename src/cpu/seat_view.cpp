#include "cpu/seat_view.h"

#include "engine/cards.h"

namespace tesva {

SeatView ViewOf(const Game& g, Seat seat) {
  const bool human = seat == Seat::kHuman;
  SeatView v{};
  v.seat = seat;
  if (human) {
    for (int slot = 1; slot <= kHandSize; ++slot) {
      if (g.Player1_Hand(slot).empty()) continue;
      v.hand.push_back(g.Player1_Hand(slot));
      v.positions.push_back(slot);
    }
  } else {
    v.hand = g.List2.items;
    for (int i = 1; i <= static_cast<int>(v.hand.size()); ++i) v.positions.push_back(i);
  }
  v.opponentCards = human ? g.Player2_CardsLeft : g.Player1_CardsLeft;
  v.baseCard = g.Seen.baseCard;
  v.baseOnFloor = !g.BaseCard.empty();
  v.topCard = g.TopCard;
  v.floorCount = g.FloorCount;
  v.plays = g.Seen.plays;
  v.ownScore = human ? g.Player1_Score : g.Player2_Score;
  v.opponentScore = human ? g.Player2_Score : g.Player1_Score;
  v.ownTaken = human ? g.Player1_CardsTaken : g.Player2_CardsTaken;
  v.opponentTaken = human ? g.Player2_CardsTaken : g.Player1_CardsTaken;
  v.handNo = g.HandNo;
  v.handsPerGame = g.HandsPerGame;
  v.deckLeft = kDeckSize - g.DeckPos;
  v.ownDeal = g.Dealer == (human ? kHuman : kComputer);
  return v;
}

}  // namespace tesva

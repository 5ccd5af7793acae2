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

Outlook OutlookOf(const SeatView& v, const std::vector<CardId>& hand) {
  Outlook o{hand.data(),
            static_cast<int>(hand.size()),
            v.floorCount,
            0,
            kNoRank,
            v.opponentCards,
            v.deckLeft,
            kDeckSize,
            {}};
  o.unseenOfRank.fill(4);
  auto see = [&](int card) {
    --o.unseenOfRank[RankOf(card)];
    --o.unseen;
  };
  if (int base = CardIdOf(v.baseCard); base >= 0) {
    see(base);
    if (v.baseOnFloor) o.floorPoints += PointsOf(base);
  }
  for (const auto& play : v.plays) {
    int card = CardIdOf(play.card);
    if (card < 0) continue;
    see(card);
    // The floor's points are those laid since the last capture.
    o.floorPoints = play.captured ? 0 : o.floorPoints + PointsOf(card);
  }
  for (CardId card : hand) see(card);
  if (v.floorCount == 0) o.floorPoints = 0;
  if (int top = CardIdOf(v.topCard); top >= 0) o.topRank = RankOf(top);
  return o;
}

int RulePosition(const SeatView& v) {
  std::vector<CardId> hand;
  for (const auto& code : v.hand) hand.push_back(static_cast<CardId>(CardIdOf(code)));
  if (hand.empty()) return 0;
  return v.positions[static_cast<std::size_t>(RuleChoice(OutlookOf(v, hand)))];
}

}  // namespace tesva

// The computer's move: the capture scan, and applying the chosen card with
// the same capture, tesva and scoring rules as the human's move.
#include "cpu/computer.h"
#include "engine/engine.h"

namespace tesva {
namespace {

using DiscardChoice = int (*)(Game&);

// The first card in hand order that takes the pile: a jack, or a card of
// the floor's rank. 0 when none can.
int CaptureScan(const Game& g) {
  auto floorRank = RankText(g.TopCard);
  const auto& hand = g.List2.items;
  for (std::size_t i = 0; i < hand.size(); ++i) {
    if (IsJack(hand[i]) || RankText(hand[i]) == floorRank) return static_cast<int>(i) + 1;
  }
  return 0;
}

void HandOverToHuman(Game& g) {
  EnableHumanCards(g);
  ShowTurn(g, g.Player1_Name);
}

// The played card leaves the hand; the face-down pictures vanish from the
// highest index down, whichever position was played.
void RemoveFromHand(Game& g, int position) {
  auto& hand = g.List2.items;
  g.Player2_Kart(static_cast<int>(hand.size())).picture.clear();
  hand.erase(hand.begin() + (position - 1));
}

void Capture(Game& g, int position) {
  const std::string card = g.List2.items[position - 1];
  const std::string topRank(RankText(g.TopCard));  // the take clears the top card
  TakeFloor(g, card, topRank, g.Player2_Deste, g.Player2_CardsTaken, g.Player2_Score);
  RemoveFromHand(g, position);
}

void Discard(Game& g, DiscardChoice choose) {
  int position = choose(g);
  LayOnFloor(g, g.List2.items[position - 1]);
  RemoveFromHand(g, position);
}

void ComputerMove(Game& g, DiscardChoice choose) {
  // On an empty floor nothing can be taken, not even by a jack.
  int capture = g.FloorCount == 0 ? 0 : CaptureScan(g);
  if (capture != 0) {
    Capture(g, capture);
  } else {
    Discard(g, choose);
  }
  HandOverToHuman(g);
  --g.Player2_CardsLeft;
  if (g.Player1_CardsLeft == 0 && g.Player2_CardsLeft == 0) KagitDagitimi(g);
}

}  // namespace

void Timer1_Timer(Game& g) {
  g.Timer1.enabled = false;  // a deal made during the move may start it again
  if (g.List2.items.empty()) {
    EnableHumanCards(g);
    return;
  }
  // The level is read at every tick: a change counts from the next move.
  if (g.Level == kAmateur) Cpu_Yonetim(g);
  if (g.Level == kProfessional) Cpu_YonetimPro(g);
}

void Cpu_Yonetim(Game& g) {
  ComputerMove(g, AmateurDiscard);
}

void Cpu_YonetimPro(Game& g) {
  ComputerMove(g, ProfessionalDiscard);
}

int AmateurDiscard(Game& g) {
  return DrawnPosition(g.io.random.Uniform(), static_cast<int>(g.List2.items.size()));
}

}  // namespace tesva

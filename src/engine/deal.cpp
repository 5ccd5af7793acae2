// Dealing four cards to each player, and settling a hand when the deck is
// exhausted.
#include "engine/engine.h"

namespace tesva {
namespace {

void GiveComputerCards(Game& g, int from) {
  for (int i = 0; i < kHandSize; ++i) g.List2.items.push_back(g.List1.items[from + i]);
  for (auto& card : g.Player2_Kart) {
    card.picture = g.CardBack;
    card.enabled = true;
  }
}

void GiveHumanCards(Game& g, int from) {
  for (int slot = 1; slot <= kHandSize; ++slot) {
    g.Player1_Hand(slot) = g.List1.items[from + slot - 1];
    g.Player1_DealtHand[slot - 1] = g.Player1_Hand(slot);
    g.Player1_Kart(slot).picture = g.Player1_Hand(slot);
  }
}

void Deal(Game& g) {
  // The player who did not deal gets the first four cards and moves first.
  if (g.Dealer == kHuman) {
    GiveComputerCards(g, g.DeckPos);
    GiveHumanCards(g, g.DeckPos + kHandSize);
    g.Timer1.enabled = true;  // the computer leads
  } else {
    GiveHumanCards(g, g.DeckPos);
    GiveComputerCards(g, g.DeckPos + kHandSize);
  }
  g.DeckPos += kDealSize;
  g.Player1_CardsLeft = kHandSize;
  g.Player2_CardsLeft = kHandSize;
  g.Label8.caption = DeckCountText(g.DeckPos);
  EnableHumanCards(g);
}

void Settle(Game& g) {
  // Cards still on the floor belong to nobody and are not counted.
  if (g.Player1_CardsTaken > g.Player2_CardsTaken) g.Player1_Score += kMajorityPoints;
  if (g.Player1_CardsTaken < g.Player2_CardsTaken) g.Player2_Score += kMajorityPoints;
  g.Player1_CardsTaken = 0;
  g.Player2_CardsTaken = 0;

  // The result speaks the stored names, whatever the labels show.
  auto human = ReadOption(g, kKeyHumanName);
  auto computer = ReadOption(g, kKeyComputerName);
  g.Label1.caption = " El bitti. --- " + human + ": " + std::to_string(g.Player1_Score) + " - " +
                     computer + ": " + std::to_string(g.Player2_Score) +
                     " --- Lütfen bekleyiniz....";
  g.Player1_Name.caption = NameCaption(human, g.Player1_Score);
  g.Player2_Name.caption = NameCaption(computer, g.Player2_Score);
  g.Timer2.enabled = true;  // the end-of-hand pause
}

}  // namespace

void KagitDagitimi(Game& g) {
  g.List2.items.clear();
  bool deckLeft =
      g.DeckPos < kDeckSize && g.DeckPos + kDealSize <= static_cast<int>(g.List1.items.size());
  if (deckLeft) {
    Deal(g);
  } else {
    Settle(g);
  }
}

void EnableHumanCards(Game& g) {
  bool humanToMove = !g.Picture1Visible && !g.Timer1.enabled;
  for (int i = 1; i <= kHandSize; ++i) {
    g.Player1_Kart(i).enabled = humanToMove && !g.Player1_Hand(i).empty();
  }
}

}  // namespace tesva

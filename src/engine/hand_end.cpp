// The pause at the end of a hand, then the next hand or the game's result.
#include "engine/engine.h"

namespace tesva {
namespace {

void ShowBacksOnPiles(Game& g) {
  g.Deste.picture = g.CardBack;
  g.Player1_Deste.picture = g.CardBack;
  g.Player2_Deste.picture = g.CardBack;
  for (auto& card : g.Player2_Kart) card.picture = g.CardBack;
}

void EndGame(Game& g) {
  for (auto& card : g.Player2_Kart) card.picture.clear();
  auto human = ReadOption(g, kKeyHumanName);
  auto computer = ReadOption(g, kKeyComputerName);
  auto s1 = std::to_string(g.Player1_Score);
  auto s2 = std::to_string(g.Player2_Score);
  std::string result = " Oyun bitti. --- " + human + ": " + s1 + " - " + computer + ": " + s2;
  Sound sound;
  if (g.Player1_Score > g.Player2_Score) {
    result += " --- " + human + " kazandı.";
    sound = Sound::kLaugh;
  } else if (g.Player1_Score < g.Player2_Score) {
    result += " --- " + computer + " kazandı.";
    sound = Sound::kLose;
  } else {
    result += " --- Durum: Berabere.";
    sound = Sound::kWith;
  }
  g.Label1.caption = result;
  g.Label7.caption.clear();
  PlaySound(g, sound);
  g.Player1_Name.caption = NameCaption(human, g.Player1_Score);
  g.Player2_Name.caption = NameCaption(computer, g.Player2_Score);
  // The totals stay on screen until a new game.
  g.HandNo = 0;
}

}  // namespace

void Timer2_Timer(Game& g) {
  PauseTick(g, DesteKarisimi);
}

void PauseTick(Game& g, const std::function<void(Game&)>& startHand) {
  // The pause acts on every third tick of the run: the first pause after
  // start-up lasts two ticks, every later one three.
  g.Timer2Ticks = static_cast<std::int16_t>((g.Timer2Ticks + 1) % 3);
  if (g.Timer2Ticks != 2) return;

  ShowBacksOnPiles(g);
  g.OrtadakiKartlar.picture.clear();
  g.EnAltKart.picture.clear();
  g.DeckPos = 0;
  g.List1.items.clear();
  // At or past the last hand: a hand count lowered during the game ends it
  // at this hand's end rather than never.
  if (g.HandNo >= g.HandsPerGame) {
    EndGame(g);
  } else {
    for (auto& count : g.Cikanlar) count.caption = "0";
    startHand(g);
  }
  g.FloorCount = kFloorCards;
  g.Timer2.enabled = false;
}

}  // namespace tesva

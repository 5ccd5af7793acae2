// Start-up, new game and exit.
#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

void ShowCardBacks(Game& g) {
  g.Player1_Deste.picture = g.CardBack;
  g.Player2_Deste.picture = g.CardBack;
  for (auto& card : g.Player2_Kart) card.picture = g.CardBack;
}

}  // namespace

void Form_Load(Game& g) {
  WriteFirstRunDefaults(g);
  AyarlariUygula(g);
  std::copy(kPointCards.begin(), kPointCards.end(), g.PointCards.begin());
  g.Deste.picture = g.CardBack;
  ShowCardBacks(g);
  g.OrtadakiKartlar.picture.clear();
  g.EnAltKart.picture.clear();
  DesteKarisimi(g);  // hand 1: the computer deals, the human plays first
  g.FloorCount = kFloorCards;
}

void mnuYeni_Click(Game& g) {
  // A game still running is only given up after a Yes.
  bool running = g.HandNo != 0;
  if (running && !g.io.dialogs.AskYesNo(
                     "Bu oyunu iptal edip yeni bir oyuna başlamak istediğinize emin misiniz?",
                     std::string(kAppTitle))) {
    return;
  }
  // No pending computer move or end-of-hand pause of the old game may reach
  // the new one. Timer2's tick counter keeps counting across games.
  g.Timer1.enabled = false;
  g.Timer2.enabled = false;
  g.MousePointer = Pointer::kHourglass;
  ShowCardBacks(g);
  g.Player1_Score = 0;
  g.Player2_Score = 0;
  g.HandNo = 0;
  g.Player1_Name.caption = NameCaption(ReadOption(g, kKeyHumanName), g.Player1_Score);
  g.Player2_Name.caption = NameCaption(ReadOption(g, kKeyComputerName), g.Player2_Score);
  DesteKarisimi(g);
  g.FloorCount = kFloorCards;
  g.MousePointer = Pointer::kDefault;
}

void mnuCikis_Click(Game& g) {
  g.io.host.Exit();
}

}  // namespace tesva

// The commands of the "Seçenekler" menu, and the menu bar itself.
#include <algorithm>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

void SetLevel(Game& g, std::string_view level) {
  g.Level = level;
  g.mnuAmator.checked = level == kAmateur;
  g.mnuPro.checked = level == kProfessional;
  g.mnuUsta.checked = level == kMaster;
  WriteOption(g, kKeyLevel, level);
}

void SetThinkingDelay(Game& g, int milliseconds, MenuItem Form::*item) {
  g.Timer1.interval = milliseconds;  // also while the computer is thinking
  for (MenuItem Form::*each :
       {&Form::mnuFirst, &Form::mnuSecond, &Form::mnuTherd, &Form::mnuLast}) {
    (g.*each).checked = each == item;
  }
  WriteOption(g, kKeyDelay, std::to_string(milliseconds));
}

void SetBackground(Game& g, int colour, MenuItem Form::*item) {
  g.BackColor = colour;
  for (MenuItem Form::*each : {&Form::mnuYesil, &Form::mnuLacivert, &Form::mnuSiyah}) {
    (g.*each).checked = each == item;
  }
  WriteOption(g, kKeyBackground, std::to_string(colour));
}

// Every face-down card takes the new back; faces stay as they are.
void RepaintCardBacks(Game& g) {
  g.Deste.picture = g.CardBack;
  g.Player1_Deste.picture = g.CardBack;
  g.Player2_Deste.picture = g.CardBack;
  // The floor's top shows the three face-down floor cards until the first
  // card is laid on them.
  if (g.Label2.visible && IsCardBack(g.OrtadakiKartlar.picture)) {
    g.OrtadakiKartlar.picture = g.CardBack;
  }
  int inHand = std::clamp<int>(g.Player2_CardsLeft, 0, kHandSize);
  for (int i = 1; i <= inHand; ++i) g.Player2_Kart(i).picture = g.CardBack;
}

void SetCardBack(Game& g, std::string_view back) {
  g.CardBack = back;
  g.mnuRenkli.checked = back == kColouredBack;
  g.mnuStandart.checked = back == kStandardBack;
  WriteOption(g, kKeyCardBack, back);
  RepaintCardBacks(g);
}

}  // namespace

void mnuAmator_Click(Game& g) {
  SetLevel(g, kAmateur);
}
void mnuPro_Click(Game& g) {
  SetLevel(g, kProfessional);
}
void mnuUsta_Click(Game& g) {
  SetLevel(g, kMaster);
}
void mnuFirst_Click(Game& g) {
  SetThinkingDelay(g, 10, &Form::mnuFirst);
}
void mnuSecond_Click(Game& g) {
  SetThinkingDelay(g, 100, &Form::mnuSecond);
}
void mnuTherd_Click(Game& g) {
  SetThinkingDelay(g, 500, &Form::mnuTherd);
}
void mnuLast_Click(Game& g) {
  SetThinkingDelay(g, 1000, &Form::mnuLast);
}
void mnuYesil_Click(Game& g) {
  SetBackground(g, kGreen, &Form::mnuYesil);
}
void mnuLacivert_Click(Game& g) {
  SetBackground(g, kNavy, &Form::mnuLacivert);
}
void mnuSiyah_Click(Game& g) {
  SetBackground(g, kBlack, &Form::mnuSiyah);
}
void mnuRenkli_Click(Game& g) {
  SetCardBack(g, kColouredBack);
}
void mnuStandart_Click(Game& g) {
  SetCardBack(g, kStandardBack);
}

void mnuSesler_Click(Game& g) {
  g.mnuSesler.checked = !g.mnuSesler.checked;
  WriteOption(g, kKeySounds, g.mnuSesler.checked ? "1" : "0");
}

const std::array<MenuEntry, 24> kMenuBar = {{
    {"mnuYeni", "", &Form::mnuYeni, mnuYeni_Click},
    {"mnuSecenek", "", &Form::mnuSecenek, nullptr},
    {"mnuSeviye", "mnuSecenek", &Form::mnuSeviye, nullptr},
    {"mnuAmator", "mnuSeviye", &Form::mnuAmator, mnuAmator_Click},
    {"mnuPro", "mnuSeviye", &Form::mnuPro, mnuPro_Click},
    {"mnuUsta", "mnuSeviye", &Form::mnuUsta, mnuUsta_Click},
    {"line1", "mnuSecenek", nullptr, nullptr},
    {"mnuBack", "mnuSecenek", &Form::mnuBack, nullptr},
    {"mnuYesil", "mnuBack", &Form::mnuYesil, mnuYesil_Click},
    {"mnuLacivert", "mnuBack", &Form::mnuLacivert, mnuLacivert_Click},
    {"mnuSiyah", "mnuBack", &Form::mnuSiyah, mnuSiyah_Click},
    {"mnuDeste", "mnuSecenek", &Form::mnuDeste, nullptr},
    {"mnuStandart", "mnuDeste", &Form::mnuStandart, mnuStandart_Click},
    {"mnuRenkli", "mnuDeste", &Form::mnuRenkli, mnuRenkli_Click},
    {"line2", "mnuSecenek", nullptr, nullptr},
    {"mnuDusunmeHizi", "mnuSecenek", &Form::mnuDusunmeHizi, nullptr},
    {"mnuFirst", "mnuDusunmeHizi", &Form::mnuFirst, mnuFirst_Click},
    {"mnuSecond", "mnuDusunmeHizi", &Form::mnuSecond, mnuSecond_Click},
    {"mnuTherd", "mnuDusunmeHizi", &Form::mnuTherd, mnuTherd_Click},
    {"mnuLast", "mnuDusunmeHizi", &Form::mnuLast, mnuLast_Click},
    {"mnuElSayisi", "mnuSecenek", &Form::mnuElSayisi, mnuElSayisi_Click},
    {"mnuSesler", "mnuSecenek", &Form::mnuSesler, mnuSesler_Click},
    {"mnuHelp", "", &Form::mnuHelp, mnuHelp_Click},
    {"mnuCikis", "", &Form::mnuCikis, mnuCikis_Click},
}};

const MenuEntry* FindMenu(std::string_view name) {
  auto it = std::find_if(kMenuBar.begin(), kMenuBar.end(),
                         [&](const MenuEntry& e) { return e.name == name && e.item; });
  return it == kMenuBar.end() ? nullptr : &*it;
}

bool MenuReachable(const Game& g, const MenuEntry& entry) {
  for (const MenuEntry* e = &entry; e; e = e->parent.empty() ? nullptr : FindMenu(e->parent)) {
    if (!(g.*(e->item)).enabled) return false;
  }
  return true;
}

}  // namespace tesva

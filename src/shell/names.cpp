// Renaming the players, the hidden watch mode and the rules panel.
#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

std::string AskName(Game& g, const std::string& prompt) {
  auto reply = g.io.dialogs.InputBox(prompt, std::string(kAppTitle), kMaxNameLength);
  return CutToCharacters(reply, kMaxNameLength);
}

void EnableCommands(Game& g, bool enabled) {
  for (MenuItem Form::*item :
       {&Form::mnuYeni, &Form::mnuSecenek, &Form::mnuHelp, &Form::mnuCikis}) {
    (g.*item).enabled = enabled;
  }
  g.Player1_Name.enabled = enabled;
  g.Player2_Name.enabled = enabled;
}

}  // namespace

std::string CutToCharacters(std::string_view text, int maxChars) {
  int chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character starts at every byte that is not a UTF-8 continuation.
    bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts && ++chars > maxChars) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

bool WatchModeOn(const Game& g) {
  return g.List2.visible;
}

void SetWatchMode(Game& g, bool on) {
  for (auto& count : g.Cikanlar) count.visible = on;
  g.List2.visible = on;
}

void Player1_Name_Click(Game& g) {
  auto name = AskName(g, "'' Oyuncu '' için isim giriniz...");
  if (name == kWatchModeName) {
    WriteOption(g, kKeyHumanName, name);
    SetWatchMode(g, true);
  } else if (!name.empty()) {
    WriteOption(g, kKeyHumanName, name);
    SetWatchMode(g, false);
  }
  g.Player1_Name.caption = NameCaption(ReadOption(g, kKeyHumanName), g.Player1_Score);
}

void Player2_Name_Click(Game& g) {
  auto name = AskName(g, "'' Bilgisayar '' için isim giriniz...");
  if (!name.empty()) WriteOption(g, kKeyComputerName, name);
  g.Player2_Name.caption = NameCaption(ReadOption(g, kKeyComputerName), g.Player2_Score);
}

void mnuHelp_Click(Game& g) {
  g.Picture1Visible = true;
  for (auto& card : g.Player1_Kart) card.enabled = false;
  EnableCommands(g, false);
}

void Command1_Click(Game& g) {
  if (!g.Picture1Visible) return;
  g.Picture1Visible = false;
  EnableHumanCards(g);  // only the human's turn makes them clickable
  EnableCommands(g, true);
}

}  // namespace tesva

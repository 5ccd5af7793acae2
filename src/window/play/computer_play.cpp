#include "window/play/computer_play.h"

#include "engine/engine.h"
#include "shell/card_names.h"
#include "window/record/record_keeper.h"

ComputerPlay::ComputerPlay(tesva::Game& game, RecordKeeper& keeper, std::function<void()> draw)
    : game_(game), keeper_(keeper), draw_(std::move(draw)) {}

void ComputerPlay::Handle(const Handler& handler, bool mouseMove) {
  handler(game_);
  keeper_.AfterEvent(mouseMove);
  draw_();
}

void ComputerPlay::Play(int slot) {
  Handle([slot](tesva::Game& g) { tesva::Player1_Kart_Click(g, slot); }, false);
}

void ComputerPlay::NewGame() {
  Handle([this](tesva::Game&) { keeper_.NewGame(); }, false);
}

void ComputerPlay::Tick(const Handler& timer) {
  Handle(timer, false);
}

std::string ComputerPlay::AccessibleName(const tesva::Game& shown, std::string_view element,
                                         int index) const {
  return tesva::AccessibleName(shown, element, index);
}

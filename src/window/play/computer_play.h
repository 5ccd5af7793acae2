// The game against the computer: every event acts on the window's game, the
// record follows it and the table is drawn again.
#pragma once

#include "window/play/table_play.h"

class RecordKeeper;

class ComputerPlay : public TablePlay {
 public:
  ComputerPlay(tesva::Game& game, RecordKeeper& keeper, std::function<void()> draw);

  void Handle(const Handler& handler, bool mouseMove) override;
  void Play(int slot) override;
  // A game given up counts in the record.
  void NewGame() override;
  void Tick(const Handler& timer) override;
  std::string AccessibleName(const tesva::Game& shown, std::string_view element,
                             int index) const override;

 private:
  tesva::Game& game_;
  RecordKeeper& keeper_;
  std::function<void()> draw_;
};

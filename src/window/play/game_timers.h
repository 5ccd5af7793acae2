// The game's two timers, Timer1 (the computer's move, the deal) and Timer2
// (the pause at a hand's end): they run as the game says, and each tick
// goes to what the table's events act on.
#pragma once

#include <QObject>

#include "engine/game_state.h"

class QTimer;
class TablePlay;

class GameTimers : public QObject {
  Q_OBJECT

 public:
  GameTimers(TablePlay*& play, QObject* parent);
  // Starts, stops or re-times each timer to match the game's.
  void Sync(const tesva::Game& game);

 private:
  QTimer* timer1_;
  QTimer* timer2_;
};

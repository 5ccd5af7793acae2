// The benchmark's game: the human side plays its first enabled card through
// the click handler and the timers are fired directly, no sleeping.
#pragma once

#include "cpu/computer.h"
#include "engine/engine.h"
#include "null_sound.h"
#include "platform/memory.h"
#include "shell/main_window.h"

namespace tesva {

// One event: a due timer, or else the human's first enabled card.
inline void PlayOneEvent(Game& g) {
  if (g.Timer1.enabled) {
    Timer1_Timer(g);
  } else if (g.Timer2.enabled) {
    Timer2_Timer(g);
  } else {
    for (int i = 1; i <= kHandSize; ++i) {
      if (g.Player1_Kart(i).enabled) {
        Player1_Kart_Click(g, i);
        break;
      }
    }
  }
}

inline void PlayToTheEnd(Game& g) {
  while (g.HandNo != 0) PlayOneEvent(g);
}

// The benchmark's table: in-memory services, the same seed every time, the
// computer at `level` (1 the amateur, 2 the professional), the program
// started.
struct BenchTable {
  MemoryStore store;
  NullSound sound;
  ScriptedRandom random{2026};
  ScriptedDialogs dialogs;
  MemoryHost host;
  Game g{{store, sound, random, dialogs, host}};
  explicit BenchTable(int level) {
    if (level == 2) WriteOption(g, kKeyLevel, "2");
    Form_Load(g);
  }
};

}  // namespace tesva

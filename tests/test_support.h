// A game on in-memory services, with stacked decks written as card names.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/main_window.h"
#include "support/deck.h"
#include "support/play.h"
#include "support/seeded.h"

namespace tesva {

struct Table {
  MemoryPlatform io{7};
  Game g{io.services()};

  // Starts the program with the given decks for the first hands.
  void Start(std::initializer_list<std::vector<std::string>> decks = {}) {
    for (const auto& deck : decks) io.random.QueueDeck(deck);
    Form_Load(g);
  }
  void Store(std::string_view key, std::string_view value) { WriteOption(g, key, value); }
  std::string Stored(std::string_view key) { return ReadOption(g, key); }
  // Sound file names played since the last call.
  std::vector<std::string> Sounds() {
    std::vector<std::string> names;
    for (const auto& path : io.sound.played) names.push_back(path.substr(path.rfind('/') + 1));
    io.sound.played.clear();
    return names;
  }
  // Ticks Timer1 and Timer2 until neither runs.
  void Wait() {
    for (int ticks = 0; ticks < 10000 && (g.Timer1.enabled || g.Timer2.enabled); ++ticks) {
      PlayEvent(g);
    }
  }
  // Plays the hand out to its settlement: the human always plays its first
  // enabled card, the computer answers.
  void PlayOutHand() {
    for (int events = 0; events < 200 && !g.Timer2.enabled && PlayEvent(g); ++events) {
    }
  }
};

// Readable failure messages when whole states are compared.
inline void PrintTo(const GameState& s, std::ostream* os) {
  *os << "{Scores " << s.Player1_Score << ":" << s.Player2_Score << " Dealer " << s.Dealer
      << " DeckPos " << s.DeckPos << " Top " << s.TopCard << " Base " << s.BaseCard << " Floor "
      << s.FloorCount << "/" << s.FloorPoints << " Taken " << s.Player1_CardsTaken << ":"
      << s.Player2_CardsTaken << " Hand";
  for (const auto& c : s.Player1_Hand) *os << " [" << c << "]";
  *os << " Left " << s.Player1_CardsLeft << ":" << s.Player2_CardsLeft << " HandNo " << s.HandNo
      << "/" << s.HandsPerGame << " Level " << s.Level << " Back " << s.CardBack << "}";
}

}  // namespace tesva

// The soak's own guarantees: its checker notices a game that breaks the
// rules, and texts that no script line can carry keep the rules too. Its
// sequences replay line for line in the headless driver
// (KeptGame.KeptAtAnyMomentPlaysOnIdentically).
#include <gtest/gtest.h>

#include <stdexcept>

#include "checked_game.h"
#include "engine/engine.h"
#include "sequence.h"

namespace tesva::soak {
namespace {

// A fault made by hand in a running game is noticed at the next event.
TEST(Soak, TheCheckerNoticesABrokenGame) {
  struct Fault {
    std::string_view noticed;
    void (*make)(Game&);
  };
  const Fault faults[] = {
      {"each of the 52 cards is in exactly one place",
       [](Game& g) {
         g.Player2_Kart(g.Player2_CardsLeft).picture.clear();
         g.Player2_CardsLeft -= 1;
         g.List2.items.pop_back();
       }},
      {"the scores are the points the rules give", [](Game& g) { g.Player2_Score += 1; }},
      {"a score never decreases", [](Game& g) { g.Player1_Score -= 1; }},
      {"exactly one item of each check-mark group", [](Game& g) { g.mnuPro.checked = true; }},
      {"a picture names a card", [](Game& g) { g.OrtadakiKartlar.picture = "K14"; }},
      {"clicked exactly on the human's move", [](Game& g) { g.Timer1.enabled = true; }},
      {"the tracker counts", [](Game& g) { g.Cikanlar(13).caption = "5"; }},
      {"the base card shows", [](Game& g) { g.Label2.visible = !g.Label2.visible; }},
  };
  for (const auto& fault : faults) {
    CheckedGame game(3);
    ASSERT_FALSE(game.Apply({Verb::kStart, {}, {}}));
    ASSERT_FALSE(game.Apply({Verb::kClick, "Player1_Kart(2)", {}}));
    ASSERT_FALSE(game.Apply({Verb::kTick, "Timer1", {}}));
    fault.make(const_cast<Game&>(game.game()));  // the fault, from outside the rules
    auto failure = game.Apply({Verb::kHover, "main", {}});
    ASSERT_TRUE(failure) << fault.noticed;
    EXPECT_NE(failure->find(fault.noticed), std::string::npos) << *failure;
  }
}

// Line ends in stored texts and replies cannot be written as script lines,
// so no sequence holds them; the game keeps its rules with them all the same.
TEST(Soak, TextsWithLineEndsKeepTheRules) {
  CheckedGame game(5);
  const std::string texts[] = {"2\n", "a\r\nb", "GateKeeper\n", "\n", "1\r"};
  std::vector<Event> events;
  for (auto key : {kKeyLevel, kKeyDelay, kKeyHands, kKeySounds, kKeyBackground, kKeyCardBack,
                   kKeyHumanName, kKeyComputerName}) {
    events.push_back({Verb::kStore, key, texts[events.size() % std::size(texts)]});
  }
  events.push_back({Verb::kStart, {}, {}});
  for (const auto& text : texts) {
    events.push_back({Verb::kReply, {}, text});
    events.push_back({Verb::kClick, "Player1_Name", {}});
    events.push_back({Verb::kReply, {}, text});
    events.push_back({Verb::kMenu, "mnuElSayisi", {}});
    events.push_back({Verb::kClick, "Player1_Kart(1)", {}});
    events.push_back({Verb::kTick, "Timer1", {}});
  }
  int unwritable = 0;
  for (const auto& event : events) {
    ASSERT_FALSE(game.Apply(event)) << ScriptLine({event.verb, event.target, "..."});
    try {
      ScriptLine(event);
    } catch (const std::invalid_argument&) {
      ++unwritable;
    }
  }
  EXPECT_EQ(unwritable, 18);
}

}  // namespace
}  // namespace tesva::soak

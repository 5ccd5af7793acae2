// One game at the browser's table: the game's state on the browser's
// services, the events the page delivers, the box waiting for an answer,
// and what the page may draw. The page only draws this data and hands in
// the player's input; every decision is the core's.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "browser/browser_dialogs.h"
#include "browser/browser_hint.h"
#include "browser/browser_keeper.h"
#include "browser/browser_store.h"
#include "browser/browser_story.h"
#include "engine/game_state.h"
#include "platform/memory.h"
#include "shell/events.h"

namespace tesva {

class TableSession {
 public:
  // A new game loaded as the window loads it; `seed` fixes its random
  // source (tests), else it is seeded from the browser's random source.
  explicit TableSession(std::optional<std::uint64_t> seed);

  // Delivers a window event ("click", "hover", "menu", "tick" with its
  // target); why it could not be delivered, or nothing. While a box waits
  // for its answer only timer ticks arrive, as behind a modal box.
  std::optional<std::string> Deliver(std::string_view kind, std::string_view target);
  // The player's answer to the waiting box: a text ("" when cancelled), or
  // "yes" / "no"; the event that opened the box runs again with it.
  std::optional<std::string> Answer(const std::string& reply);

  // What the page draws now (see table_view.h), with the motion from the
  // table it drew last and the sounds played since; the table is then
  // counted as drawn. The page asks for it when its last motion has ended,
  // so that it is never more than one move behind the game.
  nlohmann::json View();
  // The game as it stands, for the controls (which cards take a click,
  // the menus, the box, the timers), without motion or sounds; nothing
  // counts as drawn.
  nlohmann::json State() const;
  bool Exited() const { return host_.exited; }
  // The record and the kept game of this table.
  BrowserKeeper& Keeper() { return keeper_; }

  // The hint: the position for the page's worker (null when no hint is
  // due), and the worker's answer to it; true when the card is marked.
  nlohmann::json AskHint() { return hint_.Ask(*game_); }
  // A shown hint counts the game as hinted, in the record and the kept game.
  bool HintFound(int generation, int slot);
  // The story's part that the record fills: its line under the game's result.
  BrowserStory& Story() { return story_; }
  const BrowserHint& Hint() const { return hint_; }

 private:
  std::optional<std::string> Run(EventKind kind, const std::string& target);
  // What the story and the hint make of an event the game handled.
  void Followed(EventKind kind);

  BrowserStore store_;
  RecordingSound sound_;
  ScriptedRandom random_;
  BrowserDialogs dialogs_;
  MemoryHost host_{""};
  std::unique_ptr<Game> game_;
  BrowserKeeper keeper_;
  std::optional<DialogAsked> asked_;
  std::optional<std::pair<EventKind, std::string>> asking_;  // the event that asked
  Form drawn_;                                               // the table last handed out
  bool drawnOnce_ = false;
  BrowserStory story_;
  BrowserHint hint_;
};

// The table the page plays at; null before the first game.
TableSession* OpenTable();

}  // namespace tesva

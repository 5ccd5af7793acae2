#include "shell/events.h"

#include <array>
#include <utility>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

// The handler an event reaches: a plain one, or one for hand card `card`.
struct Action {
  void (*plain)(Game&) = nullptr;
  void (*onCard)(Game&, int) = nullptr;
  int card = 0;
};
using Refusal = std::optional<std::string>;

Refusal Usable(std::string_view verb, std::string_view name, bool visible, bool enabled) {
  if (!visible) return std::string(verb) + " on a hidden element " + std::string(name);
  if (!enabled) return std::string(verb) + " on a disabled element " + std::string(name);
  return {};
}

// The menu that keeps `entry` from being chosen: the entry itself or the
// first disabled menu above it.
std::string_view BlockingMenu(const Game& g, const MenuEntry& entry) {
  for (const MenuEntry* e = &entry; e; e = e->parent.empty() ? nullptr : FindMenu(e->parent)) {
    if (!(g.*(e->item)).enabled) return e->name;
  }
  return entry.name;
}

Refusal ResolveClick(const Game& g, std::string_view name, Action& action) {
  if (auto index = HandCardIndex(name)) {
    const Picture& card = g.Player1_Kart(*index);
    action = {nullptr, Player1_Kart_Click, *index};
    return Usable("click", name, card.visible, card.enabled);
  }
  if (name == "Player1_Name" || name == "Player2_Name") {
    bool human = name == "Player1_Name";
    const Label& label = human ? g.Player1_Name : g.Player2_Name;
    action.plain = human ? Player1_Name_Click : Player2_Name_Click;
    return Usable("click", name, label.visible, label.enabled);
  }
  if (name == "Command1") {
    // The button lives on the rules panel and shows only with it.
    action.plain = Command1_Click;
    return Usable("click", name, g.Picture1Visible, true);
  }
  return "click on an unknown element " + std::string(name);
}

Refusal ResolveHover(const Game& g, std::string_view name, Action& action) {
  if (name == "main") {
    action.plain = Form_MouseMove;
    return {};
  }
  auto index = HandCardIndex(name);
  if (!index) return "hover on an unknown element " + std::string(name);
  const Picture& card = g.Player1_Kart(*index);
  action = {nullptr, Player1_Kart_MouseMove, *index};
  return Usable("hover", name, card.visible, card.enabled);
}

Refusal ResolveMenu(const Game& g, std::string_view name, Action& action) {
  const MenuEntry* entry = FindMenu(name);
  if (!entry) return "unknown menu " + std::string(name);
  if (!MenuReachable(g, *entry)) {
    return "menu " + std::string(name) + " is disabled (" + std::string(BlockingMenu(g, *entry)) +
           ")";
  }
  action.plain = entry->click;  // a submenu title only opens its submenu
  return {};
}

Refusal ResolveTick(const Game& g, std::string_view name, Action& action) {
  if (name != "Timer1" && name != "Timer2") return "unknown timer " + std::string(name);
  bool first = name == "Timer1";
  if (!(first ? g.Timer1 : g.Timer2).enabled) {
    return "tick of a timer that is not running: " + std::string(name);
  }
  action.plain = first ? Timer1_Timer : Timer2_Timer;
  return {};
}

Refusal Resolve(const Game& g, EventKind kind, std::string_view target, Action& action) {
  switch (kind) {
    case EventKind::kClick:
      return ResolveClick(g, target, action);
    case EventKind::kHover:
      return ResolveHover(g, target, action);
    case EventKind::kMenu:
      return ResolveMenu(g, target, action);
    case EventKind::kTick:
      return ResolveTick(g, target, action);
  }
  return "unknown event";
}

constexpr std::array<std::pair<EventKind, std::string_view>, 4> kWords = {{
    {EventKind::kClick, "click"},
    {EventKind::kHover, "hover"},
    {EventKind::kMenu, "menu"},
    {EventKind::kTick, "tick"},
}};

}  // namespace

std::optional<EventKind> EventKindOf(std::string_view word) {
  for (const auto& [kind, name] : kWords) {
    if (name == word) return kind;
  }
  return std::nullopt;
}

std::optional<int> HandCardIndex(std::string_view name) {
  constexpr std::string_view kPrefix = "Player1_Kart(";
  if (name.size() != kPrefix.size() + 2 || !name.starts_with(kPrefix) || name.back() != ')') {
    return {};
  }
  char digit = name[kPrefix.size()];
  if (digit < '1' || digit > '0' + kHandSize) return {};
  return digit - '0';
}

std::optional<std::string> EventRefusal(const Game& g, EventKind kind, std::string_view target) {
  Action unused;
  return Resolve(g, kind, target, unused);
}

std::optional<std::string> DeliverEvent(Game& g, EventKind kind, std::string_view target) {
  Action action;
  if (auto refusal = Resolve(g, kind, target, action)) return refusal;
  if (action.onCard) action.onCard(g, action.card);
  if (action.plain) action.plain(g);
  return {};
}

}  // namespace tesva

#include "headless/driver.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <ostream>
#include <set>
#include <utility>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "headless/snapshot.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

constexpr int kMaxWaitTicks = 10000;

// The first word of `text` and the rest after one blank, as it stands.
std::pair<std::string, std::string> SplitWord(std::string_view text) {
  auto blank = text.find(' ');
  if (blank == std::string_view::npos) return {std::string(text), {}};
  return {std::string(text.substr(0, blank)), std::string(text.substr(blank + 1))};
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string_view rest = text;
  while (true) {
    auto blank = rest.find(' ');
    words.emplace_back(rest.substr(0, blank));
    if (blank == std::string_view::npos) return words;
    rest.remove_prefix(blank + 1);
  }
}

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// "Player1_Kart(N)" with N from 1 to 4 gives N.
std::optional<int> HandCardIndex(std::string_view name) {
  constexpr std::string_view kPrefix = "Player1_Kart(";
  if (name.size() != kPrefix.size() + 2 || !name.starts_with(kPrefix) || name.back() != ')') {
    return {};
  }
  char digit = name[kPrefix.size()];
  if (digit < '1' || digit > '0' + kHandSize) return {};
  return digit - '0';
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A uniform value written as a plain decimal: "0", "0.25", ".5", "0.".
std::optional<double> ParseUniform(const std::string& text) {
  auto point = text.find('.');
  std::string_view whole = std::string_view(text).substr(0, point);
  std::string_view fraction =
      point == std::string::npos ? std::string_view() : std::string_view(text).substr(point + 1);
  if (!AllDigits(whole) || !AllDigits(fraction) || whole.size() + fraction.size() == 0) return {};
  double u = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), u);
  if (error != std::errc() || end != text.data() + text.size()) return {};
  if (!(u >= 0 && u < 1)) return {};  // also a value that rounds up to 1
  return u;
}

// The menu that keeps `entry` from being chosen: the entry itself or the
// first disabled menu above it.
std::string_view BlockingMenu(const Game& g, const MenuEntry& entry) {
  for (const MenuEntry* e = &entry; e; e = e->parent.empty() ? nullptr : FindMenu(e->parent)) {
    if (!(g.*(e->item)).enabled) return e->name;
  }
  return entry.name;
}

}  // namespace

Driver::Driver(std::ostream& out, std::uint64_t seed) : out_(out), platform_(seed) {}

void Driver::Line(std::string_view line) {
  if (Finished()) return;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (IsBlank(line) || line.front() == '#') return;
  if (auto failure = Carry(line)) {
    ++errors_;
    out_ << "error: " << *failure << '\n';
  }
  if (Finished() && !exitReported_) {
    exitReported_ = true;
    out_ << "exited\n";
  }
}

void Driver::Run(std::istream& in) {
  std::string line;
  while (!Finished() && std::getline(in, line)) Line(line);
}

nlohmann::json Driver::Dump() {
  auto snapshot = Snapshot(game_, platform_);
  platform_.sound.played.clear();
  platform_.dialogs.shown.clear();
  return snapshot;
}

Driver::Command Driver::FindCommand(std::string_view word) {
  static const std::pair<std::string_view, Command> kCommands[] = {
      {"store", &Driver::Store},   {"unstore", &Driver::Unstore}, {"start", &Driver::Start},
      {"deck", &Driver::Deck},     {"random", &Driver::Random},   {"reply", &Driver::Reply},
      {"answer", &Driver::Answer}, {"click", &Driver::Click},     {"hover", &Driver::Hover},
      {"menu", &Driver::Menu},     {"tick", &Driver::Tick},       {"wait", &Driver::Wait},
      {"dump", &Driver::DumpLine}, {"echo", &Driver::Echo},
  };
  for (const auto& [name, command] : kCommands) {
    if (name == word) return command;
  }
  return nullptr;
}

Driver::Failure Driver::Carry(std::string_view line) {
  auto [word, text] = SplitWord(line);
  Command command = FindCommand(word);
  if (!command) return "unknown command " + word;
  // Events need a window to deliver them.
  bool event = command == &Driver::Click || command == &Driver::Hover || command == &Driver::Menu ||
               command == &Driver::Tick || command == &Driver::Wait;
  if (event && !loaded_) return std::string("the window is not loaded");
  return (this->*command)(text);
}

// --- Set-up and queues -------------------------------------------------------

Driver::Failure Driver::Store(const std::string& text) {
  auto [key, value] = SplitWord(text);
  if (key.empty()) return std::string("store needs a key");
  platform_.store.Write(kStoreApp, kStoreSection, key, value);
  return {};
}

Driver::Failure Driver::Unstore(const std::string& text) {
  if (text.empty()) return std::string("unstore needs a key");
  platform_.store.Remove(kStoreApp, kStoreSection, text);
  return {};
}

Driver::Failure Driver::Start(const std::string& text) {
  if (!text.empty()) return std::string("start takes no argument");
  if (loaded_) return std::string("the window is already loaded");
  loaded_ = true;
  Form_Load(game_);
  return {};
}

Driver::Failure Driver::Deck(const std::string& text) {
  auto codes = Words(text);
  if (codes.size() != kDeckSize) {
    return "deck needs " + std::to_string(kDeckSize) + " card codes, not " +
           std::to_string(text.empty() ? 0 : codes.size());
  }
  std::set<std::string> seen;
  for (const auto& code : codes) {
    if (!IsCardCode(code)) return "deck: not a card code: " + code;
    if (!seen.insert(code).second) return "deck: card given twice: " + code;
  }
  platform_.random.QueueDeck(std::move(codes));
  return {};
}

Driver::Failure Driver::Random(const std::string& text) {
  if (text.empty()) return std::string("random needs at least one value");
  std::vector<double> values;
  for (const auto& word : Words(text)) {
    auto u = ParseUniform(word);
    if (!u) return "random: not a decimal 0 <= U < 1: " + word;
    values.push_back(*u);
  }
  for (double u : values) platform_.random.Queue(u);
  return {};
}

Driver::Failure Driver::Reply(const std::string& text) {
  platform_.dialogs.replies.push_back(text);
  return {};
}

Driver::Failure Driver::Answer(const std::string& text) {
  if (text != "yes" && text != "no") return "answer takes yes or no, not " + text;
  platform_.dialogs.answers.push_back(text == "yes");
  return {};
}

// --- Window events -----------------------------------------------------------

Driver::Failure Driver::ClickHandCard(int index, const std::string& name) {
  const Picture& card = game_.Player1_Kart(index);
  if (!card.visible) return "click on a hidden element " + name;
  if (!card.enabled) return "click on a disabled element " + name;
  Player1_Kart_Click(game_, index);
  return {};
}

Driver::Failure Driver::Click(const std::string& name) {
  if (auto index = HandCardIndex(name)) return ClickHandCard(*index, name);
  if (name == "Player1_Name" || name == "Player2_Name") {
    const Label& label = name == "Player1_Name" ? game_.Player1_Name : game_.Player2_Name;
    if (!label.visible) return "click on a hidden element " + name;
    if (!label.enabled) return "click on a disabled element " + name;
    name == "Player1_Name" ? Player1_Name_Click(game_) : Player2_Name_Click(game_);
    return {};
  }
  if (name == "Command1") {
    // The button lives on the rules panel and shows only with it.
    if (!game_.Picture1Visible) return "click on a hidden element Command1";
    Command1_Click(game_);
    return {};
  }
  return "click on an unknown element " + name;
}

Driver::Failure Driver::Hover(const std::string& name) {
  if (name == "main") {
    Form_MouseMove(game_);
    return {};
  }
  auto index = HandCardIndex(name);
  if (!index) return "hover on an unknown element " + name;
  const Picture& card = game_.Player1_Kart(*index);
  if (!card.visible) return "hover on a hidden element " + name;
  if (!card.enabled) return "hover on a disabled element " + name;
  Player1_Kart_MouseMove(game_, *index);
  return {};
}

Driver::Failure Driver::Menu(const std::string& name) {
  const MenuEntry* entry = FindMenu(name);
  if (!entry) return "unknown menu " + name;
  if (!MenuReachable(game_, *entry)) {
    return "menu " + name + " is disabled (" + std::string(BlockingMenu(game_, *entry)) + ")";
  }
  if (entry->click) entry->click(game_);  // a submenu title only opens its submenu
  return {};
}

Driver::Failure Driver::Tick(const std::string& name) {
  if (name != "Timer1" && name != "Timer2") return "unknown timer " + name;
  bool first = name == "Timer1";
  if (!(first ? game_.Timer1 : game_.Timer2).enabled) {
    return "tick of a timer that is not running: " + name;
  }
  first ? Timer1_Timer(game_) : Timer2_Timer(game_);
  return {};
}

Driver::Failure Driver::Wait(const std::string& text) {
  if (!text.empty()) return std::string("wait takes no argument");
  for (int tick = 0; tick < kMaxWaitTicks; ++tick) {
    if (game_.Timer1.enabled) {
      Timer1_Timer(game_);
    } else if (game_.Timer2.enabled) {
      Timer2_Timer(game_);
    } else {
      return {};
    }
  }
  if (!game_.Timer1.enabled && !game_.Timer2.enabled) return {};
  return "a timer still runs after " + std::to_string(kMaxWaitTicks) + " ticks";
}

// --- Output ------------------------------------------------------------------

Driver::Failure Driver::DumpLine(const std::string& text) {
  if (!text.empty()) return std::string("dump takes no argument");
  out_ << SnapshotLine(Dump()) << '\n';
  return {};
}

Driver::Failure Driver::Echo(const std::string& text) {
  out_ << text << '\n';
  return {};
}

}  // namespace tesva

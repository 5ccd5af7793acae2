#include "headless/driver.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <ostream>
#include <set>
#include <utility>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "headless/line_reader.h"
#include "headless/snapshot.h"
#include "platform/plain_decimal.h"
#include "shell/events.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

constexpr int kMaxWaitTicks = 10000;

// The first word of `text` and the rest after one blank, as it stands.
// Views, not copies: an event's target ("Player1_Kart(1)") is longer than a
// short string holds in WebAssembly's libc++, and copying it cost every
// event line an allocation there.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  auto blank = text.find(' ');
  if (blank == std::string_view::npos) return {text, {}};
  return {text.substr(0, blank), text.substr(blank + 1)};
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
  auto [end, error] = FromCharsDecimal(text.data(), text.data() + text.size(), u);
  if (error != std::errc() || end != text.data() + text.size()) return {};
  if (!(u >= 0 && u < 1)) return {};  // also a value that rounds up to 1
  return u;
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
  LineReader lines(in);
  std::string_view line;
  while (!Finished() && lines.Next(line)) Line(line);
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
      {"answer", &Driver::Answer}, {"wait", &Driver::Wait},       {"dump", &Driver::DumpLine},
      {"echo", &Driver::Echo},
  };
  for (const auto& [name, command] : kCommands) {
    if (name == word) return command;
  }
  return nullptr;
}

Driver::Failure Driver::Carry(std::string_view line) {
  auto [word, text] = SplitWord(line);
  auto event = EventKindOf(word);
  Command command = FindCommand(word);
  if (!event && !command) return "unknown command " + std::string(word);
  // Events need a window to deliver them.
  if ((event || command == &Driver::Wait) && !loaded_) {
    return std::string("the window is not loaded");
  }
  return event ? DeliverEvent(game_, *event, text) : (this->*command)(std::string(text));
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

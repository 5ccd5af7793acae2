#include "sequence.h"

#include <algorithm>
#include <array>
#include <random>

#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva::soak {
namespace {

using namespace std::string_literals;

// Texts that a store edited by hand, or a player at a dialog, might hand the
// game: numbers out of every range, paths, broken UTF-8, a text of 100,000
// characters. None holds a line end, which a script line cannot carry.
const std::vector<std::string>& HostileTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> all = {"",
                                    " ",
                                    "0",
                                    "00",
                                    "1",
                                    "2",
                                    "3",
                                    "7",
                                    "-3",
                                    "-1",
                                    "0.4",
                                    "2.5",
                                    "3,5",
                                    "99",
                                    "100",
                                    "150",
                                    "500",
                                    "1000",
                                    "10",
                                    "32768",
                                    "8388608",
                                    "16777216",
                                    "65535",
                                    "65536",
                                    "-32769",
                                    "2147483648",
                                    "99999999999999999999999999",
                                    "1e400",
                                    "-1e400",
                                    "1e-400",
                                    "nan",
                                    "inf",
                                    "0x1F",
                                    " 7 ",
                                    "7abc",
                                    "Back",
                                    "Back2",
                                    "back",
                                    "Back3",
                                    "K1",
                                    "GateKeeper",
                                    "gatekeeper",
                                    "GateKeeper ",
                                    "Oyuncu",
                                    "Ayşe Yılmaz",
                                    "Çığ Öğüş",
                                    "../../../../etc/passwd",
                                    "..\\..\\Windows\\win.ini",
                                    "/dev/zero",
                                    "Data/../../K1",
                                    "%s%s%n",
                                    "[Secenekler]",
                                    "Seviye=2",
                                    "\"tırnak\"",
                                    "a\tb",
                                    "a\rb",
                                    "\xff\xfe",
                                    "\xc3",
                                    "\xed\xa0\x80",
                                    "\xf4\x90\x80\x80",
                                    "\xc0\xaf",
                                    "a\0b"s};
    all.push_back(std::string(100000, 'x'));
    all.push_back(std::string(100000, '9'));
    std::string turkish;
    for (int i = 0; i < 50000; ++i) turkish += "ş";
    all.push_back(turkish);
    return all;
  }();
  return texts;
}

// Values the game itself writes, so that games also run with sane options.
struct KeyValues {
  std::string_view key;
  std::vector<std::string_view> values;
};
const std::array<KeyValues, 8> kOptionValues = {{
    {kKeyLevel, {"1", "2", "3"}},
    {kKeyDelay, {"10", "100", "500", "1000"}},
    {kKeyHands, {"1", "2", "3", "11"}},  // short games reach their end
    {kKeySounds, {"0", "1"}},
    {kKeyBackground, {"32768", "8388608", "0"}},
    {kKeyCardBack, {"Back", "Back2"}},
    {kKeyHumanName, {"Oyuncu", "GateKeeper", "Ayşe"}},
    {kKeyComputerName, {"Bilgisayar", "Deniz"}},
}};
constexpr std::string_view kUnknownKey = "Bilinmeyen";

const std::vector<std::string_view>& SaneValues(std::string_view key) {
  return std::ranges::find(kOptionValues, key, &KeyValues::key)->values;
}

constexpr std::array<std::string_view, kHandSize> kHandCards = {
    "Player1_Kart(1)", "Player1_Kart(2)", "Player1_Kart(3)", "Player1_Kart(4)"};

class Chooser {
 public:
  explicit Chooser(std::uint64_t seed) : rng_(seed ^ 0x9E3779B97F4A7C15ULL) {}

  int Roll(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  int EventCount() { return kMinEvents + Roll(kMaxEvents - kMinEvents + 1); }

  // The options store before start-up: each key absent, sane or hostile.
  void SetUp(std::vector<Event>& script) {
    for (const auto& [key, values] : kOptionValues) {
      int roll = Roll(100);
      // The level decides whether the defaults are written over everything.
      int absent = key == kKeyLevel ? 15 : 25;
      if (roll < absent) continue;
      std::string_view text = roll < 60 ? values[Roll(static_cast<int>(values.size()))] : Hostile();
      script.push_back({Verb::kStore, key, text});
    }
    if (Roll(10) == 0) script.push_back({Verb::kStore, kUnknownKey, Hostile()});
    script.push_back({Verb::kStart, {}, {}});
  }

  // The next event, after the reply or answer queued for its dialog.
  void Next(const Game& g, std::vector<Event>& script) {
    if (Roll(4000) == 0) return script.push_back({Verb::kMenu, "mnuCikis", {}});
    if (Roll(100) < 55 && Play(g, script)) return;
    Any(script);
  }

 private:
  std::string_view Hostile() {
    const auto& texts = HostileTexts();
    return texts[Roll(static_cast<int>(texts.size()))];
  }

  // What a player keen to get on with the game does now, if anything.
  bool Play(const Game& g, std::vector<Event>& script) {
    if (g.Timer2.enabled) return script.push_back({Verb::kTick, "Timer2", {}}), true;
    if (g.Timer1.enabled) return script.push_back({Verb::kTick, "Timer1", {}}), true;
    if (g.Picture1Visible) return script.push_back({Verb::kClick, "Command1", {}}), true;
    std::vector<std::string_view> cards;
    for (int i = 1; i <= kHandSize; ++i) {
      if (g.Player1_Kart(i).enabled) cards.push_back(kHandCards[i - 1]);
    }
    if (!cards.empty()) {
      script.push_back({Verb::kClick, cards[Roll(static_cast<int>(cards.size()))], {}});
      return true;
    }
    if (g.HandNo == 0) return script.push_back({Verb::kMenu, "mnuYeni", {}}), true;
    return false;
  }

  // Anything at all, deliverable now or not.
  void Any(std::vector<Event>& script) {
    int roll = Roll(100);
    if (roll < 25) return script.push_back({Verb::kClick, kHandCards[Roll(kHandSize)], {}});
    if (roll < 40) return script.push_back({Verb::kHover, kHandCards[Roll(kHandSize)], {}});
    if (roll < 45) return script.push_back({Verb::kHover, "main", {}});
    if (roll < 53) {
      QueueReply(script, Roll(4) == 0 ? "GateKeeper" : Hostile());
      return script.push_back({Verb::kClick, Roll(2) ? "Player1_Name" : "Player2_Name", {}});
    }
    if (roll < 56) return script.push_back({Verb::kClick, "Command1", {}});
    if (roll < 57) return script.push_back({Verb::kClick, "Deste", {}});  // not clickable
    if (roll < 86) return Menu(script);
    if (roll < 98) return script.push_back({Verb::kTick, Roll(2) ? "Timer1" : "Timer2", {}});
    const auto& [key, values] = kOptionValues[Roll(static_cast<int>(kOptionValues.size()))];
    script.push_back({Verb::kStore, key, Roll(2) ? values.front() : Hostile()});
  }

  // Any item of the menu bar, submenu titles included; the exit has its own
  // small chance, so that most sequences run their course.
  void Menu(std::vector<Event>& script) {
    const MenuEntry* entry;
    do {
      entry = &kMenuBar[Roll(static_cast<int>(kMenuBar.size()))];
    } while (!entry->item || entry->name == "mnuCikis");
    if (entry->name == "mnuYeni" && Roll(5) != 0) {
      script.push_back({Verb::kAnswer, Roll(2) ? "yes" : "no", {}});
    }
    if (entry->name == "mnuElSayisi") {
      const auto& counts = SaneValues(kKeyHands);
      QueueReply(script, Roll(2) ? counts[Roll(static_cast<int>(counts.size()))] : Hostile());
    }
    script.push_back({Verb::kMenu, entry->name, {}});
  }

  // Mostly one reply for the box about to open; sometimes none (the box
  // then returns ""), sometimes one more that a later box takes.
  void QueueReply(std::vector<Event>& script, std::string_view reply) {
    if (Roll(5) == 0) return;
    script.push_back({Verb::kReply, {}, reply});
    if (Roll(10) == 0) script.push_back({Verb::kReply, {}, Hostile()});
  }

  std::mt19937_64 rng_;
};

}  // namespace

SequenceResult RunSequence(CheckedGame& game, std::uint64_t seed, Progress* progress,
                           std::optional<std::size_t> stopAt) {
  Chooser chooser(seed);
  SequenceResult result;
  result.seed = seed;
  auto& script = result.script;
  if (progress) progress->seed.store(seed, std::memory_order_relaxed);
  // Carries out the lines from `from` on; false when the sequence stops.
  auto carry = [&](std::size_t from) {
    for (auto line = from; line < script.size(); ++line) {
      if (stopAt && line >= *stopAt) {
        script.resize(line + 1);
        return false;
      }
      if (progress) progress->line.store(line, std::memory_order_relaxed);
      if (auto failure = game.Apply(script[line])) {
        result.failure = std::move(failure);
        script.resize(line + 1);
        return false;
      }
    }
    return true;
  };
  chooser.SetUp(script);
  if (!carry(0)) return result;
  for (int left = chooser.EventCount(); left > 0 && !game.Exited(); --left) {
    auto from = script.size();
    chooser.Next(game.game(), script);
    ++result.events;
    if (!carry(from)) return result;
  }
  return result;
}

std::string ReplayScript(const SequenceResult& result) {
  auto seed = std::to_string(result.seed);
  std::string failure = result.failure.value_or("nothing");
  std::replace(failure.begin(), failure.end(), '\n', ' ');
  std::string script =
      "# tesva-soak: sequence " + seed + " broke an invariant at its last event: " + failure +
      "\n# replay: TESVA_SEED=" + seed + " TESVA_USTA_SEARCH=" + std::to_string(kSoakUstaSearch) +
      " tesva-headless THIS-FILE\n";
  for (const auto& event : result.script) script += ScriptLine(event) + '\n';
  return script + "dump\n";
}

}  // namespace tesva::soak

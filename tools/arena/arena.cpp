#include "arena.h"

#include <array>

#include "cpu/computer.h"
#include "cpu/seat_view.h"
#include "cpu/usta.h"
#include "engine/engine.h"
#include "platform/memory.h"
#include "shell/main_window.h"

namespace tesva::arena {
namespace {

constexpr std::array<std::string_view, 4> kNames = {"amator", "pro", "usta", "greedy"};
// The game's level for the computer seat; the rule player has none.
constexpr std::array<std::string_view, 4> kLevels = {kAmateur, kProfessional, kMaster, ""};
// Far more events than any game of 99 hands needs.
constexpr int kMaxEvents = 1'000'000;

// The human's cards in slot order, the empty slots left out.
std::vector<std::string> HumanHand(const Game& g, std::vector<int>& slots) {
  std::vector<std::string> hand;
  for (int slot = 1; slot <= kHandSize; ++slot) {
    if (g.Player1_Hand(slot).empty()) continue;
    hand.push_back(g.Player1_Hand(slot));
    slots.push_back(slot);
  }
  return hand;
}

// The slot of the card the human seat plays.
int HumanSlot(Game& g, Player player) {
  switch (player) {
    case Player::kMaster:
      return UstaChoice(g, Seat::kHuman);
    case Player::kGreedy:
      return RulePosition(ViewOf(g, Seat::kHuman));
    default: {
      std::vector<int> slots;
      auto hand = HumanHand(g, slots);
      auto level = kLevels[static_cast<std::size_t>(player)];
      return slots[static_cast<std::size_t>(RulesChoice(g, level, hand) - 1)];
    }
  }
}

void ComputerTurn(Game& g, Player player) {
  if (player != Player::kGreedy) return Timer1_Timer(g);
  g.Timer1.enabled = false;
  PlayComputerCard(g, RulePosition(ViewOf(g, Seat::kComputer)));
}

class NoSound : public SoundPlayer {
 public:
  void Play(const std::string&) override {}
};

}  // namespace

std::optional<Player> PlayerNamed(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<Player>(i);
  }
  return std::nullopt;
}

std::string_view NameOf(Player player) {
  return kNames[static_cast<std::size_t>(player)];
}

std::uint64_t GameSeed(std::uint64_t seed, std::uint64_t index) {
  // SplitMix64 of the run's seed and the game's index.
  std::uint64_t z = seed + (index + 1) * 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

GameResult PlayGame(Player human, Player computer, int hands, std::uint64_t seed, int ustaSearch) {
  MemoryStore store;
  NoSound sound;
  ScriptedRandom random(seed);
  ScriptedDialogs dialogs;
  MemoryHost host;
  Game g({store, sound, random, dialogs, host});
  WriteFirstRunDefaults(g);
  auto level = kLevels[static_cast<std::size_t>(computer)];
  WriteOption(g, kKeyLevel, level.empty() ? kAmateur : level);
  WriteOption(g, kKeyHands, std::to_string(hands));
  WriteOption(g, kKeySounds, "0");
  g.UstaSearch = ustaSearch;
  Form_Load(g);
  for (int events = 0; g.HandNo != 0 && events < kMaxEvents; ++events) {
    if (g.Timer1.enabled) {
      ComputerTurn(g, computer);
    } else if (g.Timer2.enabled) {
      Timer2_Timer(g);
    } else {
      Player1_Kart_Click(g, HumanSlot(g, human));
    }
  }
  return {g.Player1_Score, g.Player2_Score};
}

}  // namespace tesva::arena

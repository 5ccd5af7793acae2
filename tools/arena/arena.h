// Complete games between two players with no window and no pauses: the
// computer's seat played as in the game, the human's seat through the click
// handler by the same rules, mirrored onto the human's hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tesva::arena {

// The amateur, the professional and the master are the game's levels;
// greedy is the arena's one-move rule player (the master's play-out rule).
enum class Player { kAmateur, kProfessional, kMaster, kGreedy };

std::optional<Player> PlayerNamed(std::string_view name);
std::string_view NameOf(Player player);

struct GameResult {
  int humanPoints = 0;
  int computerPoints = 0;
};

// One game of `hands` hands, all chance drawn from a source seeded with
// `seed`; `ustaSearch` sets the master's search size.
GameResult PlayGame(Player human, Player computer, int hands, std::uint64_t seed, int ustaSearch);

// The seed of game `index` of a run seeded with `seed`: the same game
// whatever thread plays it.
std::uint64_t GameSeed(std::uint64_t seed, std::uint64_t index);

}  // namespace tesva::arena

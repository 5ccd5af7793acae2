// Everything a player could observe of the game, as one JSON object: the
// state values, every element of the window, the options store, and the
// sounds and dialogs recorded by the in-memory platform.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "engine/game_state.h"
#include "platform/memory.h"

namespace tesva {

// The snapshot of `game` running on `platform`. "sounds" and "dialogs" hold
// what the platform has recorded so far; the caller decides when to forget
// them (the driver does so after every dump).
nlohmann::json Snapshot(const Game& game, const MemoryPlatform& platform);

// One line of compact JSON. Texts may hold any bytes (a stored name need not
// be UTF-8); invalid sequences are replaced so that writing never fails.
std::string SnapshotLine(const nlohmann::json& snapshot);

}  // namespace tesva

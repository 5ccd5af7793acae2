// The TCP port a hosted game listens on: kept under a key of its own beside
// the game's options, read back with anything that is not a port falling
// back to the default (a store is edited by hand, or by other programs).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace tesva::net {

inline constexpr std::string_view kKeyFriendPort = "ArkadasPortu";
inline constexpr std::uint16_t kDefaultFriendPort = 45617;

// 1 to 65535 in plain decimal digits (no sign, space or leading zero), or
// nothing.
std::optional<std::uint16_t> ParsePort(std::string_view text);
std::uint16_t ReadFriendPort(OptionsStore& store);
void WriteFriendPort(OptionsStore& store, std::uint16_t port);

}  // namespace tesva::net

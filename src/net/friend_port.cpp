#include "net/friend_port.h"

#include <string>

#include "engine/engine.h"

namespace tesva::net {

// The port is kept in the same section as the game's options, so its key
// must be none of theirs.
static_assert(kKeyFriendPort != kKeyLevel && kKeyFriendPort != kKeyDelay &&
              kKeyFriendPort != kKeyHands && kKeyFriendPort != kKeySounds &&
              kKeyFriendPort != kKeyBackground && kKeyFriendPort != kKeyCardBack &&
              kKeyFriendPort != kKeyHumanName && kKeyFriendPort != kKeyComputerName);

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5 || text.front() == '0') return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::uint16_t ReadFriendPort(OptionsStore& store) {
  return ParsePort(store.Read(kStoreApp, kStoreSection, kKeyFriendPort))
      .value_or(kDefaultFriendPort);
}

void WriteFriendPort(OptionsStore& store, std::uint16_t port) {
  store.Write(kStoreApp, kStoreSection, kKeyFriendPort, std::to_string(port));
}

}  // namespace tesva::net

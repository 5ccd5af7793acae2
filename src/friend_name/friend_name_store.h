// The other player's name in a game with a friend: read under "CpuIsim",
// where the game looks for the other seat's name, without ever touching the
// user's own stored "CpuIsim"; and the check a name from the other side
// passes before it goes into captions.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tesva::net {

// Reads the other player's name under "CpuIsim" and passes everything else
// to the player's own store, so that the user's stored "CpuIsim" stays.
class FriendNameStore : public OptionsStore {
 public:
  explicit FriendNameStore(OptionsStore& own) : own_(own) {}
  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
  std::string friendName;

 private:
  OptionsStore& own_;
};

// Valid UTF-8 without control characters.
bool IsPlainName(std::string_view name);

}  // namespace tesva::net

// The other player's name in a game with a friend: read under "CpuIsim",
// where the game looks for the other seat's name, without ever touching the
// user's own stored "CpuIsim"; and the check a name from the other side
// passes before it goes into captions.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/platform.h"

namespace tesva::net {

// Reads the other player's name under "CpuIsim" and passes everything else
// to the player's own store, so that the user's stored "CpuIsim" stays.
// A store may stand aside, passing everything through, while no friend
// game runs.
class FriendNameStore : public OptionsStore {
 public:
  // What becomes of a "CpuIsim" written while the store stands in: kept
  // only as the own store's first value (a first run's default, so that
  // the game against the computer finds it later), or never kept.
  enum class OwnName { kFirstValueKept, kNeverWritten };

  explicit FriendNameStore(OptionsStore& own, OwnName ownName = OwnName::kFirstValueKept,
                           bool standingIn = true)
      : own_(own), ownName_(ownName), standingIn_(standingIn) {}
  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;

  // From now on "CpuIsim" reads as `name`.
  void StandIn(std::string name) {
    friendName = std::move(name);
    standingIn_ = true;
  }
  // From now on everything reads and writes the own store.
  void StandAside() {
    friendName.clear();
    standingIn_ = false;
  }

  std::string friendName;

 private:
  bool IsOtherSeat(std::string_view app, std::string_view section, std::string_view key) const;

  OptionsStore& own_;
  OwnName ownName_;
  bool standingIn_;
};

// Valid UTF-8 without control characters.
bool IsPlainName(std::string_view name);

}  // namespace tesva::net

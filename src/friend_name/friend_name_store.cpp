#include "friend_name/friend_name_store.h"

#include "engine/engine.h"

namespace tesva::net {

// A name from the other side goes into captions: valid UTF-8 without
// control characters, or it is refused.
bool IsPlainName(std::string_view name) {
  std::size_t i = 0;
  while (i < name.size()) {
    auto c = static_cast<unsigned char>(name[i]);
    std::size_t extra = c < 0x80         ? 0
                        : (c >> 5) == 6  ? 1
                        : (c >> 4) == 14 ? 2
                        : (c >> 3) == 30 ? 3
                                         : 4;
    if (extra == 4 || c < 0x20 || c == 0x7f || name.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

bool FriendNameStore::IsOtherSeat(std::string_view app, std::string_view section,
                                  std::string_view key) const {
  return standingIn_ && app == kStoreApp && section == kStoreSection && key == kKeyComputerName;
}

std::string FriendNameStore::Read(std::string_view app, std::string_view section,
                                  std::string_view key) {
  if (IsOtherSeat(app, section, key)) return friendName;
  return own_.Read(app, section, key);
}

void FriendNameStore::Write(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
  // The user's own "CpuIsim" is never overwritten.
  if (IsOtherSeat(app, section, key) &&
      (ownName_ == OwnName::kNeverWritten || !own_.Read(app, section, key).empty())) {
    return;
  }
  own_.Write(app, section, key, value);
}

}  // namespace tesva::net

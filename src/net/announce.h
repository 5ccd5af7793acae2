// The datagram by which a hosting program tells the local network that a
// game waits for a friend, and its parser.
//
//   magic "TSVA" (4 bytes), protocol version u16, TCP port u16,
//   name length u8, the host player's name (UTF-8)
//
// Anyone on the network can send anything to the port a joining program
// listens on, so the parser takes nothing on trust: a datagram that is not
// exactly this, with a port that can be connected to and a name the table
// can show (valid UTF-8, no control characters, at most kMaxNameLength
// characters), is refused with the reason, never half read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "net/bytes.h"
#include "shell/main_window.h"

namespace tesva::net {

inline constexpr std::uint16_t kAnnouncePort = 45618;
inline constexpr std::uint8_t kAnnounceMagic[4] = {'T', 'S', 'V', 'A'};
inline constexpr std::size_t kAnnounceHeader = 4 + 2 + 2 + 1;
// At most kMaxNameLength characters of at most four bytes each.
inline constexpr std::size_t kMaxAnnounceName = 4 * kMaxNameLength;
inline constexpr std::size_t kMaxAnnounce = kAnnounceHeader + kMaxAnnounceName;

struct Announcement {
  std::uint16_t port = 0;
  std::string name;
  bool operator==(const Announcement&) const = default;
};

struct AnnounceRead {
  std::optional<Announcement> announcement;
  std::string error;  // why it was refused, when it was
};

// The datagram for `announcement`; its name is cut to the game's length
// (whole characters) first.
Bytes MakeAnnouncement(const Announcement& announcement);
AnnounceRead ReadAnnouncement(ByteView datagram);

// Valid UTF-8 (no overlong forms, surrogates or code points past U+10FFFF)
// without control characters.
bool IsPlainUtf8(std::string_view text);

}  // namespace tesva::net

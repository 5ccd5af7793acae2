#include "net/announce.h"

#include <algorithm>

#include "net/link.h"

namespace tesva::net {
namespace {

// The length of the UTF-8 sequence that starts at text[i], 0 when none
// valid does: overlong forms, surrogates and code points past U+10FFFF
// would let two different byte strings show as one name.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t size = lead >= 0xC2 && lead <= 0xDF   ? 2
                     : lead >= 0xE0 && lead <= 0xEF ? 3
                     : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                    : 0;
  if (size == 0 || text.size() - i < size) return 0;
  for (std::size_t k = 1; k < size; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
  }
  unsigned char second = byte(1);
  if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
  if (lead == 0xED && second > 0x9F) return 0;  // a surrogate
  if (lead == 0xF0 && second < 0x90) return 0;  // overlong
  if (lead == 0xF4 && second > 0x8F) return 0;  // past U+10FFFF
  return size;
}

bool IsControl(std::string_view text, std::size_t i, std::size_t size) {
  auto lead = static_cast<unsigned char>(text[i]);
  if (size == 1) return lead < 0x20 || lead == 0x7F;
  // U+0080 to U+009F, the C1 controls.
  return size == 2 && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
}

int CharacterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

AnnounceRead Refused(std::string why) {
  return {std::nullopt, std::move(why)};
}

}  // namespace

bool IsPlainUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t size = SequenceAt(text, i);
    if (size == 0 || IsControl(text, i, size)) return false;
    i += size;
  }
  return true;
}

Bytes MakeAnnouncement(const Announcement& announcement) {
  std::string name = CutToCharacters(announcement.name, kMaxNameLength);
  Bytes out;
  ByteWriter writer(out);
  writer.Put(kAnnounceMagic);
  writer.U16(kProtocolVersion);
  writer.U16(announcement.port);
  writer.Text(name);
  return out;
}

AnnounceRead ReadAnnouncement(ByteView datagram) {
  if (datagram.size() < kAnnounceHeader) return Refused("too short");
  if (datagram.size() > kMaxAnnounce) return Refused("too long");
  if (!std::equal(std::begin(kAnnounceMagic), std::end(kAnnounceMagic), datagram.begin())) {
    return Refused("not a Tesva announcement");
  }
  ByteReader reader(datagram.subspan(sizeof kAnnounceMagic));
  std::uint16_t version = 0;
  Announcement read;
  reader.U16(version);
  reader.U16(read.port);
  if (version != kProtocolVersion) return Refused("another protocol version");
  if (read.port == 0) return Refused("port 0");
  if (!reader.Text(kMaxAnnounceName, read.name) || !reader.AtEnd()) {
    return Refused("the name's length does not match the datagram");
  }
  if (!IsPlainUtf8(read.name)) return Refused("the name is not plain UTF-8");
  if (CharacterCount(read.name) > kMaxNameLength) return Refused("the name is too long");
  return {std::move(read), {}};
}

}  // namespace tesva::net

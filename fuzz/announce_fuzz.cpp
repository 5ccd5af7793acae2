// The local announcement's parser against any datagram: it refuses with a
// reason or reads an announcement that a host would send byte for byte,
// with a port that can be connected to and a name the table can show.
#include <cstdint>
#include <cstdlib>

#include "net/announce.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesva::net;
  ByteView datagram(data, size);
  AnnounceRead read = ReadAnnouncement(datagram);
  if (!read.announcement) {
    if (read.error.empty()) std::abort();
    return 0;
  }
  const Announcement& got = *read.announcement;
  if (got.port == 0 || !IsPlainUtf8(got.name)) std::abort();
  Bytes again = MakeAnnouncement(got);
  if (!std::equal(again.begin(), again.end(), datagram.begin(), datagram.end())) std::abort();
  return 0;
}

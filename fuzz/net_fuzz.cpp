// The frame reader and the game's state machine against any bytes.
//
// The first input byte chooses where the stream is cut: the frames (or the
// error) read from the whole must be those read from the two pieces. The
// frames' bodies then go, as game messages, to a guest's game at its start,
// which must refuse or take each without crashing, hanging or growing.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/frame.h"
#include "net/net_game.h"
#include "platform/memory.h"

namespace {

using namespace tesva::net;

// Type 1 has a narrow size, to reach the size check; 2 to 7 and 12 (the
// hand's result) are the game's messages, carried whole.
constexpr FrameRule kRules[] = {{1, 4, 40},
                                {2, 0, kFrameLimit - 1},
                                {3, 0, kFrameLimit - 1},
                                {4, 0, kFrameLimit - 1},
                                {5, 0, kFrameLimit - 1},
                                {6, 0, kFrameLimit - 1},
                                {7, 0, kFrameLimit - 1},
                                {kResultMessage, 0, kFrameLimit - 1}};

struct Read {
  std::vector<Frame> frames;
  std::optional<FrameError> error;
};

Read ReadAll(const std::vector<ByteView>& pieces) {
  FrameReader reader(kRules);
  Read out;
  for (ByteView piece : pieces) {
    while (!piece.empty() && !reader.error()) {
      piece = piece.subspan(reader.Feed(piece));
      if (reader.Held() > kFrameLimit + kFrameHeader) std::abort();  // never more than a frame
      if (auto frame = reader.Take()) out.frames.push_back(std::move(*frame));
    }
  }
  out.error = reader.error();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ByteView stream(data + 1, size - 1);
  std::size_t cut = stream.empty() ? 0 : data[0] % (stream.size() + 1);
  auto whole = ReadAll({stream});
  auto split = ReadAll({stream.first(cut), stream.subspan(cut)});
  if (whole.frames != split.frames || whole.error != split.error) std::abort();

  tesva::MemoryPlatform services(1);
  NetGame guest(Role::kGuest, services.services(), DefaultDealMaker());
  for (const auto& frame : whole.frames) {
    Bytes message{frame.type};
    message.insert(message.end(), frame.body.begin(), frame.body.end());
    guest.Receive(message);
    for (int slot = 1; slot <= 4; ++slot) guest.Play(slot);
    guest.TickPause();
  }
  guest.LinkEnded(MakeFailure(Fault::kLost));
  if (!guest.failure()) std::abort();  // a game cut short always says why
  return 0;
}

// The byte stream between two programs is a row of frames:
//
//   length  4 bytes, big-endian: how many bytes follow (type and body),
//           1 to kFrameLimit
//   type    1 byte
//   body    length - 1 bytes
//
// Each frame type has a smallest and a largest body. The reader checks the
// length and the type against them as soon as the five header bytes are in,
// before it keeps a single byte of the body, so that a peer can make it hold
// no more than one frame of the size its type allows. Splitting the stream
// anywhere gives the same frames, or the same error at the same frame.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "net/bytes.h"

namespace tesva::net {

// The most bytes a frame's length may count: its type and body.
inline constexpr std::uint32_t kFrameLimit = 64 * 1024;
inline constexpr std::size_t kFrameHeader = 5;  // length and type

struct Frame {
  std::uint8_t type = 0;
  Bytes body;
  bool operator==(const Frame&) const = default;
};

// What a frame type's body may hold, in bytes.
struct FrameRule {
  std::uint8_t type;
  std::uint32_t minBody;
  std::uint32_t maxBody;
};

enum class FrameFault {
  kZeroLength,   // a length of 0: not even a type
  kOverLimit,    // a length over kFrameLimit
  kUnknownType,  // a type with no rule
  kBadSize,      // a body too short or too long for its type
};

struct FrameError {
  FrameFault fault;
  std::uint32_t length;  // the length field as it came
  std::uint8_t type;     // 0 when the length was refused before the type
  // Frames that had been read whole before this one.
  std::uint64_t frame;
  bool operator==(const FrameError&) const = default;
};

// "a length of 70000 bytes, over the limit of 65536": for logs and tests.
std::string Describe(const FrameError& error);

// The frame as bytes on the wire. The body must fit kFrameLimit.
Bytes EncodeFrame(std::uint8_t type, ByteView body);

class FrameReader {
 public:
  // `rules` must outlive the reader.
  explicit FrameReader(std::span<const FrameRule> rules) : rules_(rules) {}

  // Takes bytes up to the end of the next frame and returns how many it
  // took: all of them, or fewer when a frame is complete (take it with
  // Take, then feed the rest) or an error has been found (then it takes
  // nothing more).
  std::size_t Feed(ByteView bytes);
  // The frame that Feed has completed, once.
  std::optional<Frame> Take();

  const std::optional<FrameError>& error() const { return error_; }
  // True while part of a frame has come and the rest has not.
  bool MidFrame() const { return headerHave_ > 0 || body_.has_value(); }
  // Bytes held for the frame being read, the header included.
  std::size_t Held() const { return headerHave_ + (body_ ? body_->size() : 0); }

 private:
  std::optional<FrameError> CheckHeader(std::uint32_t length, std::uint8_t type) const;

  std::span<const FrameRule> rules_;
  std::uint8_t header_[kFrameHeader] = {};
  std::size_t headerHave_ = 0;
  std::uint8_t type_ = 0;
  std::uint32_t bodySize_ = 0;
  std::optional<Bytes> body_;  // set once the header is in and checked
  std::optional<Frame> done_;
  std::optional<FrameError> error_;
  std::uint64_t frames_ = 0;
};

}  // namespace tesva::net

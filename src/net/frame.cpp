#include "net/frame.h"

#include <algorithm>
#include <stdexcept>

namespace tesva::net {

std::string Describe(const FrameError& error) {
  auto length = std::to_string(error.length);
  auto type = std::to_string(error.type);
  auto where = " (frame " + std::to_string(error.frame + 1) + ")";
  switch (error.fault) {
    case FrameFault::kZeroLength:
      return "a frame of length 0" + where;
    case FrameFault::kOverLimit:
      return "a frame of " + length + " bytes, over the limit of " + std::to_string(kFrameLimit) +
             where;
    case FrameFault::kUnknownType:
      return "a frame of unknown type " + type + where;
    case FrameFault::kBadSize:
      return "a frame of type " + type + " with a body of " + std::to_string(error.length - 1) +
             " bytes, a size that type never has" + where;
  }
  return "a broken frame" + where;
}

Bytes EncodeFrame(std::uint8_t type, ByteView body) {
  if (body.size() + 1 > kFrameLimit) throw std::length_error("frame body over the limit");
  Bytes out;
  out.reserve(kFrameHeader + body.size());
  ByteWriter write(out);
  write.U32(static_cast<std::uint32_t>(body.size() + 1));
  write.U8(type);
  write.Put(body);
  return out;
}

std::optional<FrameError> FrameReader::CheckHeader(std::uint32_t length, std::uint8_t type) const {
  if (length == 0) return FrameError{FrameFault::kZeroLength, length, 0, frames_};
  if (length > kFrameLimit) return FrameError{FrameFault::kOverLimit, length, 0, frames_};
  auto rule = std::find_if(rules_.begin(), rules_.end(),
                           [&](const FrameRule& r) { return r.type == type; });
  if (rule == rules_.end()) return FrameError{FrameFault::kUnknownType, length, type, frames_};
  std::uint32_t body = length - 1;
  if (body < rule->minBody || body > rule->maxBody) {
    return FrameError{FrameFault::kBadSize, length, type, frames_};
  }
  return std::nullopt;
}

std::size_t FrameReader::Feed(ByteView bytes) {
  std::size_t used = 0;
  while (used < bytes.size() && !error_ && !done_) {
    if (!body_) {
      // The length's four bytes come first; each is judged as soon as it
      // can be, so a length over the limit is refused before its type.
      header_[headerHave_++] = bytes[used++];
      if (headerHave_ == 4) {
        std::uint32_t length = std::uint32_t{header_[0]} << 24 | std::uint32_t{header_[1]} << 16 |
                               std::uint32_t{header_[2]} << 8 | header_[3];
        if (length == 0 || length > kFrameLimit) error_ = CheckHeader(length, 0);
        bodySize_ = length - 1;
      } else if (headerHave_ == kFrameHeader) {
        type_ = header_[4];
        error_ = CheckHeader(bodySize_ + 1, type_);
        if (!error_) body_.emplace();
      }
    } else {
      // The body grows with what has come, never ahead of it.
      auto take = std::min<std::size_t>(bodySize_ - body_->size(), bytes.size() - used);
      body_->insert(body_->end(), bytes.begin() + used, bytes.begin() + used + take);
      used += take;
    }
    if (body_ && body_->size() == bodySize_) {
      done_ = Frame{type_, std::move(*body_)};
      body_.reset();
      headerHave_ = 0;
      ++frames_;
    }
  }
  return used;
}

std::optional<Frame> FrameReader::Take() {
  auto frame = std::move(done_);
  done_.reset();
  return frame;
}

}  // namespace tesva::net

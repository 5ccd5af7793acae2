// Bytes on the wire: fixed-width big-endian fields written and read with a
// check on every read, in the spirit of libsodium's own API (explicit sizes,
// checked results). A reader that runs short or is asked for a value it
// cannot give fails, and stays failed: a parser reads all its fields and
// tests once at the end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesva::net {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline ByteView ViewOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) : out_(out) {}
  void U8(std::uint8_t value) { out_.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value >> 8));
    U8(static_cast<std::uint8_t>(value));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value >> 16));
    U16(static_cast<std::uint16_t>(value));
  }
  // Grown, then copied into: GCC 12's link-time optimiser takes a range
  // inserted into an empty vector for a write into no room, and warns.
  void Put(ByteView bytes) {
    if (bytes.empty()) return;
    std::size_t at = out_.size();
    out_.resize(at + bytes.size());
    std::memcpy(out_.data() + at, bytes.data(), bytes.size());
  }
  // A short text: its length in one byte, then its bytes. The caller keeps
  // texts under 256 bytes.
  void Text(std::string_view text) {
    U8(static_cast<std::uint8_t>(text.size()));
    Put(ViewOf(text));
  }

 private:
  Bytes& out_;
};

class ByteReader {
 public:
  explicit ByteReader(ByteView in) : in_(in) {}

  bool U8(std::uint8_t& value) {
    if (!Need(1)) return false;
    value = in_[at_++];
    return true;
  }
  bool U16(std::uint16_t& value) {
    std::uint8_t high = 0, low = 0;
    if (!U8(high) || !U8(low)) return false;
    value = static_cast<std::uint16_t>(high << 8 | low);
    return true;
  }
  bool U32(std::uint32_t& value) {
    std::uint16_t high = 0, low = 0;
    if (!U16(high) || !U16(low)) return false;
    value = std::uint32_t{high} << 16 | low;
    return true;
  }
  // The next n bytes, as a view into the input.
  bool Take(std::size_t n, ByteView& bytes) {
    if (!Need(n)) return false;
    bytes = in_.subspan(at_, n);
    at_ += n;
    return true;
  }
  template <std::size_t N>
  bool Fixed(std::uint8_t (&out)[N]) {
    ByteView bytes;
    if (!Take(N, bytes)) return false;
    std::copy(bytes.begin(), bytes.end(), out);
    return true;
  }
  // A short text of at most maxBytes bytes.
  bool Text(std::size_t maxBytes, std::string& text) {
    std::uint8_t size = 0;
    ByteView bytes;
    if (!U8(size) || size > maxBytes || !Take(size, bytes)) return Fail();
    text.assign(bytes.begin(), bytes.end());
    return true;
  }
  // True when every byte has been read and no read failed.
  bool AtEnd() const { return ok_ && at_ == in_.size(); }
  bool ok() const { return ok_; }
  std::size_t Left() const { return in_.size() - at_; }

 private:
  bool Need(std::size_t n) {
    if (!ok_ || in_.size() - at_ < n) return Fail();
    return true;
  }
  bool Fail() {
    ok_ = false;
    return false;
  }

  ByteView in_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace tesva::net

#include "headless/line_reader.h"

#include <algorithm>

namespace tesva {
namespace {

// Large enough that a long script costs few calls to the stream.
constexpr std::streamsize kChunk = 1 << 16;

}  // namespace

bool LineReader::Next(std::string_view& line) {
  // libc++'s getline, the one emscripten has, moves each character through
  // the stream and the string one at a time: on a long script that was a
  // fifth of the WebAssembly driver's time. A line that lies whole in the
  // buffer is handed out where it lies.
  partial_.clear();
  bool any = false;
  for (;;) {
    if (pos_ == pending_.size() && !Refill()) {
      in_.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
      line = partial_;
      return any;
    }
    any = true;
    std::string_view rest = std::string_view(pending_).substr(pos_);
    auto end = rest.find('\n');
    if (end == std::string_view::npos) {
      partial_.append(rest);
      pos_ = pending_.size();
      continue;
    }
    pos_ += end + 1;
    if (partial_.empty()) {
      line = rest.substr(0, end);
    } else {
      partial_.append(rest.substr(0, end));
      line = partial_;
    }
    return true;
  }
}

bool LineReader::Refill() {
  using Traits = std::istream::traits_type;
  std::streambuf* buffer = in_.rdbuf();
  pending_.clear();
  pos_ = 0;
  if (buffer == nullptr) return false;
  // A read that may wait happens only when nothing is buffered, as in getline.
  if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) return false;
  std::streamsize ready = std::clamp<std::streamsize>(buffer->in_avail(), 1, kChunk);
  pending_.resize(static_cast<std::size_t>(ready));
  std::streamsize got = buffer->sgetn(pending_.data(), ready);
  pending_.resize(static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
  return got > 0;
}

}  // namespace tesva

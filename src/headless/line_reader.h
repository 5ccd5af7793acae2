// A script's lines, read as std::getline reads them but a buffer at a time.
#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace tesva {

// Takes from the stream only what its buffer already holds, or one
// character when it holds nothing, so that a script piped in line by line
// is carried out as each line arrives. Lines end at '\n', which is dropped;
// anything else, '\r' and NUL included, stays in the line.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in) {}

  // The next line into `line`, valid until the next call; false at the end
  // of the stream with no character read, which sets the stream's eof and
  // fail bits as getline does.
  bool Next(std::string_view& line);

 private:
  // Refills the pending text from the stream; false at its end.
  bool Refill();

  std::istream& in_;
  std::string pending_;  // read from the stream, from pos_ on not yet handed out
  std::size_t pos_ = 0;
  std::string partial_;  // a line that runs over the end of pending_
};

}  // namespace tesva

// The driver's line reader against std::getline: the same lines, the same
// end, on any text, whether the stream hands it over whole or a few
// characters at a time, as a pipe does.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "headless/line_reader.h"
#include "support/seeded.h"

namespace {

using Lines = std::vector<std::string>;

// Hands its text over in pieces of `piece` characters: a line often runs
// over a piece's end, and a stream that buffers nothing is read one
// character at a time.
class PiecewiseBuffer : public std::streambuf {
 public:
  PiecewiseBuffer(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (next_ == text_.size()) return traits_type::eof();
    std::size_t size = std::min(piece_, text_.size() - next_);
    char* start = text_.data() + next_;
    setg(start, start, start + size);
    next_ += size;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string text_;
  std::size_t piece_;
  std::size_t next_ = 0;
};

Lines ByGetline(const std::string& text) {
  std::istringstream in(text);
  Lines lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Lines ByReader(std::istream& in) {
  tesva::LineReader reader(in);
  Lines lines;
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  EXPECT_TRUE(in.eof() && in.fail() && !in.bad());  // as getline leaves it
  return lines;
}

TEST(LineReader, ReadsTheLinesGetlineReads) {
  auto rng = tesva::Seeded(11);
  // Newlines often, and the characters a hostile script may hold.
  const std::string alphabet = std::string("ab \r\t#\n\n\n") + '\0' + "\xc4\xb1";
  std::vector<std::string> texts = {"", "\n", "\n\n", "one", "one\n", "one\ntwo", "\r\n\r\n"};
  texts.push_back(std::string(200000, 'x') + "\nend");  // a line longer than a read
  for (int i = 0; i < 300; ++i) {
    std::string text(rng() % 120, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    texts.push_back(text);
  }
  for (const auto& text : texts) {
    Lines expected = ByGetline(text);
    std::istringstream whole(text);
    EXPECT_EQ(ByReader(whole), expected) << "whole: " << testing::PrintToString(text);
    for (std::size_t piece : {1, 2, 7}) {
      PiecewiseBuffer buffer(text, piece);
      std::istream in(&buffer);
      EXPECT_EQ(ByReader(in), expected)
          << "pieces of " << piece << ": " << testing::PrintToString(text);
    }
  }
}

}  // namespace

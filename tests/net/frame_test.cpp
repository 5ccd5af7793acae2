// The frame reader: the same frames, or the same error, however the stream
// is cut; a bad header refused before any of its body is kept.
#include <gtest/gtest.h>

#include <random>

#include "net/frame.h"

namespace tesva::net {
namespace {

constexpr FrameRule kRules[] = {{1, 0, 10}, {2, 3, 3}, {7, 0, kFrameLimit - 1}};

struct Outcome {
  std::vector<Frame> frames;
  std::optional<FrameError> error;
  bool operator==(const Outcome&) const = default;
};

// Feeds `stream` in the pieces that `cuts` (sorted offsets) make.
Outcome Read(const Bytes& stream, const std::vector<std::size_t>& cuts) {
  FrameReader reader(kRules);
  Outcome outcome;
  std::size_t from = 0;
  auto feed = [&](std::size_t to) {
    ByteView piece(stream.data() + from, to - from);
    while (!piece.empty() && !reader.error()) {
      piece = piece.subspan(reader.Feed(piece));
      if (auto frame = reader.Take()) outcome.frames.push_back(std::move(*frame));
    }
    from = to;
  };
  for (auto cut : cuts) feed(cut);
  feed(stream.size());
  outcome.error = reader.error();
  return outcome;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Header(std::uint32_t length, std::uint8_t type) {
  return {static_cast<std::uint8_t>(length >> 24), static_cast<std::uint8_t>(length >> 16),
          static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), type};
}

// Every way to cut the stream in two, byte by byte, and random cuts: all
// give the outcome of the whole stream read at once.
void ExpectSameWhereverCut(const Bytes& stream, const Outcome& expected) {
  ASSERT_EQ(Read(stream, {}), expected);
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    ASSERT_EQ(Read(stream, {cut}), expected) << "cut at " << cut;
  }
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 1; i < stream.size(); ++i) everyByte.push_back(i);
  ASSERT_EQ(Read(stream, everyByte), expected);
  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    std::vector<std::size_t> cuts;
    for (std::size_t i = 1; i < stream.size(); ++i) {
      if (rng() % 7 == 0) cuts.push_back(i);
    }
    ASSERT_EQ(Read(stream, cuts), expected);
  }
}

TEST(Frames, ARowOfFramesReadsTheSameWhereverTheStreamIsCut) {
  Bytes big(5000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  std::vector<Frame> frames = {{1, {}}, {2, {9, 8, 7}}, {7, big}, {1, Bytes(10, 0xff)}, {7, {}}};
  Bytes stream;
  for (const auto& f : frames) stream = Join({stream, EncodeFrame(f.type, f.body)});
  ExpectSameWhereverCut(stream, {frames, std::nullopt});
}

TEST(Frames, BadHeadersAreRefusedAtTheFrameTheyBelongTo) {
  auto good = EncodeFrame(2, Bytes{1, 2, 3});
  struct Case {
    const char* what;
    Bytes header;
    FrameError error;
  };
  const Case cases[] = {
      {"zero length", Header(0, 1), {FrameFault::kZeroLength, 0, 0, 1}},
      {"one over the limit",
       Header(kFrameLimit + 1, 7),
       {FrameFault::kOverLimit, kFrameLimit + 1, 0, 1}},
      {"the largest length", Header(0xffffffff, 7), {FrameFault::kOverLimit, 0xffffffff, 0, 1}},
      {"unknown type", Header(4, 3), {FrameFault::kUnknownType, 4, 3, 1}},
      {"too long for its type", Header(12, 1), {FrameFault::kBadSize, 12, 1, 1}},
      {"too short for its type", Header(3, 2), {FrameFault::kBadSize, 3, 2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Whatever follows the bad header never becomes a frame.
    auto stream = Join({good, c.header, Bytes(20, 0), good});
    ExpectSameWhereverCut(stream, {{{2, {1, 2, 3}}}, c.error});
    EXPECT_FALSE(Describe(c.error).empty());
  }
}

TEST(Frames, TheLargestFrameIsReadAndALongerLengthIsRefusedBeforeAnyBodyIsKept) {
  Bytes body(kFrameLimit - 1, 0x5a);
  auto largest = EncodeFrame(7, body);
  EXPECT_EQ(largest.size(), kFrameHeader + body.size());
  EXPECT_EQ(Read(largest, {}), (Outcome{{{7, body}}, std::nullopt}));
  EXPECT_THROW(EncodeFrame(7, Bytes(kFrameLimit, 0)), std::length_error);

  FrameReader reader(kRules);
  auto header = Header(0x7fffffff, 7);
  Bytes stream = Join({header, Bytes(1000, 0)});
  // The reader stops at the fourth byte, the length's last: not even the type
  // is taken.
  EXPECT_EQ(reader.Feed(stream), 4u);
  ASSERT_TRUE(reader.error());
  EXPECT_EQ(reader.error()->fault, FrameFault::kOverLimit);
  EXPECT_EQ(reader.Feed(stream), 0u) << "a failed reader takes nothing more";
  EXPECT_FALSE(reader.Take());
}

TEST(Frames, ABodyIsKeptOnlyAsItArrives) {
  FrameReader reader(kRules);
  auto stream = EncodeFrame(7, Bytes(60000, 1));
  EXPECT_FALSE(reader.MidFrame());
  reader.Feed(ByteView(stream).first(105));
  EXPECT_TRUE(reader.MidFrame());
  EXPECT_EQ(reader.Held(), 105u);
  EXPECT_FALSE(reader.Take());
  // A frame completes within a piece: the rest of the piece waits.
  auto two = Join({stream, EncodeFrame(1, {})});
  FrameReader whole(kRules);
  EXPECT_EQ(whole.Feed(two), stream.size());
  EXPECT_TRUE(whole.Take());
  EXPECT_FALSE(whole.MidFrame());
}

}  // namespace
}  // namespace tesva::net

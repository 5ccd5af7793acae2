// A hand's breakdown: a stacked hand with a capture and a tesva, read half
// way and at its end, and thousands of random hands whose breakdown must
// add up to the change of both scores.
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "engine/hand_summary.h"
#include "test_support.h"

namespace {

using tesva::Seat;

int TesvaPointsOf(const tesva::SeatSummary& seat) {
  return std::accumulate(seat.tesvas.begin(), seat.tesvas.end(), 0,
                         [](int sum, const tesva::Take& take) { return sum + take.points; });
}

TEST(HandSummaryTest, ACaptureAndATesvaAreCountedAsTheyHappen) {
  tesva::Table t;
  // Floor: base K7 under K3 K4 K5. The human holds S2 D3 D8 D9, the
  // computer S3 S4 S5 S6.
  t.Start({tesva::Deck({"K7", "K3", "K4", "K5", "S2", "D3", "D8", "D9", "S3", "S4", "S5", "S6"})});
  tesva::HandSummary start = tesva::SummariseHand(t.g);
  EXPECT_TRUE(start.takes.empty());
  EXPECT_EQ(start.floor, (std::vector<std::string>{"K7", "K3", "K4", "K5"}));

  tesva::Player1_Kart_Click(t.g, 1);  // S2 takes nothing: not of K7's rank
  tesva::HandSummary laid = tesva::SummariseHand(t.g);
  EXPECT_TRUE(laid.takes.empty());
  EXPECT_EQ(laid.floor.back(), "S2");

  t.io.random.Queue(0.1);  // the computer gives away its first card, S3
  tesva::Timer1_Timer(t.g);
  tesva::Player1_Kart_Click(t.g, 2);  // D3 on S3: a pile of six, worth S2's 2 points
  tesva::HandSummary taken = tesva::SummariseHand(t.g);
  ASSERT_EQ(taken.takes.size(), 1u);
  EXPECT_EQ(taken.takes[0].card, "D3");
  EXPECT_EQ(taken.takes[0].cards, 7);
  EXPECT_EQ(taken.takes[0].points, 2);
  EXPECT_FALSE(taken.takes[0].tesva);
  EXPECT_EQ(taken.human.cardsTaken, 7);
  EXPECT_EQ(taken.human.handPoints, t.g.Player1_Score);
  EXPECT_TRUE(taken.floor.empty());

  t.io.random.Queue(0.1);  // S4 on the empty floor
  tesva::Timer1_Timer(t.g);
  t.g.Player1_Hand(3) = t.g.Player1_DealtHand[2] = "D4";  // a four to take the lone S4
  tesva::Player1_Kart_Click(t.g, 3);
  tesva::HandSummary tesva = tesva::SummariseHand(t.g);
  ASSERT_EQ(tesva.human.tesvas.size(), 1u);
  EXPECT_EQ(tesva.human.tesvas[0].points, 10);
  EXPECT_EQ(tesva.human.tesvas[0].cards, 2);
  EXPECT_EQ(tesva.human.cardsTaken, 9);
  EXPECT_EQ(tesva.human.cardPoints, 2);
  EXPECT_EQ(tesva.human.handPoints, 12);
  EXPECT_EQ(tesva.human.total, t.g.Player1_Score);
  EXPECT_EQ(t.g.Player1_Score, 12);
  EXPECT_EQ(tesva.computer.handPoints, 0);
  EXPECT_FALSE(tesva.settled);
}

// A later network game knows neither the face-down floor cards nor, at
// first, the deck: the breakdown counts them as worthless cards.
TEST(HandSummaryTest, UnknownCardsCountAsNothingAndNeverBreakTheBreakdown) {
  tesva::Table t;
  t.Start(
      {tesva::Deck({"K2", "D1", "S2", "D10", "K9", "D8", "D9", "D13", "S3", "S4", "S5", "S6"})});
  t.g.List1.items.resize(2);  // only the base card and one face-down card are known
  t.g.List1.items[1].clear();
  t.g.Seen.plays.push_back({"", Seat::kComputer, true});
  tesva::HandSummary summary = tesva::SummariseHand(t.g);
  ASSERT_EQ(summary.takes.size(), 1u);
  EXPECT_EQ(summary.takes[0].cards, 5);
  EXPECT_EQ(summary.takes[0].points, 0);
  EXPECT_FALSE(summary.takes[0].tesva);

  t.g.Seen = {};
  t.g.List1.items.clear();
  EXPECT_TRUE(tesva::SummariseHand(t.g).takes.empty());
}

// Random games at both simple levels, the human playing a random card:
// at every hand's end the breakdown is the change of both scores, all 52
// cards are taken or left on the floor, and the majority goes to the side
// that took more.
TEST(HandSummaryTest, EveryHandsBreakdownAddsUpToTheChangeOfBothScores) {
  auto rng = tesva::Seeded(5);
  int hands = 0, tesvas = 0, leftOver = 0;
  for (int game = 0; game < 500; ++game) {
    tesva::Table t;
    t.io.random = tesva::ScriptedRandom(static_cast<std::uint64_t>(game) + 1);
    t.Start();
    if (game % 2) tesva::mnuPro_Click(t.g);
    std::array<int, 2> atStart{0, 0};
    for (int events = 0; events < 5000 && t.g.HandNo != 0; ++events) {
      bool pausing = t.g.Timer2.enabled;
      if (pausing) {
        tesva::Timer2_Timer(t.g);
        atStart = {t.g.Player1_Score, t.g.Player2_Score};
      } else if (t.g.Timer1.enabled) {
        tesva::Timer1_Timer(t.g);
      } else {
        tesva::Player1_Kart_Click(t.g, std::uniform_int_distribution<int>(1, 4)(rng));
      }
      if (pausing || !t.g.Timer2.enabled) continue;  // not the move that settled a hand
      tesva::HandSummary s = tesva::SummariseHand(t.g);
      SCOPED_TRACE("game " + std::to_string(game) + " hand " + std::to_string(t.g.HandNo));
      ASSERT_TRUE(s.settled);
      EXPECT_EQ(s.human.handPoints, t.g.Player1_Score - atStart[0]);
      EXPECT_EQ(s.computer.handPoints, t.g.Player2_Score - atStart[1]);
      EXPECT_EQ(s.human.cardPoints + TesvaPointsOf(s.human) + s.human.majorityPoints,
                s.human.handPoints);
      EXPECT_EQ(s.human.cardsTaken + s.computer.cardsTaken + static_cast<int>(s.floor.size()),
                tesva::kDeckSize);
      EXPECT_EQ(s.human.majorityPoints, s.human.cardsTaken > s.computer.cardsTaken ? 3 : 0);
      EXPECT_EQ(s.computer.majorityPoints, s.human.cardsTaken < s.computer.cardsTaken ? 3 : 0);
      EXPECT_EQ(static_cast<int>(s.floor.size()), t.g.FloorCount);
      ++hands;
      tesvas += static_cast<int>(s.human.tesvas.size() + s.computer.tesvas.size());
      leftOver += !s.floor.empty();
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(hands, 5000);
  EXPECT_GT(tesvas, 1000);
  EXPECT_GT(leftOver, 1000);
}

}  // namespace

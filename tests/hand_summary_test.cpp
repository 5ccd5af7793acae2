// A hand's breakdown: a stacked hand with a capture and a tesva, read half
// way and at its end. Thousands of random hands whose breakdown must add up
// to the change of both scores are played with the master's hand model
// (HandModel.AgreesWithTheGameOnEveryMoveOfThousandsOfHands).
#include <gtest/gtest.h>

#include "engine/hand_summary.h"
#include "test_support.h"

namespace {

using tesva::Seat;

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

}  // namespace

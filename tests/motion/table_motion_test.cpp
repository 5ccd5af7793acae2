// What the table shows moving between two drawings of the game, worked out
// on the game itself without a window: a capture step by step, then whole
// games in which every movement must end exactly on the game's table.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "motion/table_motion.h"
#include "test_support.h"

namespace {

// Runs one of the game's events and plans what the window shows of it.
template <class Event>
MotionPlan Planned(tesva::Game& g, Event event) {
  tesva::Form before = g;
  event(g);
  return PlanMotion(before, g);
}

// Each step's cards leave places that showed them (the computer's from its
// face-down places, the deck's face down), no card face shows twice, and
// the last landing is the game's table.
void ExpectConsistent(const MotionPlan& plan, const tesva::Form& before, const tesva::Form& after) {
  TablePictures table = PicturesOf(before);
  for (const MotionStep& step : plan.steps) {
    std::map<std::string, int> faces;
    for (const std::string& picture : step.shown) faces[picture] += tesva::IsCardCode(picture);
    for (const Flight& flight : step.flights) {
      faces[flight.picture] += tesva::IsCardCode(flight.picture);
      const std::string& start = At(table, flight.from);
      if (flight.from == Spot::kDeck || ElementOf(flight.from).name == "Player2_Kart") {
        EXPECT_TRUE(tesva::IsCardBack(start)) << flight.picture << " leaves " << start;
      } else {
        EXPECT_EQ(start, flight.picture) << " does not start where it lay";
      }
    }
    for (const auto& [face, count] : faces) EXPECT_LE(count, 1) << face << " shows twice";
    table = step.shown;
    for (const Flight& flight : step.flights) At(table, flight.to) = flight.picture;
  }
  if (!plan.steps.empty()) {
    EXPECT_EQ(table, PicturesOf(after));
  }
}

TEST(TableMotionTest, ACardTakingTheFloorLandsOnItThenTheFloorSlidesToThePile) {
  tesva::Table t;
  // Floor: base K2 under K3 K4 K5. The human holds D2 D8 D9 D13, the
  // computer S3 S4 S5 S6.
  t.Start({tesva::Deck({"K2", "K3", "K4", "K5", "D2", "D8", "D9", "D13", "S3", "S4", "S5", "S6"})});
  const std::string back = t.g.CardBack;
  tesva::Form before = t.g;
  MotionPlan take = Planned(t.g, [](tesva::Game& g) { tesva::Player1_Kart_Click(g, 1); });
  ExpectConsistent(take, before, t.g);
  EXPECT_FALSE(take.snap);
  ASSERT_EQ(take.steps.size(), 2u);
  EXPECT_EQ(take.steps[0].flights, (std::vector<Flight>{{"D2", Spot::kHuman1, Spot::kFloorTop}}));
  EXPECT_EQ(At(take.steps[0].shown, Spot::kFloorTop), back) << "it lands on the face-down cards";
  EXPECT_EQ(take.steps[1].flights,
            (std::vector<Flight>{{"K2", Spot::kFloorBase, Spot::kHumanPile},
                                 {"D2", Spot::kFloorTop, Spot::kHumanPile}}));
  EXPECT_EQ(At(take.steps[1].shown, Spot::kHumanPile), back) << "the pile waits for the floor";

  // The computer's card leaves its rightmost face-down place, whichever
  // card of its hand it is.
  t.io.random.Queue(0.1);  // position 1 of 4: S3
  MotionPlan lead = Planned(t.g, tesva::Timer1_Timer);
  EXPECT_EQ(lead.steps[0].flights,
            (std::vector<Flight>{{"S3", Spot::kComputer4, Spot::kFloorTop}}));
}

// Whole games with everything the table can show: every event's movement
// starts where the cards lay and ends on the game's table; a played card
// lands on the floor first; a deal serves first the player who moves first
// and a new hand's floor comes before it; only a new hand or game, or a
// chosen card back, shows anything at once.
TEST(TableMotionTest, EveryMovementOfWholeGamesEndsOnTheGamesTable) {
  auto rng = tesva::Seeded(11);
  tesva::Table t;
  t.io.random = tesva::ScriptedRandom(11);
  t.Start();
  t.g.HandsPerGame = 3;
  t.io.dialogs.answers.assign(100, true);
  int moves = 0, captures = 0, deals = 0, games = 0;
  for (int events = 0; events < 4000 && games < 3; ++events) {
    SCOPED_TRACE("event " + std::to_string(events));
    tesva::Form before = t.g;
    int pick = std::uniform_int_distribution<int>(0, 499)(rng);
    bool backChosen = pick < 2;  // shown on the piles at once, even the same back
    MotionPlan plan = Planned(t.g, [&](tesva::Game& g) {
      if (backChosen) {
        (pick == 0 ? tesva::mnuRenkli_Click : tesva::mnuStandart_Click)(g);
      } else if (pick == 2 || g.HandNo == 0) {
        tesva::mnuYeni_Click(g);
      } else if (g.Timer1.enabled && pick < 300) {
        tesva::Timer1_Timer(g);
      } else if (g.Timer2.enabled) {
        tesva::Timer2_Timer(g);
      } else {
        tesva::Player1_Kart_Click(g, pick % tesva::kHandSize + 1);  // disabled ones too
      }
    });
    ExpectConsistent(plan, before, t.g);
    bool newHand = before.List1.items != t.g.List1.items;
    bool changed = PicturesOf(before) != PicturesOf(t.g);
    EXPECT_EQ(plan.snap, newHand || (backChosen && changed));
    EXPECT_TRUE(changed || plan.steps.empty());
    if (plan.steps.empty()) {
      games += newHand && t.g.HandNo == 0;
      continue;
    }
    if (!newHand) {
      ++moves;
      EXPECT_EQ(plan.steps[0].flights.back().to, Spot::kFloorTop) << "a card played lands first";
      captures += plan.steps.size() % 2 == 0;  // a capture takes two steps, a deal two more
    }
    if (t.g.Player1_CardsLeft == tesva::kHandSize && t.g.Player2_CardsLeft == tesva::kHandSize) {
      ++deals;
      const auto& firstDeal = plan.steps[plan.steps.size() - 2].flights;
      Spot firstPlayer = t.g.Dealer == tesva::kHuman ? Spot::kComputer1 : Spot::kHuman1;
      EXPECT_EQ(firstDeal.front().to, firstPlayer);
      if (newHand) {
        EXPECT_EQ(plan.steps[0].flights.front().to, Spot::kFloorBase) << "the floor first";
      }
    }
    if (HasFailure()) return;
  }
  EXPECT_EQ(games, 3);
  EXPECT_GT(moves, 400);
  EXPECT_GT(captures, 50);
  EXPECT_GT(deals, 40);
}

}  // namespace

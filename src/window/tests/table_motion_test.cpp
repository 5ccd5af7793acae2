// What the table shows moving between two drawings of the game, worked out
// on the game itself without a window: single moves step by step, then
// whole games in which every movement must end exactly on the game's table.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "test_support.h"
#include "window/table_motion.h"

namespace {

using tesva::Deck;
using tesva::Table;

// The table once the step's cards have landed.
TablePictures Landed(const MotionStep& step) {
  TablePictures table = step.shown;
  for (const Flight& flight : step.flights) At(table, flight.to) = flight.picture;
  return table;
}

// Runs one of the game's handlers and plans what the window shows of it.
MotionPlan After(Table& t, void (*handler)(tesva::Game&)) {
  tesva::Form before = t.g;
  handler(t.g);
  return PlanMotion(before, t.g);
}

MotionPlan AfterClick(Table& t, int index) {
  tesva::Form before = t.g;
  tesva::Player1_Kart_Click(t.g, index);
  return PlanMotion(before, t.g);
}

// Each step's cards leave places that showed them (the deck aside, which
// deals face down), no card shows twice, and the last landing is the game.
void ExpectConsistent(const MotionPlan& plan, const tesva::Form& before, const tesva::Form& after) {
  TablePictures table = PicturesOf(before);
  for (const MotionStep& step : plan.steps) {
    std::map<std::string, int> faces;
    for (const std::string& picture : step.shown) {
      if (tesva::IsCardCode(picture)) ++faces[picture];
    }
    for (const Flight& flight : step.flights) {
      if (tesva::IsCardCode(flight.picture)) ++faces[flight.picture];
      if (flight.from == Spot::kDeck || !tesva::IsCardCode(flight.picture)) continue;
      // The computer's cards leave its face-down places.
      const std::string& start = At(table, flight.from);
      if (ElementOf(flight.from).name == "Player2_Kart") {
        EXPECT_TRUE(tesva::IsCardBack(start)) << flight.picture << " leaves " << start;
      } else {
        EXPECT_EQ(start, flight.picture) << flight.picture << " does not start where it lay";
      }
    }
    for (const auto& [face, count] : faces) {
      EXPECT_EQ(count, 1) << face << " shows twice";
    }
    table = Landed(step);
  }
  if (!plan.steps.empty()) {
    EXPECT_EQ(table, PicturesOf(after));
  }
}

TEST(TableMotionTest, APlayedCardSlidesToTheFloorAndACaptureTakesTheFloorToThePile) {
  Table t;
  // Floor: base K2 under K3 K4 K5. The human holds D2 D8 D9 D13, the
  // computer S3 S4 S5 S6.
  t.Start({Deck({"K2", "K3", "K4", "K5", "D2", "D8", "D9", "D13", "S3", "S4", "S5", "S6"})});
  const std::string back = t.g.CardBack;

  // D2 takes the base card's rank: it lands on the floor, then the floor
  // and the base card slide to the human's pile together.
  tesva::Form before = t.g;
  MotionPlan take = AfterClick(t, 1);
  ExpectConsistent(take, before, t.g);
  ASSERT_EQ(take.steps.size(), 2u);
  EXPECT_FALSE(take.snap);
  EXPECT_EQ(take.steps[0].flights, (std::vector<Flight>{{"D2", Spot::kHuman1, Spot::kFloorTop}}));
  EXPECT_EQ(At(take.steps[0].shown, Spot::kHuman1), "");
  EXPECT_EQ(At(take.steps[0].shown, Spot::kFloorTop), back) << "the card lands on the floor";
  EXPECT_EQ(take.steps[1].flights,
            (std::vector<Flight>{{"K2", Spot::kFloorBase, Spot::kHumanPile},
                                 {"D2", Spot::kFloorTop, Spot::kHumanPile}}));
  EXPECT_EQ(At(take.steps[1].shown, Spot::kFloorTop), "");
  EXPECT_EQ(At(take.steps[1].shown, Spot::kHumanPile), back) << "the pile waits for the floor";

  // The computer leads on the empty floor: its card leaves its rightmost
  // face-down place, whichever card it is.
  t.io.random.Queue(0.9);  // position 4 of 4: S6
  before = t.g;
  MotionPlan lead = After(t, tesva::Timer1_Timer);
  ExpectConsistent(lead, before, t.g);
  EXPECT_EQ(lead.steps.size(), 1u);
  EXPECT_EQ(lead.steps[0].flights,
            (std::vector<Flight>{{"S6", Spot::kComputer4, Spot::kFloorTop}}));
  EXPECT_EQ(At(lead.steps[0].shown, Spot::kComputer4), "");

  // A discard lies down over the top card; the base card is gone already.
  before = t.g;
  MotionPlan discard = AfterClick(t, 2);
  ExpectConsistent(discard, before, t.g);
  ASSERT_EQ(discard.steps.size(), 1u);
  EXPECT_EQ(At(discard.steps[0].shown, Spot::kFloorTop), "S6");

  // A change of card back is no movement: the table shows it at once.
  MotionPlan repaint = After(t, tesva::mnuRenkli_Click);
  EXPECT_TRUE(repaint.snap);
  EXPECT_TRUE(repaint.steps.empty());
  // Hovering changes no picture.
  MotionPlan hover = After(t, tesva::Form_MouseMove);
  EXPECT_FALSE(hover.snap);
  EXPECT_TRUE(hover.steps.empty());
}

TEST(TableMotionTest, TheLastMoveOfADealIsFollowedByTheDealFirstPlayerFirst) {
  Table t;
  t.Start();
  // Hand 1: the human plays first, so its four cards come first.
  MotionPlan last;
  tesva::Form before;
  while (t.g.Player1_CardsLeft + t.g.Player2_CardsLeft > 1) {
    if (t.g.Timer1.enabled) {
      After(t, tesva::Timer1_Timer);
    } else {
      AfterClick(t, 4 - t.g.Player1_CardsLeft + 1);
    }
  }
  before = t.g;
  last = After(t, tesva::Timer1_Timer);  // the computer plays the last card
  ExpectConsistent(last, before, t.g);
  ASSERT_GE(last.steps.size(), 3u);
  const auto& humanDeal = last.steps[last.steps.size() - 2];
  const auto& computerDeal = last.steps.back();
  ASSERT_EQ(humanDeal.flights.size(), 4u);
  for (int i = 1; i <= tesva::kHandSize; ++i) {
    EXPECT_EQ(humanDeal.flights[i - 1], (Flight{t.g.Player1_Hand(i), Spot::kDeck, HumanSpot(i)}));
    EXPECT_EQ(At(humanDeal.shown, HumanSpot(i)), "") << "empty until its card arrives";
    EXPECT_EQ(computerDeal.flights[i - 1], (Flight{t.g.CardBack, Spot::kDeck, ComputerSpot(i)}));
  }

  // Hand 2 is dealt by the human: the new floor is laid, then the
  // computer's four cards come first.
  while (t.g.HandNo == 1) {
    if (t.g.Timer2.enabled) {
      before = t.g;
      MotionPlan next = After(t, tesva::Timer2_Timer);
      ExpectConsistent(next, before, t.g);
      if (t.g.HandNo == 1) continue;
      ASSERT_EQ(next.steps.size(), 3u);
      EXPECT_TRUE(next.snap) << "the old hand's piles turn face down at once";
      EXPECT_EQ(next.steps[0].flights,
                (std::vector<Flight>{{t.g.BaseCard, Spot::kDeck, Spot::kFloorBase},
                                     {t.g.CardBack, Spot::kDeck, Spot::kFloorTop}}));
      EXPECT_EQ(At(next.steps[0].shown, Spot::kHumanPile), t.g.CardBack);
      EXPECT_EQ(next.steps[1].flights.front().to, Spot::kComputer1);
      EXPECT_EQ(next.steps[2].flights.front().to, Spot::kHuman1);
    } else if (t.g.Timer1.enabled) {
      After(t, tesva::Timer1_Timer);
    } else {
      for (int i = 1; i <= tesva::kHandSize; ++i) {
        if (t.g.Player1_Kart(i).enabled) {
          AfterClick(t, i);
          break;
        }
      }
    }
  }
}

// Whole games: every event's movement starts where the cards lay and ends
// on the game's table; only a new hand or game, or a new card back, shows
// something at once.
TEST(TableMotionTest, EveryMovementOfWholeGamesEndsOnTheGamesTable) {
  std::mt19937 rng(11);
  Table t;
  t.io.random = tesva::ScriptedRandom(11);
  t.Start();
  t.g.HandsPerGame = 3;
  t.io.dialogs.answers.assign(100, true);
  int moves = 0, captures = 0, deals = 0, games = 0;
  for (int events = 0; events < 4000 && games < 3; ++events) {
    tesva::Form before = t.g;
    auto deck = t.g.List1.items;
    int pick = std::uniform_int_distribution<int>(0, 499)(rng);
    // Choosing a card back shows it on the piles at once, even the same back.
    bool backChosen = pick < 2;
    if (backChosen) {
      (pick == 0 ? tesva::mnuRenkli_Click : tesva::mnuStandart_Click)(t.g);
    } else if (pick == 2 || t.g.HandNo == 0) {
      tesva::mnuYeni_Click(t.g);
    } else if (t.g.Timer1.enabled && pick < 300) {
      tesva::Timer1_Timer(t.g);
    } else if (t.g.Timer2.enabled) {
      tesva::Timer2_Timer(t.g);
    } else {
      tesva::Player1_Kart_Click(t.g, pick % tesva::kHandSize + 1);  // disabled ones too
    }
    MotionPlan plan = PlanMotion(before, t.g);
    SCOPED_TRACE("event " + std::to_string(events));
    ExpectConsistent(plan, before, t.g);
    bool newHand = deck != t.g.List1.items;
    bool changed = PicturesOf(before) != PicturesOf(t.g);
    EXPECT_EQ(plan.snap, newHand || (backChosen && changed));
    if (newHand) {
      games += t.g.HandNo == 0;
    } else if (plan.steps.empty()) {
      EXPECT_TRUE(backChosen || !changed) << "a change nothing shows";
    } else {
      ++moves;
      captures += plan.steps.size() % 2 == 0;  // a capture takes two steps, a deal two more
      deals += plan.steps.size() > 2;
      EXPECT_EQ(plan.steps[0].flights.back().to, Spot::kFloorTop) << "a card played lands first";
    }
    if (HasFailure()) return;
  }
  EXPECT_EQ(games, 3);
  EXPECT_GT(moves, 400);
  EXPECT_GT(captures, 50);
  EXPECT_GT(deals, 40);
}

}  // namespace

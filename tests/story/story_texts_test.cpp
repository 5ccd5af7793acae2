// What every table tells, on plain data: the board of a stacked hand row by
// row, the words rising from each kind of take, and the game's result.
#include <gtest/gtest.h>

#include "story/story_texts.h"

namespace tesva::story {

// A row as it reads, for a failure's message.
void PrintTo(const HandRow& row, std::ostream* out) {
  *out << "{\"" << row.heading << "\", \"" << row.human << "\", \"" << row.computer << "\""
       << (row.bold ? ", bold}" : "}");
}

}  // namespace tesva::story

namespace {

using tesva::Seat;
using tesva::story::HandRow;

tesva::Take Take(Seat seat, std::string card, int points, bool tesva = false) {
  tesva::Take take;
  take.seat = seat;
  take.card = std::move(card);
  take.points = points;
  take.tesva = tesva;
  return take;
}

TEST(StoryTextsTest, AHandsBoardListsEveryFigureInItsPlace) {
  tesva::HandSummary summary;
  summary.handNo = 3;
  // Cards taken, majority, card points, tesvas (not read: the takes are),
  // the hand's points and the total.
  summary.human = {30, 3, 5, {}, 18, 40};
  summary.computer = {19, 0, 4, {}, 34, 52};
  summary.takes = {Take(Seat::kHuman, "D3", 2), Take(Seat::kComputer, "S4", 30, true),
                   Take(Seat::kHuman, "K11", 10, true)};
  summary.floor = {"K2", "M13", "D1"};
  tesva::story::HandBoard board = tesva::story::HandBoardOf(summary, "Ayşe", "Can");
  EXPECT_EQ(board.title, "3. El bitti");
  std::vector<HandRow> expected{
      {"", "Ayşe", "Can", true},        {"Alınan kağıt", "30", "19"},
      {"Kağıt fazlası", "+3", "–"},     {"Kağıt puanları", "+5", "+4"},
      {"Tesva: Sinek 4", "", "+30"},    {"Tesva: Kupa Vale", "+10", ""},
      {"El puanı", "+18", "+34", true}, {"Toplam", "40", "52", true},
  };
  EXPECT_EQ(board.rows, expected);
  EXPECT_EQ(board.leftOver, "Yerde kalan, kimseye: Kupa 2, Maça Papaz, Karo As");
  EXPECT_EQ(board.names, "Ayşe – Can");

  summary.floor.clear();
  EXPECT_EQ(tesva::story::HandBoardOf(summary, "Ayşe", "Can").leftOver, "Yerde kağıt kalmadı.");
}

TEST(StoryTextsTest, ATakeAnnouncesItsPointsAndTheGamesEndNamesTheWinnerAndBothTotals) {
  using tesva::story::GameEndOf;
  using tesva::story::TakeAnnouncement;
  EXPECT_EQ(TakeAnnouncement(Take(Seat::kHuman, "D3", 3)), "+3");
  EXPECT_EQ(TakeAnnouncement(Take(Seat::kComputer, "S5", 0)), "+0");
  EXPECT_EQ(TakeAnnouncement(Take(Seat::kHuman, "S4", 10, true)), "Tesva! +10");
  EXPECT_EQ(TakeAnnouncement(Take(Seat::kComputer, "D11", 30, true)), "Tesva! +30");
  EXPECT_EQ(GameEndOf(151, 97, "Ayşe", "Can").result, "Kazandınız!");
  EXPECT_EQ(GameEndOf(151, 97, "Ayşe", "Can").totals, "Ayşe: 151 – Can: 97");
  EXPECT_EQ(GameEndOf(40, 152, "Ayşe", "Can").result, "Can kazandı");
  EXPECT_EQ(GameEndOf(0, 0, "Ayşe", "Can").result, "Berabere");
}

}  // namespace

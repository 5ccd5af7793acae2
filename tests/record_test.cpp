// The player's record: how finished, given-up and resumed games count, over
// scripted and random whole games.
#include <gtest/gtest.h>

#include "record/kept_game.h"
#include "record/record.h"
#include "support/seeded.h"
#include "test_support.h"

namespace tesva::record {
namespace {

TEST(Record, TheWinRateIsRoundedHalfUp) {
  Heading h;
  for (auto [won, finished, rate] : {std::tuple{2, 3, 67}, {1, 3, 33}, {1, 8, 13}, {0, 0, 0}}) {
    h.won = won;
    h.finished = finished;
    EXPECT_EQ(WinRate(h), rate) << won << " of " << finished;
  }
}

TEST(Record, ResultsAddUpPerLevelAndForAllLevels) {
  Record r;
  AddResult(r, {"3", Outcome::kWon, 120, 100, 2});
  AddResult(r, {"3", Outcome::kWon, 90, 60, 1, true});
  AddResult(r, {"3", Outcome::kLost, 80, 95});
  AddResult(r, {"3", Outcome::kWon, 70, 69});
  AddResult(r, {"1", Outcome::kDrawn, 50, 50, 3});
  AddResult(r, {"3", Outcome::kGivenUp, 10, 40, 4, true});

  Heading usta;
  usta.finished = 4;
  usta.won = 3;
  usta.lost = 1;
  usta.givenUp = 1;
  usta.currentStreak = 0;  // giving up ends the streak
  usta.longestStreak = 2;
  usta.bestTotal = 120;
  usta.bestMargin = 30;
  usta.tesvas = 3;  // a given-up game's tesvas do not count
  usta.points = 360;
  usta.hinted = 1;
  EXPECT_EQ(r.headings.at("usta"), usta);

  Heading amator;
  amator.finished = 1;
  amator.drawn = 1;
  amator.bestTotal = 50;
  amator.tesvas = 3;
  amator.points = 50;
  EXPECT_EQ(r.headings.at("amator"), amator);
  EXPECT_EQ(r.headings.count("profesyonel"), 0u);

  Heading all = usta;
  all.finished = 5;
  all.drawn = 1;
  all.tesvas = 6;
  all.points = 410;
  EXPECT_EQ(r.headings.at("bilgisayar"), all);

  EXPECT_EQ(WinRate(usta), 75);
  EXPECT_EQ(MeanPointsTenths(usta), 900);
  EXPECT_EQ(MeanPointsTenths(all), 820);
  EXPECT_EQ(RecordLine(r, "3"), "Usta: 4 oyun, 3 kazanılan (%75), seri 0, en uzun seri 2");
  EXPECT_EQ(RecordLine(r, "2"), "Profesyonel: 0 oyun, 0 kazanılan (%0), seri 0, en uzun seri 0");
}

TEST(Record, TheStatisticsTableShowsEveryItemPerLevel) {
  Record r;
  AddResult(r, {"2", Outcome::kWon, 101, 80, 2, true});
  AddResult(r, {"2", Outcome::kLost, 60, 90, 1});
  AddResult(r, {"3", Outcome::kGivenUp, 5, 9});
  auto rows = StatisticsRows(r);
  using Row = std::vector<std::string>;
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0], (Row{"", "Amatör", "Profesyonel", "Usta", "Toplam"}));
  EXPECT_EQ(rows[1], (Row{"Biten oyun", "0", "2", "0", "2"}));
  EXPECT_EQ(rows[5], (Row{"Yarıda bırakılan", "0", "0", "1", "1"}));
  EXPECT_EQ(rows[6], (Row{"Kazanma oranı", "%0", "%50", "%0", "%50"}));
  EXPECT_EQ(rows[7], (Row{"Şimdiki seri", "0", "0", "0", "0"}));
  EXPECT_EQ(rows[10], (Row{"En büyük fark", "0", "21", "0", "21"}));
  EXPECT_EQ(rows[11], (Row{"Tesva", "0", "3", "0", "3"}));
  EXPECT_EQ(rows[12], (Row{"Oyun başına puan", "0,0", "80,5", "0,0", "80,5"}));
  EXPECT_EQ(rows[13], (Row{"İpucu alınan oyun", "0", "1", "0", "1"}));
}

TEST(Record, AFriendsGameCountsUnderItsOwnHeadingAndColumnOnly) {
  Record r;
  AddResult(r, {"2", Outcome::kWon, 101, 80});
  const Record computerOnly = r;
  AddFriendResult(r, {"3", Outcome::kLost, 60, 90, 2});
  AddFriendResult(r, {"1", Outcome::kWon, 95, 70});
  // No level and not the computer's: those are as they were.
  for (auto name : {"amator", "profesyonel", "usta", "bilgisayar"}) {
    EXPECT_EQ(r.headings.count(name), computerOnly.headings.count(name)) << name;
    if (r.headings.count(name)) {
      EXPECT_EQ(r.headings.at(name), computerOnly.headings.at(name)) << name;
    }
  }
  const Heading& friends = r.headings.at("arkadas");
  EXPECT_EQ(friends.finished, 2);
  EXPECT_EQ(friends.won, 1);
  EXPECT_EQ(friends.lost, 1);
  EXPECT_EQ(friends.currentStreak, 1);
  EXPECT_EQ(friends.tesvas, 2);
  // The table grows its column once such a game has counted, and only then.
  using Row = std::vector<std::string>;
  EXPECT_EQ(StatisticsRows(computerOnly)[0].size(), 5u);
  auto rows = StatisticsRows(r);
  EXPECT_EQ(rows[0], (Row{"", "Amatör", "Profesyonel", "Usta", "Toplam", "Arkadaş"}));
  EXPECT_EQ(rows[1], (Row{"Biten oyun", "0", "1", "0", "1", "2"}));
  EXPECT_EQ(rows[6], (Row{"Kazanma oranı", "%0", "%100", "%0", "%100", "%50"}));
  // And the record's file keeps it, with a heading it does not know (a kind
  // of game of a later version).
  r.headings["ag"].givenUp = 4;
  auto back = ReadRecord(WriteRecord(r));
  ASSERT_TRUE(std::holds_alternative<Record>(back)) << std::get<Refusal>(back).reason;
  EXPECT_EQ(std::get<Record>(back), r);
}

TEST(Record, AStreakRunsAcrossLevelsOnlyInTheAllLevelsHeading) {
  Record r;
  AddResult(r, {"1", Outcome::kWon, 20, 10});
  AddResult(r, {"2", Outcome::kWon, 20, 10});
  AddResult(r, {"2", Outcome::kWon, 30, 10});
  EXPECT_EQ(r.headings.at("amator").currentStreak, 1);
  EXPECT_EQ(r.headings.at("profesyonel").currentStreak, 2);
  EXPECT_EQ(r.headings.at("bilgisayar").currentStreak, 3);
  AddResult(r, {"1", Outcome::kDrawn, 10, 10});
  EXPECT_EQ(r.headings.at("profesyonel").currentStreak, 2);
  EXPECT_EQ(r.headings.at("bilgisayar").currentStreak, 0);
  EXPECT_EQ(r.headings.at("bilgisayar").longestStreak, 3);
  EXPECT_EQ(r.headings.at("bilgisayar").bestMargin, 20);
}

// A game played to its end with the record following every event, started
// on the stored `options`; `seed` seeds its services and the human's picks.
struct FollowedGame {
  explicit FollowedGame(
      std::uint64_t seed,
      std::initializer_list<std::pair<std::string_view, std::string>> options = {})
      : io(seed), pick(Seeded(seed)) {
    for (const auto& [key, value] : options) WriteOption(g, key, value);
    Form_Load(g);
    After();
  }
  MemoryPlatform io;
  Game g{io.services()};
  GameTally tally;
  std::vector<GameResult> results;
  int humanTesvas = 0;  // counted before each click, from the floor
  std::mt19937_64 pick;

  void After() {
    if (auto r = FollowGame(g, tally)) results.push_back(*r);
  }
  // One event with the record following it; the human's card is the one
  // `choose` picks, its tesva counted from the floor before the click.
  bool Step(const SlotChoice& choose = FirstSlot) {
    bool happened = PlayEvent(g, [&](const std::vector<int>& slots) {
      int slot = choose(slots);
      if (g.FloorCount == 1 && RankText(g.Player1_Hand(slot)) == RankText(g.TopCard)) {
        ++humanTesvas;
      }
      return slot;
    });
    After();
    return happened;
  }
  // Plays until the game has ended, the human's cards drawn by `pick`.
  void PlayToTheEnd() {
    for (int events = 0; events < 20000 && results.empty(); ++events) {
      ASSERT_TRUE(Step(RandomSlot(pick)));
    }
  }
};

TEST(Record, RandomWholeGamesCountTheirResultsAndTesvas) {
  int won = 0, lost = 0, tesvas = 0;
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    // A stored delay: not the first run, so the options stand.
    FollowedGame game(seed, {{kKeyHands, std::to_string(1 + seed % 4)},
                             {kKeyLevel, std::to_string(1 + seed % 3)},
                             {kKeyDelay, "100"}});
    game.PlayToTheEnd();
    ASSERT_EQ(game.results.size(), 1u) << "seed " << seed;
    const GameResult& r = game.results[0];
    EXPECT_EQ(r.level, std::to_string(1 + seed % 3));
    EXPECT_EQ(r.humanTotal, game.g.Player1_Score);
    EXPECT_EQ(r.computerTotal, game.g.Player2_Score);
    auto expected = r.humanTotal > r.computerTotal   ? Outcome::kWon
                    : r.humanTotal < r.computerTotal ? Outcome::kLost
                                                     : Outcome::kDrawn;
    EXPECT_EQ(r.outcome, expected);
    EXPECT_EQ(r.tesvas, game.humanTesvas) << "seed " << seed;
    EXPECT_FALSE(r.hintUsed);
    EXPECT_EQ(game.tally, GameTally{});
    won += r.outcome == Outcome::kWon;
    lost += r.outcome == Outcome::kLost;
    tesvas += r.tesvas;
    // The finished game counts once: later events find nothing to count.
    game.After();
    EXPECT_EQ(game.results.size(), 1u);
  }
  EXPECT_GT(won, 0);
  EXPECT_GT(lost, 0);
  EXPECT_GT(tesvas, 0);
}

TEST(Record, AGameCountsUnderTheLevelSetWhenItEnds) {
  FollowedGame game(4, {{kKeyHands, "2"}, {kKeyLevel, "1"}});
  // Half-way through, the level changes to the master.
  for (int i = 0; i < 30 && !game.g.Timer2.enabled; ++i) game.Step();
  mnuUsta_Click(game.g);
  game.After();
  game.PlayToTheEnd();
  ASSERT_EQ(game.results.size(), 1u);
  EXPECT_EQ(game.results[0].level, "3");
  Record r;
  AddResult(r, game.results[0]);
  EXPECT_EQ(r.headings.count("amator"), 0u);
  EXPECT_EQ(r.headings.at("usta").finished, 1);
}

TEST(Record, YeniOyunAnsweredYesGivesTheRunningGameUp) {
  FollowedGame game(9);
  // Into the game until the human has scored.
  for (int events = 0; events < 5000 && (game.g.Player1_Score == 0 || game.g.Timer1.enabled ||
                                         game.g.Timer2.enabled);
       ++events) {
    game.Step();
  }
  ASSERT_GT(game.g.Player1_Score, 0);
  ASSERT_NE(game.g.HandNo, 0);
  game.tally.hintUsed = true;
  const int human = game.g.Player1_Score, computer = game.g.Player2_Score;

  // No: nothing changes, nothing counts.
  game.io.dialogs.answers.push_back(false);
  const Game before = game.g;
  const GameTally tallyBefore = game.tally;
  EXPECT_FALSE(NewGame(game.g, game.tally));
  EXPECT_TRUE(game.g == before);
  EXPECT_EQ(game.tally, tallyBefore);

  game.io.dialogs.answers.push_back(true);
  auto given = NewGame(game.g, game.tally);
  ASSERT_TRUE(given);
  EXPECT_EQ(given->outcome, Outcome::kGivenUp);
  EXPECT_EQ(given->humanTotal, human);
  EXPECT_EQ(given->computerTotal, computer);
  EXPECT_TRUE(given->hintUsed);
  EXPECT_EQ(game.g.HandNo, 1);
  // The new game starts with a tally of its own.
  EXPECT_EQ(game.tally, (GameTally{1, 0, 0, false}));

  // After a game has ended, "Yeni Oyun" asks nothing and gives nothing up.
  game.PlayToTheEnd();
  ASSERT_EQ(game.results.size(), 1u);
  EXPECT_FALSE(game.results[0].hintUsed);
  auto shown = game.io.dialogs.shown.size();
  EXPECT_FALSE(NewGame(game.g, game.tally));
  EXPECT_EQ(game.io.dialogs.shown.size(), shown);
  EXPECT_EQ(game.g.HandNo, 1);
}

// A game left another way (a friend game left or replaced) gives up the
// game the tally followed, once, and nothing when it had ended or never ran.
TEST(Record, LeavingARunningGameGivesItUpOnce) {
  FollowedGame game(11);
  game.Step();
  ASSERT_NE(game.g.HandNo, 0);
  auto left = LeaveGame(game.g, game.tally);
  ASSERT_TRUE(left);
  EXPECT_EQ(left->outcome, Outcome::kGivenUp);
  EXPECT_EQ(left->humanTotal, game.g.Player1_Score);
  EXPECT_EQ(left->computerTotal, game.g.Player2_Score);
  EXPECT_EQ(game.tally, GameTally{});
  EXPECT_FALSE(LeaveGame(game.g, game.tally));  // the tally follows nothing now

  // An ended game has been counted as finished: leaving it gives nothing up.
  FollowedGame ended(12);
  ended.PlayToTheEnd();
  ASSERT_EQ(ended.results.size(), 1u);
  EXPECT_FALSE(LeaveGame(ended.g, ended.tally));
}

}  // namespace
}  // namespace tesva::record

// The player's record: for each level and for all games against the
// computer together, how many games were finished, won, lost, drawn and
// given up, the streaks of wins, the best total and winning margin, the
// tesvas made and the points scored, and how many games used a hint.
//
// - A game counts when its last hand is settled and the result is shown
//   (the game-end tick of the hand pause), under the level set at that
//   moment.
// - A game given up ("Yeni Oyun" answered Yes while it runs) counts as given
//   up, not as a loss; it ends the current winning streak, so that giving up
//   a lost game cannot keep a streak alive.
// - A draw and a loss end the current streak too.
//
// The record is a set of headings by name. Each game goes into the heading
// of its level and into the heading of all games against the computer, so a
// later kind of game (a game over the network, say) gets a heading of its
// own without changing what the present ones mean.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"

namespace tesva::record {

// Heading names, as kept in the record's file.
inline constexpr std::string_view kAmateurHeading = "amator";
inline constexpr std::string_view kProfessionalHeading = "profesyonel";
inline constexpr std::string_view kMasterHeading = "usta";
inline constexpr std::string_view kComputerHeading = "bilgisayar";  // all three levels
// Games against a friend over the network: never under a level, nor in the
// computer's heading, since no computer played.
inline constexpr std::string_view kFriendHeading = "arkadas";

struct Heading {
  std::int64_t finished = 0;  // won + lost + drawn
  std::int64_t won = 0;
  std::int64_t lost = 0;
  std::int64_t drawn = 0;
  std::int64_t givenUp = 0;
  std::int64_t currentStreak = 0;  // wins in a row, up to the last game
  std::int64_t longestStreak = 0;
  std::int64_t bestTotal = 0;   // the human's highest total in a finished game
  std::int64_t bestMargin = 0;  // the widest winning margin; 0 before a win
  std::int64_t tesvas = 0;      // made by the human in finished games
  std::int64_t points = 0;      // the human's totals of finished games, summed
  std::int64_t hinted = 0;      // finished games in which a hint was used
  bool operator==(const Heading&) const = default;
};

struct Record {
  std::map<std::string, Heading, std::less<>> headings;
  bool operator==(const Record&) const = default;
};

enum class Outcome { kWon, kLost, kDrawn, kGivenUp };

struct GameResult {
  std::string level;  // "1", "2" or "3"
  Outcome outcome = Outcome::kDrawn;
  int humanTotal = 0;
  int computerTotal = 0;
  int tesvas = 0;
  bool hintUsed = false;
};

// The heading of a level: "1" amateur, "2" professional, "3" master; ""
// for anything else.
std::string_view HeadingOfLevel(std::string_view level);

// Adds a game to its level's heading and to the computer's heading.
void AddResult(Record& record, const GameResult& result);
// Adds a game against a friend to the friend's heading only.
void AddFriendResult(Record& record, const GameResult& result);

// The percentage of won games among the finished ones, rounded; 0 with
// none finished.
int WinRate(const Heading& h);
// The mean points per finished game, in tenths (so 123 is 12.3).
std::int64_t MeanPointsTenths(const Heading& h);

// The line that the end of a game shows for a level's heading:
// "Usta: 12 oyun, 8 kazanılan (%67), seri 3, en uzun seri 5".
std::string RecordLine(const Record& record, std::string_view level);

// The statistics table as the dialog shows it: a heading row ("", then
// the three levels and "Toplam", then "Arkadaş" once a game against a
// friend has counted), then one row per item, its name first.
std::vector<std::vector<std::string>> StatisticsRows(const Record& record);

// What the record needs to know of the game being played, beside the game
// itself: the tesvas of its earlier hands and whether a hint was used. Kept
// with the game, so that a resumed game counts as a whole.
struct GameTally {
  int handNo = 0;         // the hand whose tesvas are being counted
  int earlierTesvas = 0;  // tesvas of the game's earlier hands
  int handTesvas = 0;     // tesvas of hand handNo so far
  bool hintUsed = false;
  bool operator==(const GameTally&) const = default;
};

// The human's tesvas in a hand, read from what both players saw of it.
int HumanTesvas(const HandRecord& seen);

// After every event of a running game: counts the tesvas made, and when the
// event ended the game (its last hand's pause has run out), returns its
// result and clears the tally for the next game.
std::optional<GameResult> FollowGame(const Game& g, GameTally& tally);

// A game left before its end by other means than "Yeni Oyun" (a friend
// game left, given up after a lost connection, or replaced by a new one):
// the game the tally followed, if one was running, as given up; the tally
// then starts afresh.
std::optional<GameResult> LeaveGame(const Game& g, GameTally& tally);

// "Yeni Oyun": carries out the command. When it replaced a running game,
// returns that game as given up; the tally then starts afresh.
std::optional<GameResult> NewGame(Game& g, GameTally& tally);

}  // namespace tesva::record

// The words and figures the table tells besides the game's own captions:
// the points rising from a take, the board at a hand's end and the game's
// result. Worked out from the game's data alone, so that every table (the
// Qt window, a browser page) tells the same story; a table only draws them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/game_state.h"
#include "engine/hand_summary.h"

namespace tesva::story {

// "+3", "+30"; "–" for nothing.
std::string PointsText(int points);

// What rises from the taker's pile: "+3", "+0" for a take that won nothing,
// "Tesva! +10" for a tesva (drawn larger).
std::string TakeAnnouncement(const Take& take);

// One row of the hand's board: a heading and both players' figures.
struct HandRow {
  std::string heading;
  std::string human;
  std::string computer;
  bool bold = false;
  bool operator==(const HandRow&) const = default;
};

// The board at a hand's end: its title, the rows (the names first, with an
// empty heading), the floor's cards that went to nobody, and both names in
// one line for a tooltip.
struct HandBoard {
  std::string title;
  std::vector<HandRow> rows;
  std::string leftOver;
  std::string names;
};
HandBoard HandBoardOf(const HandSummary& summary, std::string_view human,
                      std::string_view computer);

// The game's result ("Kazandınız!", "<computer> kazandı", "Berabere") and
// both totals ("<human>: 31 – <computer>: 12").
struct GameEndLines {
  std::string result;
  std::string totals;
};
GameEndLines GameEndOf(int humanScore, int computerScore, std::string_view human,
                       std::string_view computer);
// The same, read from the game and its players' names.
GameEndLines GameEndOf(Game& game);
// The game has ended and its status line tells so: the result is due.
bool GameEnded(const Game& game);

// The mark of a caption cut short to fit its place.
inline constexpr std::string_view kEllipsis = "…";

// The button under the game's result.
inline constexpr std::string_view kNewGameButton = "Yeni Oyun";

}  // namespace tesva::story

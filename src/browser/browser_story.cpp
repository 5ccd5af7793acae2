#include "browser/browser_story.h"

#include "engine/engine.h"
#include "engine/hand_summary.h"
#include "story/story_texts.h"

namespace tesva {
namespace {

using nlohmann::json;

json BoardOf(const HandSummary& summary, Game& game) {
  story::HandBoard board = story::HandBoardOf(summary, ReadOption(game, kKeyHumanName),
                                              ReadOption(game, kKeyComputerName));
  json rows = json::array();
  for (const story::HandRow& row : board.rows) {
    rows.push_back({{"heading", row.heading},
                    {"human", row.human},
                    {"computer", row.computer},
                    {"bold", row.bold}});
  }
  return {{"hand", summary.handNo},
          {"title", board.title},
          {"rows", rows},
          {"leftOver", board.leftOver},
          {"names", board.names}};
}

}  // namespace

void BrowserStory::Follow(Game& game) {
  FollowPlays(game);
  if (game.HandNo != 0) {
    gameEnd_ = nullptr;
  } else if (gameEnd_.is_null() && story::GameEnded(game)) {
    story::GameEndLines lines = story::GameEndOf(game);
    gameEnd_ = {{"result", lines.result}, {"totals", lines.totals}};
  }
}

void BrowserStory::FollowPlays(Game& game) {
  const HandRecord& seen = game.Seen;
  // A new hand: nothing of it told yet.
  if (seen.baseCard != base_ || seen.plays.size() < told_) {
    base_ = seen.baseCard;
    told_ = 0;
  }
  if (seen.plays.size() <= told_) return;
  // The next hand's first move takes the last hand's board away.
  if (boardHand_ != 0 && boardHand_ != game.HandNo) {
    boardGoes_ = true;
    board_ = nullptr;
    boardHand_ = 0;
  }
  HandSummary summary = SummariseHand(game);
  for (const Take& take : summary.takes) {
    if (take.play < told_) continue;
    announcements_.push_back(
        {{"text", story::TakeAnnouncement(take)},
         {"tesva", take.tesva},
         {"pile", take.seat == Seat::kHuman ? "Player1_Deste" : "Player2_Deste"}});
  }
  told_ = seen.plays.size();
  // The move that settles the hand is its last play: the board goes up once.
  if (summary.settled) {
    board_ = BoardOf(summary, game);
    boardGoes_ = false;
    boardHand_ = summary.handNo;
  }
}

json BrowserStory::Told() {
  json told = {{"announcements", announcements_}, {"handBoard", board_}, {"boardGoes", boardGoes_}};
  announcements_ = json::array();
  board_ = nullptr;
  boardGoes_ = false;
  return told;
}

json BrowserStory::GameEnd() const {
  if (gameEnd_.is_null()) return nullptr;
  json end = gameEnd_;
  end["recordLine"] = recordLine_;
  end["button"] = story::kNewGameButton;
  return end;
}

}  // namespace tesva

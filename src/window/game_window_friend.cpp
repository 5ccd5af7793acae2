// The window's side of a game with a friend: while one runs, the table
// shows the friend game's and the game against the computer waits aside.
#include "window/friend_game.h"
#include "window/game_window.h"
#include "window/motion_layer.h"
#include "window/record_keeper.h"
#include "window/table_story.h"

void GameWindow::EnterFriendGame() {
  aside_.emplace(game_);
  keeper_->SetFriendGame(true);
  // The end of a friend game shows no line of the computer's record.
  story_->SetRecordLine(QString());
  friend_->MirrorInto(game_);
  DrawAfresh();
}

void GameWindow::ShowFriendGame() {
  if (!friend_->Running()) return;
  keeper_->FollowFriendGame(friend_->Table());
  names_.friendName = friend_->Table().io.store.Read(tesva::kStoreApp, tesva::kStoreSection,
                                                     tesva::kKeyComputerName);
  friend_->MirrorInto(game_);
  Sync();
}

void GameWindow::LeaveFriendGame() {
  if (!aside_) return;
  static_cast<tesva::GameState&>(game_) = *aside_;
  static_cast<tesva::Form&>(game_) = *aside_;
  game_.Timer2Ticks = aside_->Timer2Ticks;
  game_.Seen = aside_->Seen;
  aside_.reset();
  names_.friendName.reset();
  keeper_->SetFriendGame(false);
  motion_->FinishAll();
  drawnOnce_ = false;
  Handle([this](tesva::Game&) { keeper_->NewGame(); });
}

// Another game's table is drawn as it is, without sliding from this one.
void GameWindow::DrawAfresh() {
  motion_->FinishAll();
  drawnOnce_ = false;
  Sync();
}

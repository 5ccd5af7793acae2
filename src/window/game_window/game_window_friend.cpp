// The window's side of a game with a friend: while one runs, the table
// shows the friend game's and the game against the computer waits aside.
#include <QMenuBar>
#include <QMessageBox>

#include "window/game_window/game_window.h"
#include "window/platform/qt_platform.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/motion_layer.h"

// "Arkadaşla Oyna" after the menus already on the bar. Its items load the
// friend game when first chosen.
void GameWindow::CreateFriendMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("Arkadaşla Oyna"));
  menu->setObjectName(QStringLiteral("mnuArkadas"));
  friendMenu_.host = menu->addAction(QStringLiteral("Oyun Aç…"), this, [this] {
    if (FriendSide* side = Friend()) side->OpenHost();
  });
  friendMenu_.host->setObjectName(QStringLiteral("mnuOyunAc"));
  friendMenu_.join = menu->addAction(QStringLiteral("Oyuna Katıl…"), this, [this] {
    if (FriendSide* side = Friend()) side->OpenJoin();
  });
  friendMenu_.join->setObjectName(QStringLiteral("mnuOyunaKatil"));
  friendMenu_.leave = menu->addAction(QStringLiteral("Bağlantıyı Kes"), this, [this] {
    if (friend_) friend_->Leave();
  });
  friendMenu_.leave->setObjectName(QStringLiteral("mnuBaglantiyiKes"));
  friendMenu_.leave->setEnabled(false);
}

FriendSideMaker GameWindow::LoadFriendSideMaker() {
  return reinterpret_cast<FriendSideMaker>(
      ResolveGameLibrary(QString::fromStdString(services_.host.ProgramFolder()),
                         QStringLiteral("tesva-friend"), kFriendSideMaker));
}

FriendSide* GameWindow::Friend() {
  if (friend_ || friendTried_) return friend_;
  friendTried_ = true;
  FriendSideMaker make = friendMaker_ ? friendMaker_ : LoadFriendSideMaker();
  if (!make) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Arkadaşla Oyna"),
                                QStringLiteral("Arkadaşla oynamak için gereken kitaplık "
                                               "(tesva-friend) yüklenemedi."),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return nullptr;
  }
  friend_ = make(services_, this,
                 {[this] { EnterFriendGame(); }, [this] { ShowFriendGame(); },
                  [this] { LeaveFriendGame(); }, [this] { RenewFriendGame(); }});
  friend_->AdoptMenu(friendMenu_.host, friendMenu_.join, friendMenu_.leave);
  return friend_;
}

bool GameWindow::FriendRunning() const {
  return friend_ && friend_->Running();
}

void GameWindow::EnterFriendGame() {
  aside_.emplace(game_);
  keeper_->SetFriendGame(true);
  // The end of a friend game shows no line of the computer's record.
  story_->SetRecordLine(QString());
  friend_->MirrorInto(game_);
  DrawAfresh();
}

// Both players took up a new game: the one it replaced counts, finished or
// given up, and the new one is followed from its start.
void GameWindow::RenewFriendGame() {
  if (!FriendRunning()) return;
  if (const tesva::Game* previous = friend_->PreviousTable()) keeper_->LeaveFriendGame(*previous);
  keeper_->SetFriendGame(true);
  story_->Dismiss();
  friend_->MirrorInto(game_);
  DrawAfresh();
}

void GameWindow::ShowFriendGame() {
  if (!FriendRunning()) return;
  keeper_->FollowFriendGame(friend_->Table());
  names_.friendName = friend_->Table().io.store.Read(tesva::kStoreApp, tesva::kStoreSection,
                                                     tesva::kKeyComputerName);
  friend_->MirrorInto(game_);
  Sync();
}

void GameWindow::LeaveFriendGame() {
  if (!aside_) return;
  // A friend game left before its end counts as given up.
  keeper_->LeaveFriendGame(friend_->Table());
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

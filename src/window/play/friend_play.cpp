#include "window/play/friend_play.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>

#include "engine/engine.h"
#include "friend_name/friend_name_store.h"
#include "friend_texts/friend_texts.h"
#include "shell/friend_card_names.h"
#include "window/platform/core_text.h"
#include "window/platform/qt_platform.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"

namespace texts = tesva::friend_texts;

FriendPlay::FriendPlay(tesva::Platform services, Window window, TablePlay& computer)
    : QObject(window.widget),
      services_(services),
      window_(std::move(window)),
      computer_(computer) {}

// Its items load the friend game when first chosen.
void FriendPlay::CreateMenu() {
  QMenu* menu = window_.widget->menuBar()->addMenu(ToQt(texts::kMenu));
  menu->setObjectName(QStringLiteral("mnuArkadas"));
  menu_.host = menu->addAction(ToQt(texts::kHostItem), this, [this] {
    if (FriendSide* side = Side()) side->OpenHost();
  });
  menu_.host->setObjectName(QStringLiteral("mnuOyunAc"));
  menu_.join = menu->addAction(ToQt(texts::kJoinItem), this, [this] {
    if (FriendSide* side = Side()) side->OpenJoin();
  });
  menu_.join->setObjectName(QStringLiteral("mnuOyunaKatil"));
  menu_.leave = menu->addAction(ToQt(texts::kLeaveItem), this, [this] {
    if (side_) side_->Leave();
  });
  menu_.leave->setObjectName(QStringLiteral("mnuBaglantiyiKes"));
  menu_.leave->setEnabled(false);
}

FriendSideMaker FriendPlay::LoadMaker() {
  return reinterpret_cast<FriendSideMaker>(
      ResolveGameLibrary(QString::fromStdString(services_.host.ProgramFolder()),
                         QStringLiteral("tesva-friend"), kFriendSideMaker));
}

FriendSide* FriendPlay::Side() {
  if (side_ || tried_) return side_;
  tried_ = true;
  FriendSideMaker make = maker_ ? maker_ : LoadMaker();
  if (!make) {
    auto* box = new QMessageBox(QMessageBox::Warning, ToQt(texts::kMenu),
                                ToQt(texts::kLibraryMissing), QMessageBox::Ok, window_.widget);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return nullptr;
  }
  side_ = make(services_, window_.widget,
               {[this] { Enter(); }, [this] { Show(); }, [this] { Leave(); }, [this] { Renew(); }});
  side_->AdoptMenu(menu_.host, menu_.join, menu_.leave);
  return side_;
}

bool FriendPlay::Running() const {
  return side_ && side_->Running();
}

void FriendPlay::Handle(const Handler& handler, bool mouseMove) {
  if (!Running()) return computer_.Handle(handler, mouseMove);
  handler(side_->Table());
  Show();
}

void FriendPlay::Play(int slot) {
  if (!Running()) return computer_.Play(slot);
  side_->Play(slot);
}

void FriendPlay::NewGame() {
  if (!Running()) return computer_.NewGame();
  side_->OfferNewGame();
}

void FriendPlay::Tick(const Handler& timer) {
  if (!Running()) computer_.Tick(timer);
}

std::string FriendPlay::AccessibleName(const tesva::Game& shown, std::string_view element,
                                       int index) const {
  if (!Running()) return computer_.AccessibleName(shown, element, index);
  return tesva::FriendAccessibleName(shown, element, index, FriendName());
}

std::string FriendPlay::FriendName() const {
  return side_->Table().io.store.Read(tesva::kStoreApp, tesva::kStoreSection,
                                      tesva::kKeyComputerName);
}

// The friend table as the window draws it; its timers are the transport's,
// so the window's stay still.
void FriendPlay::Mirror() {
  side_->MirrorInto(window_.shown);
  window_.shown.Timer1.enabled = false;
  window_.shown.Timer2.enabled = false;
}

void FriendPlay::Enter() {
  aside_.emplace(window_.shown);
  window_.keeper.SetFriendGame(true);
  // The end of a friend game shows no line of the computer's record.
  window_.story.SetRecordLine(QString());
  Mirror();
  window_.drawAfresh();
}

// Both players took up a new game: the one it replaced counts, finished or
// given up, and the new one is followed from its start.
void FriendPlay::Renew() {
  if (!Running()) return;
  if (const tesva::Game* previous = side_->PreviousTable()) {
    window_.keeper.LeaveFriendGame(*previous);
  }
  window_.keeper.SetFriendGame(true);
  window_.story.Dismiss();
  Mirror();
  window_.drawAfresh();
}

void FriendPlay::Show() {
  if (!Running()) return;
  window_.keeper.FollowFriendGame(side_->Table());
  window_.names.StandIn(FriendName());
  Mirror();
  window_.draw();
}

// The computer game comes back and is drawn before "Yeni Oyun" asks
// whether to give it up: the player sees the game the question is about,
// not the friend's table.
void FriendPlay::Leave() {
  if (!aside_) return;
  // A friend game left before its end counts as given up.
  window_.keeper.LeaveFriendGame(side_->Table());
  tesva::Game& shown = window_.shown;
  static_cast<tesva::GameState&>(shown) = *aside_;
  static_cast<tesva::Form&>(shown) = *aside_;
  shown.Timer2Ticks = aside_->Timer2Ticks;
  shown.Seen = aside_->Seen;
  aside_.reset();
  window_.names.StandAside();
  window_.keeper.SetFriendGame(false);
  if (shown.HandNo != 0) window_.drawAfresh();  // "Yeni Oyun" asks first
  window_.keeper.NewGame();
  window_.keeper.AfterEvent(false);
  window_.drawAfresh();
}

#include "window/record/record_keeper.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>

#include "cpu/seat_view.h"
#include "record/hint.h"
#include "record/kept_game.h"
#include "window/record/record_files.h"
#include "window/record/statistics_dialog.h"
#include "window/table/table_elements.h"

namespace {

// The hint's mark: the hover frame's shape in a colour of its own.
class HintFrame : public QWidget {
 public:
  explicit HintFrame(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HintFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    double width = 2 * TableScale();
    QPen pen(QColor(0, 190, 255), width);  // sky blue, apart from the frame's pale yellow
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    double inset = width / 2;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
  }
};

}  // namespace

RecordKeeper::RecordKeeper(tesva::Game& game, RecordFiles* files, QMainWindow* window,
                           QObject* parent)
    : QObject(parent), game_(game), files_(files), window_(window) {
  hintThread_.setMaxThreadCount(1);
}

RecordKeeper::~RecordKeeper() {
  hintThread_.waitForDone();
}

bool RecordKeeper::Resume() {
  bool resumed = false;
  if (files_) {
    if (auto kept = files_->ReadKeptGame()) {
      tesva::record::ResumeInto(game_, *kept);
      tally_ = kept->tally;
      keptGameOnDisk_ = true;
      resumed = true;
    }
    record_ = files_->ReadRecord();
  }
  if (!resumed) tesva::record::FollowGame(game_, tally_);
  return resumed;
}

void RecordKeeper::AfterEvent(bool mouseMove) {
  if (auto result = tesva::record::FollowGame(game_, tally_)) Count(*result);
  if (mouseMove) return;
  // The mark goes with the next move, and a hint still being looked for is
  // of no use any more.
  hintSlot_ = 0;
  ++hintGeneration_;
  hintPending_ = false;
  Keep();
}

void RecordKeeper::NewGame() {
  if (auto given = tesva::record::NewGame(game_, tally_)) Count(*given);
}

void RecordKeeper::Keep() {
  if (!files_) return;
  if (game_.HandNo == 0) {
    // A game that has ended is no longer kept.
    if (keptGameOnDisk_) files_->Forget();
    keptGameOnDisk_ = false;
    return;
  }
  // A copy of the game goes to the writing thread: a few microseconds here.
  files_->Keep(tesva::record::KeepOf(game_, tally_));
  keptGameOnDisk_ = true;
}

void RecordKeeper::Count(const tesva::record::GameResult& result) {
  tesva::record::AddResult(record_, result);
  if (files_) files_->SaveRecord(record_);
  if (statistics_) statistics_->Show(record_);
  if (result.outcome != tesva::record::Outcome::kGivenUp)
    emit gameCounted(QString::fromStdString(tesva::record::RecordLine(record_, result.level)));
}

void RecordKeeper::CreateMenus(QMenuBar* bar) {
  hintAction_ = bar->addAction(QStringLiteral("İpucu"));
  hintAction_->setObjectName(QStringLiteral("mnuIpucu"));
  connect(hintAction_, &QAction::triggered, this, &RecordKeeper::RequestHint);
  statisticsAction_ = bar->addAction(QStringLiteral("İstatistikler"));
  statisticsAction_->setObjectName(QStringLiteral("mnuIstatistik"));
  connect(statisticsAction_, &QAction::triggered, this, &RecordKeeper::ShowStatistics);
}

void RecordKeeper::Sync() {
  // "İpucu" stays enabled and does nothing while no card can be played:
  // greying it after every move repainted the menu bar in the frame that
  // shows the move, 0.3 ms more from a key to the screen (measure-click.sh).
  const bool available = tesva::record::HintAvailable(game_);
  const bool marked = hintSlot_ != 0 && available && game_.Player1_Kart(hintSlot_).enabled;
  if (marked && !hintFrame_) hintFrame_ = new HintFrame(window_->centralWidget());
  if (!hintFrame_) return;
  if (marked) {
    // The table's size may have changed since the last hint.
    hintFrame_->resize(ToPixels(tesva::kCardWidth) + 1, ToPixels(tesva::kCardHeight) + 1);
    hintFrame_->move(ToPixels(tesva::kHumanCardLeftOf(hintSlot_)), ToPixels(tesva::kHumanCardTop));
    hintFrame_->raise();
  }
  hintFrame_->setVisible(marked);
}

void RecordKeeper::SetFriendGame(bool on) {
  friendGame_ = on;
  friendTally_ = {};
  hintSlot_ = 0;
  ++hintGeneration_;
  hintPending_ = false;
  if (hintAction_) hintAction_->setEnabled(!on);
  Sync();
}

void RecordKeeper::FollowFriendGame(const tesva::Game& table) {
  if (auto result = tesva::record::FollowGame(table, friendTally_)) CountFriendGame(*result);
}

void RecordKeeper::LeaveFriendGame(const tesva::Game& table) {
  FollowFriendGame(table);
  if (auto result = tesva::record::LeaveGame(table, friendTally_)) CountFriendGame(*result);
}

void RecordKeeper::CountFriendGame(const tesva::record::GameResult& result) {
  tesva::record::AddFriendResult(record_, result);
  if (files_) files_->SaveRecord(record_);
  if (statistics_) statistics_->Show(record_);
}

void RecordKeeper::RequestHint() {
  if (friendGame_ || !tesva::record::HintAvailable(game_) || hintSlot_ != 0 || hintPending_) return;
  hintPending_ = true;
  // The search runs on a copy of the seat's view: the game itself is never
  // touched off this thread.
  auto view = tesva::ViewOf(game_, tesva::Seat::kHuman);
  int generation = hintGeneration_;
  int search = game_.UstaSearch;
  hintThread_.start([this, view = std::move(view), generation, search] {
    int slot = tesva::record::HintSlot(view, search);
    QMetaObject::invokeMethod(
        this, [this, generation, slot] { ShowHint(generation, slot); }, Qt::QueuedConnection);
  });
}

void RecordKeeper::ShowHint(int generation, int slot) {
  if (generation != hintGeneration_ || slot == 0) return;
  hintPending_ = false;
  hintSlot_ = slot;
  if (!tally_.hintUsed) {
    tally_.hintUsed = true;
    Keep();
  }
  Sync();
  emit hintShown(slot);
}

void RecordKeeper::ShowStatistics() {
  if (!statistics_) {
    statistics_ = new StatisticsDialog(window_);
    connect(statistics_, &StatisticsDialog::resetAsked, this, &RecordKeeper::ResetRecord);
  }
  statistics_->Show(record_);
  statistics_->show();
  statistics_->raise();
  statistics_->activateWindow();
}

void RecordKeeper::ResetRecord() {
  record_ = {};
  if (files_) files_->SaveRecord(record_);
  if (statistics_) statistics_->Show(record_);
}

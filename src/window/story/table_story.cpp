#include "window/story/table_story.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QPushButton>
#include <QWidget>

#include "engine/engine.h"
#include "shell/main_window.h"
#include "story/story_places.h"
#include "story/story_texts.h"
#include "window/story/announcements.h"
#include "window/story/story_panels.h"
#include "window/table/motion_layer.h"
#include "window/table/table_units.h"

namespace {

using tesva::story::kGameEndPlace;
// Over the middle of the table, never over the human's hand.
constexpr tesva::Place kHandPanelPlace = tesva::story::kHandBoardPlace;

}  // namespace

TableStory::TableStory(QWidget* table, MotionLayer& motion)
    : QObject(table), table_(table), motion_(motion) {
  connect(&motion_, &MotionLayer::showingChanged, this, &TableStory::RunLanded);
}

void TableStory::Follow(tesva::Game& game, std::uint64_t takeLanded, std::uint64_t allLanded) {
  const tesva::HandRecord& seen = game.Seen;
  // A new hand: nothing of it told yet.
  if (seen.baseCard != base_ || seen.plays.size() < told_) {
    base_ = seen.baseCard;
    told_ = 0;
  }
  if (seen.plays.size() > told_) {
    // The next hand's first move takes the last hand's board away.
    if (hand_ && hand_->isVisible() && hand_->HandNo() != game.HandNo) hand_->hide();
    tesva::HandSummary summary = tesva::SummariseHand(game);
    for (const tesva::Take& take : summary.takes) {
      if (take.play < told_) continue;
      waiting_.push_back({takeLanded, [this, take] { Announce(take); }});
    }
    told_ = seen.plays.size();
    // The move that settles the hand is its last play: the board goes up once.
    if (summary.settled) {
      QString human = QString::fromStdString(tesva::ReadOption(game, tesva::kKeyHumanName));
      QString computer = QString::fromStdString(tesva::ReadOption(game, tesva::kKeyComputerName));
      waiting_.push_back(
          {allLanded, [this, summary, human, computer] { ShowHand(summary, human, computer); }});
    }
  }
  if (game.HandNo != 0) {
    if (gameOver_) HideGameEnd();
  } else if (!gameOver_ && tesva::story::GameEnded(game)) {
    ShowGameEnd(game);
  }
  RunLanded();
}

void TableStory::RunLanded() {
  std::vector<Waiting> due;
  std::erase_if(waiting_, [this, &due](Waiting& waiting) {
    bool landed = !motion_.Moving() || waiting.landed <= motion_.Landed();
    if (landed) due.push_back(std::move(waiting));
    return landed;
  });
  for (Waiting& waiting : due) waiting.show();
}

void TableStory::Dismiss() {
  if (hand_ && hand_->isVisible()) hand_->hide();
  qApp->removeEventFilter(this);
}

bool TableStory::eventFilter(QObject* watched, QEvent* event) {
  auto type = event->type();
  if ((type == QEvent::MouseButtonPress || type == QEvent::KeyPress) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == table_->window()) {
    Dismiss();
  }
  return false;
}

QPoint TableStory::PileTop(tesva::Seat seat) const {
  auto place = tesva::FindPlace(seat == tesva::Seat::kHuman ? "Player1_Deste" : "Player2_Deste");
  QRect pile = ToPixels(*place);
  return {pile.center().x(), pile.top()};
}

void TableStory::Announce(const tesva::Take& take) {
  if (!announcements_) announcements_ = new AnnouncementLayer(table_);
  announcements_->setGeometry(table_->rect());
  QString text = QString::fromStdString(tesva::story::TakeAnnouncement(take));
  announcements_->Announce(text, PileTop(take.seat), take.tesva, TableScale());
}

void TableStory::ShowHand(const tesva::HandSummary& summary, const QString& human,
                          const QString& computer) {
  if (!hand_) hand_ = new HandPanel(table_);
  hand_->setGeometry(ToPixels(kHandPanelPlace));
  hand_->Show(summary, human, computer);
  PlaceHandPanel();
  qApp->installEventFilter(this);
  if (announcements_) announcements_->raise();
}

void TableStory::ShowGameEnd(tesva::Game& game) {
  gameOver_ = true;
  tesva::story::GameEndLines lines = tesva::story::GameEndOf(game);
  if (!gameEnd_) {
    gameEnd_ = new GameEndPanel(table_);
    connect(gameEnd_, &GameEndPanel::newGameClicked, this, &TableStory::newGameClicked);
  }
  gameEnd_->setGeometry(ToPixels(kGameEndPlace));
  gameEnd_->SetExtraLine(recordLine_);
  gameEnd_->Show(QString::fromStdString(lines.result), QString::fromStdString(lines.totals));
  gameEnd_->NewGameButton()->setFocus(Qt::OtherFocusReason);
}

void TableStory::HideGameEnd() {
  gameOver_ = false;
  if (gameEnd_) gameEnd_->hide();
  Dismiss();
}

void TableStory::Relayout() {
  // The texts rising now are gone in a second; the next ones rise at the
  // new size.
  if (announcements_) announcements_->setGeometry(table_->rect());
  if (hand_) {
    hand_->setGeometry(ToPixels(kHandPanelPlace));
    hand_->Refit();
    PlaceHandPanel();
  }
  if (gameEnd_) {
    gameEnd_->setGeometry(ToPixels(kGameEndPlace));
    gameEnd_->Refit();
  }
}

// The board is as tall as its figures, at most its place, and centred on
// the place: a short hand's board leaves the floor's middle free around it.
void TableStory::PlaceHandPanel() {
  QRect place = ToPixels(kHandPanelPlace);
  // The figures' new fonts and margins first.
  hand_->layout()->activate();
  // A wrapped line is as tall as the board's own width makes it.
  int wanted = hand_->hasHeightForWidth() ? hand_->heightForWidth(place.width())
                                          : hand_->sizeHint().height();
  int height = std::min(place.height(), wanted);
  hand_->setGeometry(place.left(), place.center().y() - height / 2, place.width(), height);
}

void TableStory::SetRecordLine(const QString& line) {
  recordLine_ = line;
  if (gameEnd_) gameEnd_->SetExtraLine(line);
}

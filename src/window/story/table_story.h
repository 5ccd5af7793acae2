// What the table tells the player besides the game's own captions: the
// points of every take rising from the taker's pile, the breakdown of each
// hand when it is settled, and the game's result with the way to the next
// game. It reads the game after every event and shows each part once the
// cards it tells of have landed; its widgets are made when first needed.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/game_state.h"
#include "engine/hand_summary.h"

class AnnouncementLayer;
class GameEndPanel;
class HandPanel;
class MotionLayer;
class QWidget;

class TableStory : public QObject {
  Q_OBJECT

 public:
  TableStory(QWidget* table, MotionLayer& motion);

  // After every event the game handled: `takeLanded` and `allLanded` are
  // the motion's landing counts at which the event's capture and all its
  // cards will have landed.
  void Follow(tesva::Game& game, std::uint64_t takeLanded, std::uint64_t allLanded);
  // A click or key of the player: the hand's board goes.
  void Dismiss();
  // The table has a new size: what is on show takes its place at it.
  void Relayout();
  // One line of the player's record under the game's result ("" for none).
  void SetRecordLine(const QString& line);

  AnnouncementLayer* Announcements() const { return announcements_; }
  HandPanel* Hand() const { return hand_; }
  GameEndPanel* GameEnd() const { return gameEnd_; }

 signals:
  void newGameClicked();

 protected:
  // While the hand's board is up, the player's next click or key takes it
  // away and goes on to do what it does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RunLanded();
  void Announce(const tesva::Take& take);
  void ShowHand(const tesva::HandSummary& summary, const QString& human, const QString& computer);
  void ShowGameEnd(tesva::Game& game);
  void HideGameEnd();
  void PlaceHandPanel();
  QPoint PileTop(tesva::Seat seat) const;

  QWidget* table_;
  MotionLayer& motion_;
  QString recordLine_;

  // The hand being followed: its base card and the plays already told.
  std::string base_;
  std::size_t told_ = 0;
  bool gameOver_ = false;

  struct Waiting {
    std::uint64_t landed;
    std::function<void()> show;
  };
  std::vector<Waiting> waiting_;

  AnnouncementLayer* announcements_ = nullptr;
  HandPanel* hand_ = nullptr;
  GameEndPanel* gameEnd_ = nullptr;
};

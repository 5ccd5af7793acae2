// The window's side of the record, the kept game and the hint: it follows
// every event of the game, keeps the game through RecordFiles, adds finished
// and given-up games to the record, adds the commands "İpucu" and
// "İstatistikler" after the game's own menu bar, marks the hinted card and
// opens the statistics dialog. The rules are the core's (record/); this only
// calls them at the right moments.
#pragma once

#include <QObject>
#include <QThreadPool>

#include "engine/game_state.h"
#include "record/record.h"

class QAction;
class QMainWindow;
class QMenuBar;
class QWidget;
class RecordFiles;
class StatisticsDialog;

class RecordKeeper : public QObject {
  Q_OBJECT

 public:
  // Follows `game`; keeps it in `files` unless that is null (then nothing is
  // read or written). The hint's mark is drawn on the window's table.
  RecordKeeper(tesva::Game& game, RecordFiles* files, QMainWindow* window, QObject* parent);
  ~RecordKeeper() override;

  // At start-up, right after the game has started: the kept game, if one
  // is there and sound, takes the place of the one just dealt. True then.
  bool Resume();
  // After every event the window handled. A mouse move over the cards
  // changes nothing of the play and is not kept.
  void AfterEvent(bool mouseMove);
  // "Yeni Oyun", through the record: a running game that it replaces counts
  // as given up.
  void NewGame();
  // "İpucu" then "İstatistikler", after the game's own menus.
  void CreateMenus(QMenuBar* bar);
  // The hint's mark, after every event.
  void Sync();
  // Key H or "İpucu": the master's card for the human is looked for on a
  // thread of its own and marked when found.
  void RequestHint();
  // While a friend game runs, no hint is given: "İpucu" is disabled and the
  // key H does nothing.
  void SetFriendGame(bool on);
  // After every change of a friend game's table: a finished game counts
  // under the friend's heading, apart from the computer's and the levels'.
  void FollowFriendGame(const tesva::Game& table);
  // The friend game is left before its end (by either player, after a lost
  // connection, or for a new game): it counts as given up under the
  // friend's heading, if it had begun.
  void LeaveFriendGame(const tesva::Game& table);

  const tesva::record::Record& Record() const { return record_; }
  const tesva::record::GameTally& Tally() const { return tally_; }
  // The hand card the hint marks, 1 to 4; 0 for none.
  int HintSlot() const { return hintSlot_; }
  QAction* HintAction() const { return hintAction_; }
  QAction* StatisticsAction() const { return statisticsAction_; }
  StatisticsDialog* Statistics() const { return statistics_; }

 signals:
  void hintShown(int slot);
  // A finished game was counted; `line` is the record of its level.
  void gameCounted(const QString& line);

 private:
  void Keep();
  void Count(const tesva::record::GameResult& result);
  void CountFriendGame(const tesva::record::GameResult& result);
  void ShowHint(int generation, int slot);
  void ShowStatistics();
  void ResetRecord();

  tesva::Game& game_;
  RecordFiles* files_;
  QMainWindow* window_;
  tesva::record::Record record_;
  tesva::record::GameTally tally_;
  bool keptGameOnDisk_ = false;

  QAction* hintAction_ = nullptr;
  QAction* statisticsAction_ = nullptr;
  QWidget* hintFrame_ = nullptr;  // made at the first hint
  StatisticsDialog* statistics_ = nullptr;
  int hintSlot_ = 0;
  int hintGeneration_ = 0;  // a hint found after the game moved on is dropped
  bool hintPending_ = false;
  bool friendGame_ = false;
  tesva::record::GameTally friendTally_;
  // Last member: its end waits for a hint still being looked for.
  QThreadPool hintThread_;
};

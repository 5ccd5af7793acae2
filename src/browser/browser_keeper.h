// The browser's side of the record and the kept game, as the desktop's
// record keeper: it follows every event of the game, keeps the unfinished
// game and the record in the page's local storage after every event that
// changes them, counts finished and given-up games, and reads both back at
// the start through the same checks as the desktop's files.
//
// Local storage, not IndexedDB: it is read and written at once, inside the
// event that changed the game, so the stored game is never an event behind
// and nothing waits on a promise; a kept game is a few kilobytes, far below
// what a site may store. A stored value that does not pass every check is
// moved aside under its key followed by ".bozuk-" and the time, with one
// warning on the console, and the game starts as if it had not been there.
#pragma once

#include <string>

#include "engine/game_state.h"
#include "record/record.h"
#include "shell/events.h"

namespace tesva {

class BrowserKeeper {
 public:
  // The storage keys of the kept game and the record.
  static std::string KeptGameKey();
  static std::string RecordKey();

  // Right after a game has been dealt: the kept game, if one is stored and
  // sound, takes its place (true then); the record is read either way.
  bool Resume(Game& g);
  // After every event the game handled. A mouse move over the cards
  // changes nothing of the play and is not kept.
  void AfterEvent(const Game& g, EventKind kind);
  // "Yeni Oyun", through the record: a running game that it replaces counts
  // as given up. A box it opens is thrown before anything changes.
  void NewGame(Game& g);
  // A hint was shown in the running game: the game counts as hinted, and
  // is kept so, as on the desktop.
  void HintShown(const Game& g);
  // The record's table as the statistics dialog shows it.
  const record::Record& Record() const { return record_; }
  // "Sıfırla", answered Yes.
  void ResetRecord();
  // The line of the last finished game's level, for the game-end panel;
  // "" until a game has been counted.
  const std::string& RecordLine() const { return recordLine_; }
  // Off while another tab holds the game: nothing is written from here.
  void SetWriting(bool on) { writing_ = on; }
  bool Writing() const { return writing_; }

 private:
  void Keep(const Game& g);
  void Count(const record::GameResult& result);
  void SaveRecord();

  record::Record record_;
  record::GameTally tally_;
  std::string recordLine_;
  bool keptStored_ = false;
  bool writing_ = true;
  bool toldCannotWrite_ = false;
  bool toldUnkeepable_ = false;
};

}  // namespace tesva

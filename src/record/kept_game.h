// The unfinished game, kept in a file so that closing the window, a crash or
// a power cut loses at most the event in progress, and the record of past
// games. Both are JSON texts (nlohmann-json): readable by a person who wants
// to know what the game keeps, and a format that a later version can extend
// member by member.
//
// A kept game is the whole game: every state value, every element of the
// window (pictures, captions, check marks, timers, the hover frame), the
// end-of-hand pause's tick counter, what both players saw of the hand, and
// the record's tally of the game. The captions of the menu items, which no
// command changes except the hand count's, come from the game itself.
//
// Versions: the file names its format and version. A member added to the game
// later is written under its own name and raises the version; a reader takes
// the files of its own version and of older ones (a member that an older file
// lacks gets the value a new game starts with), and refuses newer ones.
//
// Nothing read from a file reaches a game before all of it has been
// checked: the 52 cards each in exactly one place (the deck still to deal,
// a hand, or played in this hand as both players saw it), every count,
// score, index and timer within what the rules allow, the floor and the
// tracker agreeing with the cards played, only known card codes and picture
// names, names of at most kMaxNameLength characters of valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "engine/game_state.h"
#include "record/record.h"
#include "shell/main_window.h"

namespace tesva::record {

inline constexpr int kKeptGameVersion = 1;
inline constexpr int kRecordVersion = 1;

// No kept game is larger: the deck, the hands and the plays are a few
// hundred bytes, the names at most 30 characters of up to 4 bytes each. A
// larger file is refused before it is read whole.
inline constexpr std::size_t kMaxKeptGameBytes = 64 * 1024;
inline constexpr std::size_t kMaxRecordBytes = 64 * 1024;

// Captions of the table: a status line holds both names and two totals, so
// four names' room is plenty. The hand count's caption holds the stored
// count as it was written.
inline constexpr std::size_t kMaxCaptionCharacters = 4 * kMaxNameLength + 80;
inline constexpr std::size_t kMaxHandsCaptionCharacters = 24;

// The game as it is kept: plain data, copied off the game in a few
// microseconds, so that it can be written on another thread.
struct KeptGame {
  GameState state;
  Form form;
  std::int16_t timer2Ticks = 0;
  HandRecord seen;
  GameTally tally;
  bool operator==(const KeptGame&) const = default;
};

KeptGame KeepOf(const Game& g, const GameTally& tally);
// Puts a kept game into `g` whole; the services and sound paths stay.
void ResumeInto(Game& g, const KeptGame& kept);

// What went wrong with a file, in one line.
struct Refusal {
  std::string reason;
};

// The kept game as the file's bytes; a Refusal when the game holds what no
// kept game may hold (a name that is too long or not UTF-8, a game that is
// not running).
std::variant<std::string, Refusal> WriteKeptGame(const KeptGame& kept);
// The file's bytes as a kept game, checked whole; a Refusal saying why not.
std::variant<KeptGame, Refusal> ReadKeptGame(std::string_view bytes);
// Every rule a kept game must keep; the first one broken, or "".
std::string CheckKeptGame(const KeptGame& kept);

std::string WriteRecord(const Record& record);
std::variant<Record, Refusal> ReadRecord(std::string_view bytes);

// True when `text` is valid UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

}  // namespace tesva::record

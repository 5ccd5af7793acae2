// What the window knows of a game with a friend. The game itself (the
// dialogs, the sockets, the link and its cryptography) lives in a library
// of its own, tesva-friend, that the window loads at the first use of
// the friend menu (friend_texts::kMenu): a game against the computer never loads Qt Network or
// libsodium (they had cost every start 1.9 MiB and about 1 ms).
#pragma once

#include <functional>

#include "engine/game_state.h"

class QAction;
class QWidget;

class FriendSide {
 public:
  // What the window hears: a friend game began, changed, or is over and
  // its table gone; or both players took up a new game on the same link.
  struct Listener {
    std::function<void()> started;
    std::function<void()> changed;
    std::function<void()> finished;
    std::function<void()> renewed;
  };

  virtual ~FriendSide() = default;

  // The menu's three items (friend_texts::kHostItem, kJoinItem and
  // kLeaveItem), which the friend side enables as its game goes.
  virtual void AdoptMenu(QAction* host, QAction* join, QAction* leave) = 0;
  virtual void OpenHost() = 0;
  virtual void OpenJoin() = 0;
  // The friend game's table is what the window shows.
  virtual bool Running() const = 0;
  // The friend game's table; only while Running().
  virtual tesva::Game& Table() = 0;
  // Copies the table for the window to draw.
  virtual void MirrorInto(tesva::Game& shown) = 0;
  // The player's hand card; false when it may not be played now.
  virtual bool Play(int slot) = 0;
  // kLeaveItem: says goodbye and ends the friend game.
  virtual void Leave() = 0;
  // "Yeni Oyun": offers the friend a new game, who may take it or not; with
  // the friend gone, ends the friend game as kLeaveItem does.
  virtual void OfferNewGame() = 0;
  // The table of the game the last new game replaced, for its result.
  virtual const tesva::Game* PreviousTable() = 0;
};

// Makes the friend side, a child of `window` that lives as long as it.
using FriendSideMaker = FriendSide* (*)(tesva::Platform services, QWidget* window,
                                        FriendSide::Listener listener);
// The maker inside the library, by name, for QLibrary::resolve.
inline constexpr char kFriendSideMaker[] = "TesvaMakeFriendSide";

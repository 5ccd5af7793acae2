// The window's seam to a game with a friend. The friend game itself (the
// dialogs, the sockets, the link) is the library tesva-friend, loaded at
// the first use of the friend menu (friend_side.h). While it runs, its
// table is what the window shows and every event goes to it; the game
// against the computer is kept aside and comes back, for a new game as
// "Yeni Oyun" starts one, when the friend game ends. While none runs,
// every event goes to the computer's game.
#pragma once

#include <QObject>
#include <optional>

#include "friend_name/friend_name_store.h"
#include "window/friend/friend_side.h"
#include "window/play/table_play.h"

class QAction;
class QMainWindow;
class RecordKeeper;
class TableStory;

class FriendPlay : public QObject, public TablePlay {
  Q_OBJECT

 public:
  // What of the window a friend game takes over.
  struct Window {
    QMainWindow* widget;                 // the friend side's and its boxes' parent
    tesva::Game& shown;                  // the game the window draws
    tesva::net::FriendNameStore& names;  // the store `shown` reads
    RecordKeeper& keeper;
    TableStory& story;
    std::function<void()> draw;        // draws the change of `shown`
    std::function<void()> drawAfresh;  // draws another game's table as it is
  };

  FriendPlay(tesva::Platform services, Window window, TablePlay& computer);

  // The menu "Arkadaşla Oyna" after the menus already on the bar.
  void CreateMenu();
  // The friend side, loaded at its first use; null when its library
  // cannot be loaded.
  FriendSide* Side();
  bool Running() const;
  // The tests, linked with the friend game, make it directly.
  static void UseMaker(FriendSideMaker make) { maker_ = make; }

  // A friend game's commands act on its own table (its background, card
  // back, sounds, help); those of the computer game are closed on it.
  void Handle(const Handler& handler, bool mouseMove) override;
  void Play(int slot) override;
  // With a friend, offered to the friend.
  void NewGame() override;
  // During a friend game the computer never moves, and the pause at a
  // hand's end runs on the transport's clock.
  void Tick(const Handler& timer) override;
  // The friend's hand and pile are named for the friend.
  std::string AccessibleName(const tesva::Game& shown, std::string_view element,
                             int index) const override;

 private:
  FriendSideMaker LoadMaker();
  void Enter();
  void Show();
  void Leave();
  void Renew();
  void Mirror();
  std::string FriendName() const;

  tesva::Platform services_;
  Window window_;
  TablePlay& computer_;
  FriendSide* side_ = nullptr;
  bool tried_ = false;
  struct {
    QAction* host = nullptr;
    QAction* join = nullptr;
    QAction* leave = nullptr;
  } menu_;
  std::optional<tesva::Game> aside_;  // the computer game, during a friend game
  static inline FriendSideMaker maker_ = nullptr;
};

// The game's window: the table with both hands, the floor, the deck and the
// captured piles, the names and the status line, the menu bar and the rules
// panel. The game (tesva::Game) decides everything; the window draws the
// game's elements and hands every click, mouse move, key, menu command and
// timer tick to the game's handler for it.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/game_state.h"
#include "friend_name/friend_name_store.h"
#include "motion/table_motion.h"
#include "shell/main_window.h"
#include "window/pictures/picture_cache.h"

class CaptionLabels;
class CardPicture;
class ComputerPlay;
class FriendPlay;
class GameMenus;
class GameTimers;
class HandCard;
class HandKeys;
class HoverFrame;
class MotionLayer;
class QMenu;
class RecordFiles;
class RecordKeeper;
class RulesPanelPlace;
class ScaleMenu;
class TablePlay;
class TableLists;
class TablePiles;
class TableStory;
class TableSurface;

class GameWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The game plays on `services`; the pictures come from the "Data" folder
  // in the services' program folder. With `files`, the game is kept there
  // after every event and a kept game resumes at start-up.
  explicit GameWindow(tesva::Platform services, RecordFiles* files = nullptr,
                      QWidget* parent = nullptr);
  ~GameWindow() override;

  const tesva::Game& Game() const { return game_; }
  const PictureCache& Pictures() const { return pictures_; }
  // The cards sliding across the table.
  MotionLayer& Motion() const { return *motion_; }
  // The record, the kept game and the hint.
  RecordKeeper& Keeper() const { return *keeper_; }
  // The points, hand results and game result the table tells.
  TableStory& Story() const { return *story_; }
  // The table's size in percent: 100, 150 or 200.
  int TableScalePercent() const { return scale_; }
  // Shows the table at `percent` at once and keeps the choice in the store.
  void ChooseTableScale(int percent);
  // The seam to the game with a friend, which is loaded at its first use:
  // while one runs, the window draws its table.
  FriendPlay& Friend() const { return *friend_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateTable();
  void CreateHands();
  void CreatePiles();
  void CreateCaptions();
  void CreateMenus();
  void ReadPicturesAhead();
  // The table's size: what it opens at, and drawing it at a size.
  void OpenAtTableScale(bool firstRun, const std::string& stored);
  std::array<int, 3> WindowHeights() const;
  void ApplyTableScale(int percent);
  void PlaceCards();
  void LayOutTable();

  // Runs one of the game's handlers, then draws what it changed. A mouse
  // move over the table changes nothing of the play.
  void Handle(const std::function<void(tesva::Game&)>& handler, bool mouseMove = false);
  void PlayCard(int index);

  // What the events act on: the computer's game, or a friend's.
  void CreatePlay(tesva::Platform services);
  // Another game's table is drawn as it is, without sliding from this one.
  void DrawAfresh();

  void Sync();
  void SyncWindow();
  void SyncPictures();
  void ShowPictures();
  // Each pile's edges, for the cards it holds while it shows a card.
  void ShowPileEdges();
  void ShowCaptions();
  void SyncAccessibleNames();
  void SyncLabels();
  void SyncLists();
  void SyncHoverFrame();
  void SyncMenus();
  void SyncTimers();
  CardPicture*& PlaceWidget(Spot spot) { return places_[static_cast<std::size_t>(spot)]; }

  // The store the window's game reads: the player's own, but during a
  // friend game the other seat's name is the friend's, so that what the
  // table tells of a hand names the friend, and the own one is never
  // written.
  tesva::net::FriendNameStore names_;
  tesva::Game game_;
  PictureCache pictures_;
  // The game's elements as the widgets show them now: only what differs
  // from this is drawn again.
  tesva::Form drawn_;
  bool drawnOnce_ = false;

  TableSurface* table_ = nullptr;
  std::array<HandCard*, tesva::kHandSize> humanCards_{};
  std::array<CardPicture*, kSpots> places_{};  // every card place, by Spot
  TablePiles* piles_ = nullptr;
  HoverFrame* hoverFrame_ = nullptr;
  MotionLayer* motion_ = nullptr;
  TableStory* story_ = nullptr;
  HandKeys* keys_ = nullptr;

  CaptionLabels* captions_ = nullptr;

  TableLists* lists_ = nullptr;
  RulesPanelPlace* rules_ = nullptr;

  GameMenus* menus_ = nullptr;
  ScaleMenu* scaleMenu_ = nullptr;

  GameTimers* timers_ = nullptr;

  RecordKeeper* keeper_ = nullptr;
  int scale_ = tesva::kDefaultTableScale;
  std::unique_ptr<ComputerPlay> computer_;
  FriendPlay* friend_ = nullptr;
  TablePlay* play_ = nullptr;  // the one every event goes to
};

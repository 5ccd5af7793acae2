// The game's window: the table with both hands, the floor, the deck and the
// captured piles, the names and the status line, the menu bar and the rules
// panel. The game (tesva::Game) decides everything; the window draws the
// game's elements and hands every click, mouse move, key, menu command and
// timer tick to the game's handler for it.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "engine/game_state.h"
#include "shell/main_window.h"
#include "window/friend/friend_names.h"
#include "window/friend/friend_side.h"
#include "window/pictures/picture_cache.h"
#include "window/table_motion.h"

class CardPicture;
class FriendSide;
class HandCard;
class HoverFrame;
class MotionLayer;
class PileEdges;
class QListWidget;
class QMenu;
class QTimer;
class RecordFiles;
class RecordKeeper;
class RulesPanel;
class TableLabel;
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
  // The game with a friend, loaded at its first use (null when its library
  // cannot be loaded): while it runs, the window draws its table.
  FriendSide* Friend();
  bool FriendRunning() const;
  // The tests, linked with the friend game, make it directly.
  static void UseFriendSideMaker(FriendSideMaker make) { friendMaker_ = make; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateTable();
  void CreateHands();
  void CreatePiles();
  void CreateCaptions();
  QListWidget* CreateList(std::string_view name);
  void CreateRulesPanel();
  void CreateMenus();
  void CreateScaleMenuLater();
  void CreateScaleMenu(QMenu* options);
  void AddShortcuts();
  void CreateTimers();
  void CreateIcon();
  void ReadPicturesAhead();
  void PlaceOnScreen();
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
  // The mouse over hand card `index`: the hover frame and the focus go there.
  void HoverCard(int index);
  // Marks hand card `index` for the keyboard as the mouse would: the game
  // raises it and frames it, so that focus and frame are on the same card.
  void MarkCard(int index);
  // Whether the game's hover frame is on hand card `index`.
  bool Framed(int index) const;
  // Moves the keyboard focus to the next playable hand card from card
  // `from` in the direction of `step`, or for step 0 to the nearest one.
  void FocusHandCard(int from, int step, Qt::FocusReason reason = Qt::TabFocusReason);
  void CardFocused(int index, Qt::FocusReason reason);
  // Space or Return on hand card `index`: plays it when it is marked, by
  // the focus mark or the hover frame; otherwise shows the mark first.
  void KeyPlay(int index);
  // The keyboard (true) or the mouse (false) was used last.
  void UseKeys(bool keys);

  // A friend game takes the table: the game against the computer is kept
  // aside and comes back, for a new game as "Yeni Oyun" starts one, when
  // the friend game ends.
  void CreateFriendMenu();
  FriendSideMaker LoadFriendSideMaker();
  void EnterFriendGame();
  void ShowFriendGame();
  void LeaveFriendGame();
  void RenewFriendGame();
  void DrawAfresh();

  void Sync();
  void SyncWindow();
  void SyncPictures();
  void ShowPictures();
  // Each pile's edges, for the cards it holds while it shows a card.
  void ShowPileEdges();
  void ShowCaptions();
  TableLabel* CaptionWidget(Caption caption) const;
  void SyncAccessibleNames();
  void SyncLabels();
  void SyncLists();
  void SyncHoverFrame();
  void SyncMenus();
  void SyncTimers();
  CardPicture*& PlaceWidget(Spot spot) { return places_[static_cast<std::size_t>(spot)]; }
  void ShowLabel(TableLabel* widget, const tesva::Label& now, const tesva::Label& before);
  void ShowList(QListWidget*& widget, std::string_view name, const tesva::TextList& now,
                const tesva::TextList& before);

  // The store the window's game reads: the player's own, but during a
  // friend game the other seat's name is the friend's, so that what the
  // table tells of a hand names the friend.
  FriendNames names_;
  tesva::Game game_;
  PictureCache pictures_;
  // The game's elements as the widgets show them now: only what differs
  // from this is drawn again.
  tesva::Form drawn_;
  bool drawnOnce_ = false;

  TableSurface* table_ = nullptr;
  std::array<HandCard*, tesva::kHandSize> humanCards_{};
  std::array<CardPicture*, kSpots> places_{};  // every card place, by Spot
  struct Pile {
    Spot spot;
    PileEdges* edges;
  };
  std::vector<Pile> piles_;
  HoverFrame* hoverFrame_ = nullptr;
  MotionLayer* motion_ = nullptr;
  TableStory* story_ = nullptr;
  // The hand card that last had the keyboard focus, 1 to 4; 0 before any.
  int focusCard_ = 0;
  // The keyboard was used after the mouse: the focus mark is shown.
  bool keysUsed_ = false;

  TableLabel* status_ = nullptr;       // Label1
  TableLabel* baseCaption_ = nullptr;  // Label2, "Taban"
  TableLabel* handNumber_ = nullptr;   // Label7
  TableLabel* deckCaption_ = nullptr;  // Label8
  TableLabel* humanName_ = nullptr;
  TableLabel* computerName_ = nullptr;
  std::array<TableLabel*, tesva::kRanks> tracker_{};  // Cikanlar

  // Made when first shown.
  QListWidget* deckList_ = nullptr;          // List1
  QListWidget* computerHandList_ = nullptr;  // List2
  RulesPanel* rulesPanel_ = nullptr;         // Picture1

  struct MenuAction {
    const tesva::MenuEntry* entry;
    QAction* action;
  };
  std::vector<MenuAction> menuActions_;

  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;

  RecordKeeper* keeper_ = nullptr;
  int scale_ = tesva::kDefaultTableScale;
  std::vector<QAction*> scaleActions_;  // "%100", "%150", "%200", once made
  tesva::Platform services_;            // as given, for the friend game
  FriendSide* friend_ = nullptr;
  bool friendTried_ = false;
  struct {
    QAction* host = nullptr;
    QAction* join = nullptr;
    QAction* leave = nullptr;
  } friendMenu_;
  static inline FriendSideMaker friendMaker_ = nullptr;
  std::optional<tesva::Game> aside_;  // the computer game, during a friend game
};

// The window's drawing of the game: after every event the widgets take the
// game's elements, as far as the cards sliding across the table allow, and
// only what changed is drawn again.

#include "engine/cards.h"

#include "shell/card_names.h"
#include "window/game_window/game_window.h"
#include "window/menus/game_menus.h"
#include "window/play/game_timers.h"
#include "window/play/table_play.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/caption_labels.h"
#include "window/table/card_picture.h"
#include "window/table/hand_card.h"
#include "window/table/hand_keys.h"
#include "window/table/hover_frame.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel_place.h"
#include "window/table/table_label.h"
#include "window/table/table_lists.h"
#include "window/table/table_piles.h"
#include "window/table/table_surface.h"
#include "window/table/table_units.h"

void GameWindow::Sync() {
  // The table shows the game's change as cards sliding from where they
  // were drawn to where the game has them now. The first drawing shows
  // the table as it is.
  // What the table tells of the event waits for its cards: a take's points
  // for the take's two steps, a hand's result for all of them.
  std::uint64_t queued = motion_->Landed() + motion_->StepsLeft();
  std::uint64_t takeLanded = queued;
  if (drawnOnce_) {
    MotionPlan plan = PlanMotion(drawn_, game_);
    takeLanded += std::min<std::size_t>(plan.steps.size(), 2);
    motion_->Add(std::move(plan));
  }
  std::uint64_t allLanded = motion_->Landed() + motion_->StepsLeft();
  SyncWindow();
  SyncPictures();
  SyncAccessibleNames();
  SyncLabels();
  SyncLists();
  SyncHoverFrame();
  SyncMenus();
  SyncTimers();
  keeper_->Sync();
  drawn_ = static_cast<const tesva::Form&>(game_);
  drawnOnce_ = true;
  story_->Follow(game_, takeLanded, allLanded);
}

void GameWindow::SyncWindow() {
  if (!drawnOnce_ || drawn_.Caption != game_.Caption) {
    setWindowTitle(QString::fromStdString(game_.Caption));
  }
  if (!drawnOnce_ || drawn_.BackColor != game_.BackColor) {
    table_->SetColor(ToColor(game_.BackColor));
  }
  if (!drawnOnce_ || drawn_.MousePointer != game_.MousePointer) {
    if (game_.MousePointer == tesva::Pointer::kHourglass) {
      table_->setCursor(Qt::WaitCursor);
    } else {
      table_->unsetCursor();
    }
  }
  if (!drawnOnce_ || drawn_.Picture1Visible != game_.Picture1Visible) {
    rules_->Show(game_.Picture1Visible);
  }
}

// Enabled and shown as the game says at once, so that no click or key is
// lost while cards slide; the pictures follow the movement.
void GameWindow::SyncPictures() {
  for (Spot spot : kAllSpots) {
    const tesva::Picture& now = PictureAt(game_, spot);
    CardPicture* widget = PlaceWidget(spot);
    // A disabled card gives up the focus without passing it on to its
    // neighbours, which are disabled with it.
    if (!now.enabled && widget->hasFocus()) widget->clearFocus();
    if (widget->isEnabled() != now.enabled) widget->setEnabled(now.enabled);
    if (widget->isHidden() == now.visible) widget->setVisible(now.visible);
  }
  ShowPictures();

  // The human's cards lie in the game's order, all under the hover frame.
  if (!drawnOnce_ || drawn_.ZOrder != game_.ZOrder) {
    for (int index : game_.ZOrder) humanCards_[index - 1]->stackUnder(hoverFrame_);
  }
  keys_->Refocus(focusWidget() != nullptr);
}

// Each place shows the game's picture, or while cards slide the picture
// the movement gives it.
void GameWindow::ShowPictures() {
  const TablePictures* moving = motion_->Showing();
  for (Spot spot : kAllSpots) {
    const std::string& picture = moving ? At(*moving, spot) : PictureAt(game_, spot).picture;
    PlaceWidget(spot)->SetPicture(QString::fromStdString(picture));
  }
  ShowPileEdges();
}

// A place that shows no card shows no edges either; the cards the edges
// stand for are the game's.
void GameWindow::ShowPileEdges() {
  piles_->ShowEdges(game_, motion_ ? motion_->ShowingCaptions() : nullptr);
}

// A screen reader names every card place in Turkish; the names follow the
// game (the deck's name is its count, so it changes with Label8).
void GameWindow::SyncAccessibleNames() {
  for (Spot spot : kAllSpots) {
    if (spot == Spot::kDeck) continue;  // named after its caption (ShowCaptions)
    auto [element, index] = ElementOf(spot);
    QString text = QString::fromStdString(play_->AccessibleName(game_, element, index));
    QWidget* widget = PlaceWidget(spot);
    if (widget->accessibleName() != text) widget->setAccessibleName(text);
  }
}

// The captions a move changes show the game's text once its cards have
// landed; whether a caption can be clicked follows the game at once.
void GameWindow::ShowCaptions() {
  captions_->Show(game_, motion_->ShowingCaptions());
  // The deck's name to a screen reader is the count it shows.
  QString deck = captions_->Widget(Caption::kDeck)->Caption();
  if (PlaceWidget(Spot::kDeck)->accessibleName() != deck) {
    PlaceWidget(Spot::kDeck)->setAccessibleName(deck);
  }
}

void GameWindow::SyncLabels() {
  ShowCaptions();
  captions_->ShowTracker(game_, drawn_, !drawnOnce_);
}

void GameWindow::SyncLists() {
  lists_->Show(game_, drawn_);
}

void GameWindow::SyncHoverFrame() {
  if (drawnOnce_ && drawn_.Shape1 == game_.Shape1) return;
  hoverFrame_->move(ToPixels(game_.Shape1.left), ToPixels(game_.Shape1.top));
  hoverFrame_->setVisible(game_.Shape1.visible);
}

void GameWindow::SyncMenus() {
  menus_->Sync(game_);
}

void GameWindow::SyncTimers() {
  timers_->Sync(game_);
}

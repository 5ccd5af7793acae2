// The window's drawing of the game: after every event the widgets take the
// game's elements, as far as the cards sliding across the table allow, and
// only what changed is drawn again.
#include <QListWidget>
#include <QTimer>

#include "engine/cards.h"

#include "shell/card_names.h"
#include "window/game_window/game_window.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel.h"
#include "window/table/table_elements.h"

namespace {

// Starts, stops or re-times a timer to match the game's; a running timer
// given a new interval starts counting it at once.
void SyncTimer(QTimer* timer, const tesva::Timer& now) {
  if (timer->interval() != now.interval) timer->setInterval(now.interval);
  if (now.enabled && !timer->isActive()) timer->start();
  if (!now.enabled && timer->isActive()) timer->stop();
}

}  // namespace

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
    if (game_.Picture1Visible && !rulesPanel_) CreateRulesPanel();
    if (rulesPanel_) rulesPanel_->setVisible(game_.Picture1Visible);
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
  // Once the hand can be played again, the focus is back on it, next to
  // the card played last.
  if (focusCard_ && !focusWidget()) FocusHandCard(focusCard_, 0, Qt::OtherFocusReason);
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
  for (const Pile& pile : piles_) {
    CardPicture* top = PlaceWidget(pile.spot);
    int cards = top->ShowsCard() ? tesva::PileCount(game_, ElementOf(pile.spot).name) : 0;
    // While a deal slides, the deck is as thick as its caption still says.
    const TableCaptions* moving = motion_ ? motion_->ShowingCaptions() : nullptr;
    if (pile.spot == Spot::kDeck && moving && top->ShowsCard()) {
      cards = tesva::DeckCountIn(At(*moving, Caption::kDeck).caption).value_or(cards);
    }
    pile.edges->Follow(top->geometry(), cards);
  }
}

// A screen reader names every card place in Turkish; the names follow the
// game (the deck's name is its count, so it changes with Label8).
void GameWindow::SyncAccessibleNames() {
  for (Spot spot : kAllSpots) {
    if (spot == Spot::kDeck) continue;  // named after its caption (ShowCaptions)
    auto [element, index] = ElementOf(spot);
    QString text = QString::fromStdString(tesva::AccessibleName(game_, element, index));
    QWidget* widget = PlaceWidget(spot);
    if (widget->accessibleName() != text) widget->setAccessibleName(text);
  }
}

void GameWindow::ShowLabel(TableLabel* widget, const tesva::Label& now,
                           const tesva::Label& before) {
  if (drawnOnce_ && now == before) return;
  // A hidden element tells a screen reader nothing: its text is there
  // only while it is shown.
  widget->SetCaption(now.visible ? QString::fromStdString(now.caption) : QString());
  widget->setEnabled(now.enabled);
  widget->setVisible(now.visible);
}

TableLabel* GameWindow::CaptionWidget(Caption caption) const {
  switch (caption) {
    case Caption::kStatus:
      return status_;
    case Caption::kBase:
      return baseCaption_;
    case Caption::kHandNumber:
      return handNumber_;
    case Caption::kDeck:
      return deckCaption_;
    case Caption::kHumanName:
      return humanName_;
    case Caption::kComputerName:
      break;
  }
  return computerName_;
}

// The captions a move changes show the game's text once its cards have
// landed; whether a caption can be clicked follows the game at once.
void GameWindow::ShowCaptions() {
  const TableCaptions* moving = motion_->ShowingCaptions();
  for (Caption caption : kAllCaptions) {
    const tesva::Label& now = LabelAt(game_, caption);
    const tesva::Label& shown = moving ? At(*moving, caption) : now;
    TableLabel* widget = CaptionWidget(caption);
    QString text = QString::fromStdString(shown.caption);
    if (widget->Caption() != text) widget->SetCaption(text);
    if (widget->isEnabled() != now.enabled) widget->setEnabled(now.enabled);
    if (widget->isHidden() == shown.visible) widget->setVisible(shown.visible);
  }
  // The status line's text ends before the hand number over its right end.
  int room = status_->width();
  if (handNumber_->isVisible() && !handNumber_->Caption().isEmpty()) {
    room = handNumber_->x() - status_->x();
  }
  status_->SetRoom(room);
  // The deck's name to a screen reader is the count it shows.
  if (PlaceWidget(Spot::kDeck)->accessibleName() != deckCaption_->Caption()) {
    PlaceWidget(Spot::kDeck)->setAccessibleName(deckCaption_->Caption());
  }
}

void GameWindow::SyncLabels() {
  ShowCaptions();
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    ShowLabel(tracker_[rank - 1], game_.Cikanlar(rank), drawn_.Cikanlar(rank));
  }
}

void GameWindow::ShowList(QListWidget*& widget, std::string_view name, const tesva::TextList& now,
                          const tesva::TextList& before) {
  bool fresh = !widget;
  if (fresh) {
    if (!now.visible) return;
    widget = CreateList(name);
  } else if (now == before) {
    return;
  }
  // A hidden list holds nothing a screen reader could read.
  if (!now.visible) {
    widget->clear();
  } else if (fresh || now.items != before.items || !before.visible) {
    widget->clear();
    for (const std::string& item : now.items) widget->addItem(QString::fromStdString(item));
  }
  widget->setVisible(now.visible);
}

void GameWindow::SyncLists() {
  ShowList(deckList_, "List1", game_.List1, drawn_.List1);
  ShowList(computerHandList_, "List2", game_.List2, drawn_.List2);
}

void GameWindow::SyncHoverFrame() {
  if (drawnOnce_ && drawn_.Shape1 == game_.Shape1) return;
  hoverFrame_->move(ToPixels(game_.Shape1.left), ToPixels(game_.Shape1.top));
  hoverFrame_->setVisible(game_.Shape1.visible);
}

// Menus are compared with the actions themselves, not with the last drawn
// copy: a checkable action flips its own check mark when chosen, and the
// game's mark must win.
void GameWindow::SyncMenus() {
  for (const MenuAction& menu : menuActions_) {
    const tesva::MenuItem& item = game_.*(menu.entry->item);
    QString caption = QString::fromStdString(item.caption);
    if (menu.action->text() != caption) menu.action->setText(caption);
    // Only a checked item is checkable, so an unchecked one shows no box.
    if (menu.action->isCheckable() != item.checked) menu.action->setCheckable(item.checked);
    if (menu.action->isChecked() != item.checked) menu.action->setChecked(item.checked);
    if (menu.action->isEnabled() != item.enabled) menu.action->setEnabled(item.enabled);
  }
}

void GameWindow::SyncTimers() {
  if (FriendRunning()) {
    timer1_->stop();
    timer2_->stop();
    return;
  }
  SyncTimer(timer1_, game_.Timer1);
  SyncTimer(timer2_, game_.Timer2);
}

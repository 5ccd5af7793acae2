// The table's size "Masa büyüklüğü": 100, 150 or 200 %, chosen under
// "Seçenekler" and kept under a key of its own beside the game's options.
// Everything on the table follows: places, captions, fonts, the frames,
// the sliding cards, the announcements and the panels. The menu bar and
// the dialogs keep the desktop's size.
#include <QActionGroup>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "engine/engine.h"
#include "window/game_window/game_window.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel.h"
#include "window/table/table_elements.h"

namespace {

QString ScaleCaption(int percent) {
  // Turkish writes the percent sign first.
  return QStringLiteral("%") + QString::number(percent);
}

}  // namespace

// After the game's own items, as the last entry of "Seçenekler": the
// game's menu bar stays as it is. Made when "Seçenekler" first opens, not
// at start-up.
void GameWindow::CreateScaleMenuLater() {
  auto* options = menuBar()->findChild<QMenu*>(QStringLiteral("mnuSecenek"));
  if (!options) return;
  connect(options, &QMenu::aboutToShow, this, [this, options] {
    if (scaleActions_.empty()) CreateScaleMenu(options);
  });
}

void GameWindow::CreateScaleMenu(QMenu* options) {
  QMenu* menu = options->addMenu(QStringLiteral("Masa büyüklüğü"));
  menu->setObjectName(QStringLiteral("mnuMasaBuyuklugu"));
  menu->menuAction()->setObjectName(QStringLiteral("mnuMasaBuyuklugu"));
  auto* group = new QActionGroup(menu);
  group->setExclusive(true);
  for (int percent : tesva::kTableScales) {
    QAction* action = menu->addAction(ScaleCaption(percent));
    action->setObjectName(QStringLiteral("mnuMasa%1").arg(percent));
    action->setCheckable(true);
    action->setChecked(percent == scale_);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, percent] { ChooseTableScale(percent); });
    scaleActions_.push_back(action);
  }
}

// The window's height at each size: the menu bar keeps its own.
std::array<int, 3> GameWindow::WindowHeights() const {
  std::array<int, 3> heights{};
  int bar = menuBar()->sizeHint().height();
  for (std::size_t i = 0; i < heights.size(); ++i) {
    heights[i] = bar + ToPixelsAt(tesva::kClientHeight, tesva::kTableScales[i] / 100.0);
  }
  return heights;
}

// The first run opens at the largest size that fits the screen and keeps
// it; later runs open at the stored size, 100 % when it is unusable, which
// the table was made at.
void GameWindow::OpenAtTableScale(bool firstRun, const std::string& stored) {
  if (!firstRun) return;
  int available = screen() ? screen()->availableGeometry().height() : 0;
  int percent = tesva::OpeningTableScale(firstRun, stored, WindowHeights(), available);
  if (!tesva::ParseTableScale(stored)) {
    tesva::WriteOption(game_, tesva::kKeyTableScale, std::to_string(percent));
  }
  if (percent != scale_) ApplyTableScale(percent);
}

void GameWindow::ChooseTableScale(int percent) {
  if (!tesva::ParseTableScale(std::to_string(percent))) return;
  tesva::WriteOption(game_, tesva::kKeyTableScale, std::to_string(percent));
  if (percent != scale_) {
    ApplyTableScale(percent);
    PlaceOnScreen();
  }
}

void GameWindow::ApplyTableScale(int percent) {
  scale_ = percent;
  for (QAction* action : scaleActions_) {
    action->setChecked(action->objectName() == QStringLiteral("mnuMasa%1").arg(percent));
  }
  // The table catches up with the game: no card is on its way to a place
  // that has just moved.
  motion_->FinishAll();
  // Pictures of the old size are not shown again; a 200 % table on a dense
  // screen holds 0.4 MB a card.
  pictures_.Clear();
  SetTableScale(percent / 100.0);
  LayOutTable();
}

// Every element of the table takes its place and font at the new size.
void GameWindow::LayOutTable() {
  table_->setFont(TableFont());  // the captions, lists and panels follow it
  table_->setFixedSize(ToPixels(tesva::kClientWidth), ToPixels(tesva::kClientHeight));
  PlaceCards();
  for (TableLabel* label :
       {computerName_, humanName_, baseCaption_, deckCaption_, status_, handNumber_}) {
    label->Relayout();
  }
  for (TableLabel* count : tracker_) count->Relayout();
  for (auto [list, name] : {std::pair{deckList_, "List1"}, {computerHandList_, "List2"}}) {
    if (list) list->setGeometry(ToPixels(*tesva::FindPlace(name)));
  }
  motion_->setGeometry(table_->rect());
  // The rules panel is made again at the new size when it is next shown.
  if (rulesPanel_) {
    bool shown = rulesPanel_->isVisible();
    delete rulesPanel_;
    rulesPanel_ = nullptr;
    if (shown) {
      CreateRulesPanel();
      rulesPanel_->show();
      rulesPanel_->raise();
    }
  }
  story_->Relayout();
  keeper_->Sync();
  ShowCaptions();  // the status line's room ends at the hand number's new place
}

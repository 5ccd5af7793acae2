// The table's size "Masa büyüklüğü": 100, 150 or 200 %, chosen under
// "Seçenekler" and kept under a key of its own beside the game's options.
// Everything on the table follows: places, captions, fonts, the frames,
// the sliding cards, the announcements and the panels. The menu bar and
// the dialogs keep the desktop's size.
#include <QMenuBar>
#include <QScreen>

#include "engine/engine.h"
#include "window/game_window/game_window.h"
#include "window/menus/scale_menu.h"
#include "window/platform/window_placement.h"
#include "window/record/record_keeper.h"
#include "window/story/table_story.h"
#include "window/table/caption_labels.h"
#include "window/table/motion_layer.h"
#include "window/table/rules_panel_place.h"
#include "window/table/table_fonts.h"
#include "window/table/table_lists.h"
#include "window/table/table_surface.h"
#include "window/table/table_units.h"

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
    PlaceOnScreen(this);
  }
}

void GameWindow::ApplyTableScale(int percent) {
  scale_ = percent;
  scaleMenu_->Check(percent);
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
  captions_->Relayout();
  lists_->Relayout();
  motion_->setGeometry(table_->rect());
  rules_->Relayout();
  story_->Relayout();
  keeper_->Sync();
  ShowCaptions();  // the status line's room ends at the hand number's new place
}

// The table's captions: both players' names, the status line with the hand
// number over its right end, the base's and the deck's captions, and the
// tracker's counters (one per rank, seen only in watch mode).
#pragma once

#include <QObject>
#include <array>

#include "engine/game_state.h"
#include "motion/table_motion.h"

class QWidget;
class TableLabel;

class CaptionLabels : public QObject {
  Q_OBJECT

 public:
  // Made on `table` over what lies on it already.
  explicit CaptionLabels(QWidget* table);

  // The captions show `game`'s text, or while cards slide the text of
  // `moving`; whether a caption can be clicked follows the game at once.
  void Show(const tesva::Game& game, const TableCaptions* moving);
  // The tracker's counters that differ from `drawn`, or all of them.
  void ShowTracker(const tesva::Game& game, const tesva::Form& drawn, bool all);
  // Every caption takes its place again at the table's size.
  void Relayout();
  TableLabel* Widget(Caption caption) const;

 signals:
  void humanNameClicked();
  void computerNameClicked();

 private:
  TableLabel* status_ = nullptr;       // Label1
  TableLabel* baseCaption_ = nullptr;  // Label2, "Taban"
  TableLabel* handNumber_ = nullptr;   // Label7
  TableLabel* deckCaption_ = nullptr;  // Label8
  TableLabel* humanName_ = nullptr;
  TableLabel* computerName_ = nullptr;
  std::array<TableLabel*, tesva::kRanks> tracker_{};  // Cikanlar
};

// The table's two hidden lists: List1, the deck, and List2, the computer's
// hand, seen only in watch mode. Each is made the first time it is shown:
// most games never show a list, and neither is needed for the first paint.
#pragma once

#include <QObject>
#include <string_view>

#include "engine/game_state.h"

class QListWidget;
class QWidget;

class TableLists : public QObject {
  Q_OBJECT

 public:
  // On `table`, under `over` (the hover frame) when made late.
  TableLists(QWidget* table, QWidget* over);

  // The lists show `game`'s items where they differ from `drawn`.
  void Show(const tesva::Game& game, const tesva::Form& drawn);
  // Each list takes its place again at the table's size.
  void Relayout();

 private:
  QListWidget* Create(std::string_view name);
  void Show(QListWidget*& widget, std::string_view name, const tesva::TextList& now,
            const tesva::TextList& before);

  QWidget* table_;
  QWidget* over_;
  QListWidget* deck_ = nullptr;          // List1
  QListWidget* computerHand_ = nullptr;  // List2
};

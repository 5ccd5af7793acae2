#include "window/table/table_lists.h"

#include <QListWidget>

#include "shell/main_window.h"
#include "window/table/table_units.h"

namespace {

QRect PlaceOf(std::string_view element) {
  return ToPixels(*tesva::FindPlace(element));
}

}  // namespace

TableLists::TableLists(QWidget* table, QWidget* over)
    : QObject(table), table_(table), over_(over) {}

QListWidget* TableLists::Create(std::string_view name) {
  auto* list = new QListWidget(table_);
  list->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  list->setGeometry(PlaceOf(name));
  list->setAttribute(Qt::WA_NoMousePropagation);
  // Tab and the arrow keys stay among the hand cards.
  list->setFocusPolicy(Qt::NoFocus);
  list->stackUnder(over_);
  return list;
}

void TableLists::Show(const tesva::Game& game, const tesva::Form& drawn) {
  Show(deck_, "List1", game.List1, drawn.List1);
  Show(computerHand_, "List2", game.List2, drawn.List2);
}

void TableLists::Show(QListWidget*& widget, std::string_view name, const tesva::TextList& now,
                      const tesva::TextList& before) {
  bool fresh = !widget;
  if (fresh) {
    if (!now.visible) return;
    widget = Create(name);
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

void TableLists::Relayout() {
  for (auto [list, name] : {std::pair{deck_, "List1"}, {computerHand_, "List2"}}) {
    if (list) list->setGeometry(PlaceOf(name));
  }
}

#include "window/table/rules_panel_place.h"

#include "window/table/rules_panel.h"

RulesPanelPlace::RulesPanelPlace(QWidget* table) : QObject(table), table_(table) {}

void RulesPanelPlace::Create() {
  panel_ = new RulesPanel(table_);
  connect(panel_, &RulesPanel::okClicked, this, &RulesPanelPlace::okClicked);
}

void RulesPanelPlace::Show(bool shown) {
  if (shown && !panel_) Create();
  if (panel_) panel_->setVisible(shown);
}

void RulesPanelPlace::Relayout() {
  if (!panel_) return;
  bool shown = panel_->isVisible();
  delete panel_;
  panel_ = nullptr;
  if (!shown) return;
  Create();
  panel_->show();
  panel_->raise();
}

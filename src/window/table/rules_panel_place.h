// The rules panel's place on the table: the panel is made the first time
// the game shows it (it is not needed for the first paint), over
// everything, and made again at a new table size.
#pragma once

#include <QObject>

class QWidget;
class RulesPanel;

class RulesPanelPlace : public QObject {
  Q_OBJECT

 public:
  explicit RulesPanelPlace(QWidget* table);
  void Show(bool shown);
  // Made again at the table's size when it is shown, else when next shown.
  void Relayout();

 signals:
  void okClicked();

 private:
  void Create();

  QWidget* table_;
  RulesPanel* panel_ = nullptr;  // Picture1
};

// The rules panel: a navy board over the middle of the table with the
// game's rules and points, closed by its "Ok" button.
#pragma once

#include <QFrame>

class QPushButton;

class RulesPanel : public QFrame {
  Q_OBJECT
 public:
  explicit RulesPanel(QWidget* parent = nullptr);

  QPushButton* OkButton() const { return ok_; }

 signals:
  void okClicked();

 private:
  void CreateTexts();
  void CreateOkButton();

  QPushButton* ok_ = nullptr;
};

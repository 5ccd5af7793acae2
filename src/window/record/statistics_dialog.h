// "İstatistikler": the record's table per level, with "Sıfırla" to clear it
// after a Yes/No question, and "Kapat".
#pragma once

#include <QDialog>

#include "record/record.h"

class QPushButton;
class QTableWidget;

class StatisticsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit StatisticsDialog(QWidget* parent);

  // Fills the table with the record's rows.
  void Show(const tesva::record::Record& record);
  QTableWidget* Table() const { return table_; }
  QPushButton* ResetButton() const { return reset_; }

 signals:
  // "Sıfırla" answered Yes.
  void resetAsked();

 private:
  void AskReset();

  QTableWidget* table_ = nullptr;
  QPushButton* reset_ = nullptr;
};

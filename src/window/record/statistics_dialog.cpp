#include "window/record/statistics_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StatisticsDialog::StatisticsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Istatistikler"));
  setWindowTitle(QStringLiteral("İstatistikler"));
  table_ = new QTableWidget(this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

  auto* buttons = new QDialogButtonBox(this);
  reset_ = buttons->addButton(QStringLiteral("Sıfırla"), QDialogButtonBox::ResetRole);
  QPushButton* close = buttons->addButton(QStringLiteral("Kapat"), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  connect(reset_, &QPushButton::clicked, this, &StatisticsDialog::AskReset);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
}

void StatisticsDialog::Show(const tesva::record::Record& record) {
  auto rows = tesva::record::StatisticsRows(record);
  const auto& heading = rows.front();
  table_->setRowCount(static_cast<int>(rows.size()) - 1);
  table_->setColumnCount(static_cast<int>(heading.size()) - 1);
  QStringList columns;
  for (std::size_t c = 1; c < heading.size(); ++c) columns << ToQt(heading[c]);
  table_->setHorizontalHeaderLabels(columns);
  QStringList items;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    items << ToQt(rows[r][0]);
    for (std::size_t c = 1; c < rows[r].size(); ++c) {
      auto* cell = new QTableWidgetItem(ToQt(rows[r][c]));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c) - 1, cell);
    }
  }
  table_->setVerticalHeaderLabels(items);
  // The whole table in view, no scrolling.
  table_->resizeColumnsToContents();
  int width = table_->verticalHeader()->width() + 2 * table_->frameWidth();
  for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
  int height = table_->horizontalHeader()->height() + 2 * table_->frameWidth();
  for (int r = 0; r < table_->rowCount(); ++r) height += table_->rowHeight(r);
  table_->setFixedSize(width, height);
}

void StatisticsDialog::AskReset() {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Tesva"),
                  QStringLiteral("Bütün istatistikler silinsin mi?"),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::No);
  if (box.exec() == QMessageBox::Yes) emit resetAsked();
}

#include "window/story/story_panels.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/card_names.h"
#include "shell/main_window.h"
#include "window/table/table_elements.h"

namespace {

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

// A navy board with white text, like the rules panel.
void Dress(QFrame* panel) {
  panel->setAutoFillBackground(true);
  panel->setFrameStyle(QFrame::Box | QFrame::Plain);
  panel->setLineWidth(1);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ToColor(tesva::kNavy));
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::white);
  panel->setPalette(palette);
}

QLabel* Text(QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new QLabel(parent);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setTextFormat(Qt::PlainText);
  return label;
}

// A line too long for `width` breaks after the last comma that lets its
// first part fit, so that the parts of the record stay whole ("…, seri 0,
// en uzun seri 1" never leaves a lone "1" below).
QString BreakAtComma(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  for (qsizetype at = text.lastIndexOf(QStringLiteral(", ")); at > 0;
       at = text.lastIndexOf(QStringLiteral(", "), at - 1)) {
    QString first = text.left(at + 1);
    if (metrics.horizontalAdvance(first) <= width) return first + '\n' + text.mid(at + 2);
  }
  return text;
}

}  // namespace

QString PointsText(int points) {
  return points > 0 ? QStringLiteral("+%1").arg(points) : QStringLiteral("–");
}

// --- HandPanel ---------------------------------------------------------------

HandPanel::HandPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("handPanel"));
  Dress(this);
  // It tells, it does not take: clicks pass to the table under it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* column = new QVBoxLayout(this);
  title_ = Text(this, Qt::AlignHCenter);
  QPalette pink = title_->palette();
  pink.setColor(QPalette::WindowText, ToColor(tesva::kPink));
  title_->setPalette(pink);
  column->addWidget(title_);
  grid_ = new QGridLayout;
  grid_->setColumnStretch(0, 1);
  column->addLayout(grid_);
  leftOver_ = Text(this);
  leftOver_->setWordWrap(true);
  column->addWidget(leftOver_);
  column->addStretch();
  FitToFont();
}

// The title, the margins and the gaps follow the table's size; the cells
// take the panel's font as it comes.
void HandPanel::FitToFont() {
  QFont bold = font();
  bold.setBold(true);
  bold.setPointSizeF(font().pointSizeF() * 1.2);
  title_->setFont(bold);
  layout()->setContentsMargins(Scaled(8), Scaled(6), Scaled(8), Scaled(6));
  layout()->setSpacing(Scaled(4));
  grid_->setHorizontalSpacing(Scaled(10));
  grid_->setVerticalSpacing(Scaled(1));
}

void HandPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) FitToFont();
  QFrame::changeEvent(event);
}

void HandPanel::Refit() {
  if (isVisible()) Show(summary_, humanName_, computerName_);
}

void HandPanel::AddRow(const QString& heading, const QString& human, const QString& computer,
                       bool bold) {
  // Only the weight is the cell's own: its size follows the panel's.
  QFont font;
  font.setBold(bold);
  int column = 0;
  for (const QString& text : {heading, human, computer}) {
    QLabel* cell = Text(this, column == 0 ? Qt::AlignLeft : Qt::AlignRight);
    cell->setFont(font);
    cell->setText(text);
    grid_->addWidget(cell, rows_, column++);
    // Shown at once, not with the next frame, so that the board's height
    // counts it.
    cell->show();
  }
  ++rows_;
}

void HandPanel::Show(const tesva::HandSummary& summary, const QString& humanName,
                     const QString& computerName) {
  handNo_ = summary.handNo;
  summary_ = summary;
  humanName_ = humanName;
  computerName_ = computerName;
  while (QLayoutItem* item = grid_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  rows_ = 0;
  title_->setText(QStringLiteral("%1. El bitti").arg(summary.handNo));
  // The names are cut to the column, the whole name in the tooltip.
  auto name = [this](const QString& whole) {
    return fontMetrics().elidedText(whole, Qt::ElideRight, width() / 3);
  };
  AddRow(QString(), name(humanName), name(computerName), true);
  const tesva::SeatSummary& human = summary.human;
  const tesva::SeatSummary& computer = summary.computer;
  AddRow(QStringLiteral("Alınan kağıt"), QString::number(human.cardsTaken),
         QString::number(computer.cardsTaken));
  AddRow(QStringLiteral("Kağıt fazlası"), PointsText(human.majorityPoints),
         PointsText(computer.majorityPoints));
  AddRow(QStringLiteral("Kağıt puanları"), PointsText(human.cardPoints),
         PointsText(computer.cardPoints));
  for (const tesva::Take& take : summary.takes) {
    if (!take.tesva) continue;
    QString points = PointsText(take.points);
    bool mine = take.seat == tesva::Seat::kHuman;
    AddRow(QStringLiteral("Tesva: %1").arg(ToQt(tesva::CardName(take.card))),
           mine ? points : QString(), mine ? QString() : points);
  }
  AddRow(QStringLiteral("El puanı"), PointsText(human.handPoints), PointsText(computer.handPoints),
         true);
  AddRow(QStringLiteral("Toplam"), QString::number(human.total), QString::number(computer.total),
         true);
  QStringList cards;
  for (const std::string& card : summary.floor) cards << ToQt(tesva::CardName(card));
  leftOver_->setText(cards.isEmpty()
                         ? QStringLiteral("Yerde kağıt kalmadı.")
                         : QStringLiteral("Yerde kalan, kimseye: %1").arg(cards.join(", ")));
  setToolTip(humanName + QStringLiteral(" – ") + computerName);
  show();
  raise();
}

std::vector<QStringList> HandPanel::Rows() const {
  std::vector<QStringList> rows{{title_->text()}};
  for (int row = 0; row < rows_; ++row) {
    QStringList cells;
    for (int column = 0; column < 3; ++column) {
      QLayoutItem* item = grid_->itemAtPosition(row, column);
      cells << (item ? static_cast<QLabel*>(item->widget())->text() : QString());
    }
    rows.push_back(cells);
  }
  return rows;
}

QString HandPanel::LeftOver() const {
  return leftOver_->text();
}

// --- GameEndPanel ------------------------------------------------------------

GameEndPanel::GameEndPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("gameEndPanel"));
  Dress(this);
  auto* column = new QVBoxLayout(this);
  result_ = Text(this, Qt::AlignHCenter);
  QPalette pink = result_->palette();
  pink.setColor(QPalette::WindowText, ToColor(tesva::kPink));
  result_->setPalette(pink);
  totals_ = Text(this, Qt::AlignHCenter);
  extra_ = Text(this, Qt::AlignHCenter);
  // The record's line is longer than the panel is wide: it wraps.
  extra_->setWordWrap(true);
  extra_->setObjectName(QStringLiteral("gameEndRecord"));
  extra_->hide();
  newGame_ = new QPushButton(QStringLiteral("Yeni Oyun"), this);
  newGame_->setObjectName(QStringLiteral("gameEndNewGame"));
  connect(newGame_, &QPushButton::clicked, this, &GameEndPanel::newGameClicked);
  column->addWidget(result_);
  column->addWidget(totals_);
  column->addWidget(extra_);
  column->addWidget(newGame_, 0, Qt::AlignHCenter);
  FitToFont();
}

// The button's frame and padding are the style's, at the desktop's size:
// the button grows as a whole, from its size on the 100 % table.
void GameEndPanel::FitButton() {
  QPushButton plain(newGame_->text());
  plain.setFont(WindowFont());
  QSize at100 = plain.sizeHint();
  newGame_->setMinimumSize(Scaled(at100.width()), Scaled(at100.height()));
}

void GameEndPanel::FitToFont() {
  FitButton();
  QFont big = font();
  big.setBold(true);
  big.setPointSizeF(font().pointSizeF() * 1.5);
  result_->setFont(big);
  layout()->setContentsMargins(Scaled(8), Scaled(6), Scaled(8), Scaled(6));
  layout()->setSpacing(Scaled(3));
}

void GameEndPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) FitToFont();
  QFrame::changeEvent(event);
}

void GameEndPanel::Refit() {
  if (isVisible()) Show(Result(), Totals());
}

void GameEndPanel::Show(const QString& result, const QString& totals) {
  // A long name is cut with "…"; the whole line stays in the tooltip.
  int room = width() - 20;
  result_->setText(result_->fontMetrics().elidedText(result, Qt::ElideRight, room));
  result_->setToolTip(result);
  result_->setAccessibleName(result);
  totals_->setText(totals_->fontMetrics().elidedText(totals, Qt::ElideMiddle, room));
  totals_->setToolTip(totals);
  totals_->setAccessibleName(totals);
  extra_->setText(BreakAtComma(extra_->toolTip(), extra_->fontMetrics(), room));
  // A wrapped record line makes the panel taller than its place: it grows
  // upwards, over the empty floor, and never over the name below it.
  QRect place = geometry();
  int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(place.width())
                                             : layout()->totalSizeHint().height();
  if (needed > place.height()) {
    setGeometry(place.x(), place.bottom() + 1 - needed, place.width(), needed);
  }
  show();
  raise();
}

void GameEndPanel::SetExtraLine(const QString& text) {
  extra_->setText(text);
  extra_->setToolTip(text);
  extra_->setVisible(!text.isEmpty());
}

QString GameEndPanel::Result() const {
  return result_->toolTip();
}

QString GameEndPanel::Totals() const {
  return totals_->toolTip();
}

QString GameEndPanel::ExtraLine() const {
  return extra_->toolTip();
}

#include "window/table/caption_labels.h"

#include "shell/main_window.h"
#include "window/table/table_label.h"
#include "window/table/table_units.h"

namespace {

// Only the enabled look takes the colour; a disabled caption greys as usual.
void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Active, QPalette::WindowText, color);
  palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
  widget->setPalette(palette);
}

// The grey status line in bold, otherwise the table's font at whatever
// size the table has.
void MakeStatusLine(TableLabel* status) {
  QFont bold;
  bold.setBold(true);
  status->setFont(bold);
  status->setFrameStyle(QFrame::Box | QFrame::Plain);
  status->setLineWidth(1);
  status->setAutoFillBackground(true);
  QPalette grey = status->palette();
  grey.setColor(QPalette::Window, ToColor(tesva::kLightGrey));
  grey.setColor(QPalette::WindowText, ToColor(tesva::kNavy));
  status->setPalette(grey);
}

}  // namespace

CaptionLabels::CaptionLabels(QWidget* table) : QObject(table) {
  using Fit = TableLabel::Fit;
  auto caption = [table](std::string_view name, const tesva::Place& place, Qt::Alignment align,
                         Fit fit) {
    auto* label = new TableLabel(place, align, fit, table);
    label->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return label;
  };
  auto placeOf = [](std::string_view name) { return *tesva::FindPlace(name); };

  computerName_ = caption("Player2_Name", placeOf("Player2_Name"), Qt::AlignHCenter, Fit::kText);
  humanName_ = caption("Player1_Name", placeOf("Player1_Name"), Qt::AlignHCenter, Fit::kText);
  baseCaption_ = caption("Label2", placeOf("Label2"), Qt::AlignHCenter, Fit::kText);
  deckCaption_ = caption("Label8", placeOf("Label8"), Qt::AlignHCenter, Fit::kPlace);
  for (TableLabel* label : {computerName_, humanName_, baseCaption_, deckCaption_}) {
    SetTextColor(label, Qt::white);
  }
  for (TableLabel* name : {computerName_, humanName_}) name->setCursor(Qt::PointingHandCursor);
  connect(humanName_, &TableLabel::clicked, this, &CaptionLabels::humanNameClicked);
  connect(computerName_, &TableLabel::clicked, this, &CaptionLabels::computerNameClicked);

  // The tracker: plain opaque counters, one per rank, seen only in watch mode.
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    auto* count = caption("", tesva::CikanlarPlace(rank), Qt::AlignLeft, Fit::kPlace);
    count->setObjectName(QStringLiteral("Cikanlar(%1)").arg(rank));
    count->setAutoFillBackground(true);
    tracker_[rank - 1] = count;
  }

  status_ = caption("Label1", placeOf("Label1"), Qt::AlignLeft, Fit::kPlace);
  MakeStatusLine(status_);
  // Label7 stands over the right end of the status line.
  handNumber_ = caption("Label7", placeOf("Label7"), Qt::AlignRight, Fit::kText);
}

TableLabel* CaptionLabels::Widget(Caption caption) const {
  switch (caption) {
    case Caption::kStatus:
      return status_;
    case Caption::kBase:
      return baseCaption_;
    case Caption::kHandNumber:
      return handNumber_;
    case Caption::kDeck:
      return deckCaption_;
    case Caption::kHumanName:
      return humanName_;
    case Caption::kComputerName:
      break;
  }
  return computerName_;
}

void CaptionLabels::Show(const tesva::Game& game, const TableCaptions* moving) {
  for (Caption caption : kAllCaptions) {
    const tesva::Label& now = LabelAt(game, caption);
    const tesva::Label& shown = moving ? At(*moving, caption) : now;
    TableLabel* widget = Widget(caption);
    QString text = QString::fromStdString(shown.caption);
    if (widget->Caption() != text) widget->SetCaption(text);
    if (widget->isEnabled() != now.enabled) widget->setEnabled(now.enabled);
    if (widget->isHidden() == shown.visible) widget->setVisible(shown.visible);
  }
  // The status line's text ends before the hand number over its right end.
  int room = status_->width();
  if (handNumber_->isVisible() && !handNumber_->Caption().isEmpty()) {
    room = handNumber_->x() - status_->x();
  }
  status_->SetRoom(room);
}

void CaptionLabels::ShowTracker(const tesva::Game& game, const tesva::Form& drawn, bool all) {
  for (int rank = 1; rank <= tesva::kRanks; ++rank) {
    const tesva::Label& now = game.Cikanlar(rank);
    if (!all && now == drawn.Cikanlar(rank)) continue;
    TableLabel* widget = tracker_[rank - 1];
    // A hidden element tells a screen reader nothing: its text is there
    // only while it is shown.
    widget->SetCaption(now.visible ? QString::fromStdString(now.caption) : QString());
    widget->setEnabled(now.enabled);
    widget->setVisible(now.visible);
  }
}

void CaptionLabels::Relayout() {
  for (TableLabel* label :
       {computerName_, humanName_, baseCaption_, deckCaption_, status_, handNumber_}) {
    label->Relayout();
  }
  for (TableLabel* count : tracker_) count->Relayout();
}

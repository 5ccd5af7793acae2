#include "window/table/table_label.h"

#include <QMouseEvent>
#include <algorithm>
#include <limits>

#include "story/story_texts.h"
#include "window/platform/core_text.h"
#include "window/table/table_units.h"

TableLabel::TableLabel(const tesva::Place& place, Qt::Alignment alignment, Fit fit, QWidget* parent)
    : QLabel(parent), twips_(place), place_(ToPixels(place)), fit_(fit) {
  setAlignment(alignment | Qt::AlignVCenter);
  setGeometry(place_);
  // A move over a caption is not a move over the table's background.
  setAttribute(Qt::WA_NoMousePropagation);
}

void TableLabel::SetCaption(const QString& caption) {
  caption_ = caption;
  if (fit_ == Fit::kText) {
    setText(caption);
    FitToText();
  }
  ShowText();
}

void TableLabel::SetRoom(int pixels) {
  if (room_ == pixels) return;
  room_ = pixels;
  ShowText();
}

void TableLabel::Relayout() {
  place_ = ToPixels(twips_);
  setGeometry(place_);
  if (fit_ == Fit::kText) {
    setText(caption_);
    FitToText();
  }
  ShowText();
}

void TableLabel::ShowText() {
  // A label sized to its text has room for it unless given less.
  int own = fit_ == Fit::kText ? std::numeric_limits<int>::max() : contentsRect().width();
  int room = std::min(room_ > 0 ? room_ - 2 * frameWidth() : own, own) - 2 * margin();
  QString shown = fontMetrics().horizontalAdvance(caption_) <= room
                      ? caption_
                      : ElideAtWord(fontMetrics(), caption_, room);
  if (text() != shown) setText(shown);
  QString whole = shown == caption_ ? QString() : caption_;
  if (toolTip() != whole) setToolTip(whole);
  if (accessibleName() != caption_) setAccessibleName(caption_);
}

QString ElideAtWord(const QFontMetrics& metrics, const QString& text, int width) {
  const QString ellipsis = ToQt(tesva::story::kEllipsis);
  if (metrics.horizontalAdvance(text) <= width) return text;
  for (qsizetype end = text.lastIndexOf(u' '); end > 0; end = text.lastIndexOf(u' ', end - 1)) {
    QString head = text.left(end);
    while (head.endsWith(u' ') || head.endsWith(u'-')) head.chop(1);
    if (!head.trimmed().isEmpty() && metrics.horizontalAdvance(head + ellipsis) <= width) {
      return head + ellipsis;
    }
  }
  return metrics.elidedText(text, Qt::ElideRight, width);
}

void TableLabel::FitToText() {
  QSize text = sizeHint();
  int left = place_.left();
  if (alignment() & Qt::AlignHCenter) left += (place_.width() - text.width()) / 2;
  if (alignment() & Qt::AlignRight) left += place_.width() - text.width();
  setGeometry(left, place_.top(), text.width(), text.height());
}

void TableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

#include "window/table/hint_frame.h"

#include <QPainter>

#include "window/table/table_units.h"

HintFrame::HintFrame(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("HintFrame"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HintFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  double width = 2 * TableScale();
  QPen pen(QColor(0, 190, 255), width);  // sky blue, apart from the frame's pale yellow
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  double inset = width / 2;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

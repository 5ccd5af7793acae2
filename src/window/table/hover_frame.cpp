#include "window/table/hover_frame.h"

#include <QPainter>

#include "shell/main_window.h"
#include "window/table/table_units.h"

HoverFrame::HoverFrame(QWidget* parent) : QWidget(parent) {
  // The card under the frame takes the clicks and moves, not the frame.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  FitCard();
}

void HoverFrame::FitCard() {
  resize(ToPixels(tesva::kCardWidth) + 1, ToPixels(tesva::kCardHeight) + 1);
}

void HoverFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  double width = 2 * TableScale();
  QPen pen(ToColor(tesva::kFrameColour), width);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  // The line lies inside the frame's own rectangle.
  double inset = width / 2;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

#include "window/table/pile_edges.h"

#include <QPainter>
#include <algorithm>

PileEdges::PileEdges(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

int PileEdges::EdgesFor(int cards) {
  return tesva::story::PileEdges(cards);
}

// Two pixels an edge on a card 64 pixels wide, more on larger cards.
int PileEdges::Step() const {
  return std::max(1, card_.width() / 32);
}

void PileEdges::Follow(const QRect& card, int cards) {
  int edges = EdgesFor(cards);
  if (edges == edges_ && card.size() == card_ && pos() == card.topLeft()) return;
  edges_ = edges;
  card_ = card.size();
  setGeometry(QRect(card.topLeft(), card.size() + QSize(kMaxEdges * Step(), 0)));
  setVisible(edges_ > 0);
  update();
}

// Back to front: the lowest card's edge lies farthest to the right.
void PileEdges::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(96, 96, 96), 1));
  painter.setBrush(QColor(246, 246, 240));
  qreal radius = card_.width() / 14.0;
  for (int edge = edges_; edge >= 1; --edge) {
    QRectF place(edge * Step(), 0, card_.width(), card_.height());
    painter.drawRoundedRect(place.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  }
}

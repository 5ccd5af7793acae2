#pragma once

#include <QRect>
#include <QWidget>

#include "story/pile_depth.h"

// The edges of the cards under a pile's top card, drawn beside it as a real
// pile shows them: one thin edge for every few cards, so that one card
// alone and a thick pile are told apart at a glance.
class PileEdges : public QWidget {
  Q_OBJECT
 public:
  explicit PileEdges(QWidget* parent = nullptr);
  // The most edges drawn, and the cards each edge stands for.
  static constexpr int kMaxEdges = tesva::story::kMaxPileEdges;
  static constexpr int kCardsPerEdge = tesva::story::kCardsPerPileEdge;
  // The edges a pile of `cards` shows: none for one card, one for 2 to 6,
  // one more for every five more, at most kMaxEdges (a whole deck's edges
  // still fit beside it in the window).
  static int EdgesFor(int cards);

  // Lies under the top card at `card` and shows the edges of `cards`.
  void Follow(const QRect& card, int cards);
  int Edges() const { return edges_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int Step() const;
  QSize card_;
  int edges_ = 0;
};

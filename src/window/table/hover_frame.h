#pragma once

#include <QWidget>

// The frame that marks the hand card under the mouse: the size of a card
// and one pixel more.
class HoverFrame : public QWidget {
  Q_OBJECT
 public:
  explicit HoverFrame(QWidget* parent = nullptr);
  // A card's size and one pixel more, at the table's size.
  void FitCard();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

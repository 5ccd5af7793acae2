#pragma once

#include "window/table/card_picture.h"

// A card of the human's hand: to the keyboard and to a screen reader a
// button that plays the card, as a click does. Tab and the arrow keys reach
// it, Space or Return asks to play it, and a mark on the card shows the
// focus while the window says the keyboard is in use.
class HandCard : public CardPicture {
  Q_OBJECT
 public:
  HandCard(PictureCache& cache, int index, QWidget* parent = nullptr);

  int Index() const { return index_; }
  // Plays the card, as a click does, when it can be played: a screen
  // reader's press comes here.
  void Press();
  // Whether the focused card shows the keyboard's mark.
  void ShowKeyboardMark(bool shown);
  bool KeyboardMarkShown() const { return markShown_ && hasFocus(); }

 signals:
  // Left (-1) or Right (+1): the focus goes to the next playable card.
  void focusStep(int step);
  void focusTaken(Qt::FocusReason reason);
  // Tab or Backtab, whether or not the focus can move on.
  void tabPressed();
  // Space or Return on the card.
  void keyPlay();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  int index_;
  bool markShown_ = false;
};

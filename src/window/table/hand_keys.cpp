#include "window/table/hand_keys.h"

#include "engine/engine.h"
#include "window/table/hand_card.h"

HandKeys::HandKeys(const tesva::Game& game, std::function<void(const Handler&, bool)> handle,
                   std::function<void(int)> play, QObject* parent)
    : QObject(parent), game_(game), handle_(std::move(handle)), play_(std::move(play)) {}

void HandKeys::Add(HandCard* card) {
  int i = card->Index();
  cards_[i - 1] = card;
  connect(card, &CardPicture::hovered, this, [this, i] { Hover(i); });
  connect(card, &HandCard::focusStep, this, [this, i](int step) {
    UseKeys(true);
    Focus(i, step);
  });
  connect(card, &HandCard::tabPressed, this, [this] { UseKeys(true); });
  connect(card, &HandCard::focusTaken, this,
          [this, i](Qt::FocusReason reason) { CardFocused(i, reason); });
  connect(card, &HandCard::keyPlay, this, [this, i] { KeyPlay(i); });
}

void HandKeys::Refocus(bool focused) {
  if (focusCard_ && !focused) Focus(focusCard_, 0, Qt::OtherFocusReason);
}

void HandKeys::Hover(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  UseKeys(false);
  cards_[index - 1]->setFocus(Qt::MouseFocusReason);
  handle_([index](tesva::Game& g) { tesva::Player1_Kart_MouseMove(g, index); }, true);
}

void HandKeys::Mark(int index) {
  if (!game_.Player1_Kart(index).enabled) return;
  if (Framed(index)) return;
  // The game frames no card twice in a row, not even a card dealt again
  // after it was played: as the mouse would, the mark passes over the
  // cloth first.
  handle_(
      [index](tesva::Game& g) {
        tesva::Form_MouseMove(g);
        tesva::Player1_Kart_MouseMove(g, index);
      },
      true);
}

bool HandKeys::Framed(int index) const {
  return game_.Shape1.visible && game_.HoverActive && game_.HoverIndex == index;
}

void HandKeys::CardFocused(int index, Qt::FocusReason reason) {
  focusCard_ = index;
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) keysUsed_ = true;
  UseKeys(keysUsed_);
  if (!keysUsed_) return;
  // After the focus event is done: the focus may move while the window is
  // drawing the game, which must not start another event inside it.
  QMetaObject::invokeMethod(
      this,
      [this, index] {
        if (keysUsed_ && cards_[index - 1]->hasFocus()) Mark(index);
      },
      Qt::QueuedConnection);
}

void HandKeys::KeyPlay(int index) {
  if (keysUsed_ || Framed(index)) {
    play_(index);
    return;
  }
  UseKeys(true);
  Mark(index);
}

void HandKeys::UseKeys(bool keys) {
  keysUsed_ = keys;
  for (HandCard* card : cards_) card->ShowKeyboardMark(keys);
}

void HandKeys::Focus(int from, int step, Qt::FocusReason reason) {
  auto playable = [this](int i) {
    return i >= 1 && i <= tesva::kHandSize && game_.Player1_Kart(i).enabled;
  };
  int to = 0;
  if (step != 0) {
    for (int i = from + step; i >= 1 && i <= tesva::kHandSize && !to; i += step) {
      if (playable(i)) to = i;
    }
  } else {
    for (int distance = 0; distance < tesva::kHandSize && !to; ++distance) {
      if (playable(from - distance)) to = from - distance;
      if (playable(from + distance)) to = from + distance;  // the right-hand one first
    }
  }
  if (to) cards_[to - 1]->setFocus(reason);
}

// The keyboard on the player's hand. Tab and the arrow keys move the focus
// among the playable cards, Space or Return plays the marked card; the
// focus mark shows while the keyboard was used last, and the card the
// keyboard reaches is framed as the mouse would frame it, so that focus and
// frame are on the same card.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "engine/game_state.h"

class HandCard;

class HandKeys : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(tesva::Game&)>;
  // `handle` runs a handler of the game (a mouse move when its flag is
  // set); `play` plays a hand card as a click does.
  HandKeys(const tesva::Game& game, std::function<void(const Handler&, bool)> handle,
           std::function<void(int)> play, QObject* parent);

  // Follows the keys and the mouse on hand card card->Index().
  void Add(HandCard* card);
  // The keyboard (true) or the mouse (false) was used last.
  void UseKeys(bool keys);
  // Once the hand can be played again, the focus is back on it, next to
  // the card played last, unless `focused` holds it already.
  void Refocus(bool focused);

 private:
  // The mouse over hand card `index`: the hover frame and the focus go there.
  void Hover(int index);
  // Marks hand card `index` for the keyboard as the mouse would: the game
  // raises it and frames it.
  void Mark(int index);
  // Whether the game's hover frame is on hand card `index`.
  bool Framed(int index) const;
  // Moves the focus to the next playable hand card from card `from` in the
  // direction of `step`, or for step 0 to the nearest one.
  void Focus(int from, int step, Qt::FocusReason reason = Qt::TabFocusReason);
  void CardFocused(int index, Qt::FocusReason reason);
  // Space or Return on hand card `index`: plays it when it is marked, by
  // the focus mark or the hover frame; otherwise shows the mark first.
  void KeyPlay(int index);

  const tesva::Game& game_;
  std::function<void(const Handler&, bool)> handle_;
  std::function<void(int)> play_;
  std::array<HandCard*, tesva::kHandSize> cards_{};
  // The hand card that last had the keyboard focus, 1 to 4; 0 before any.
  int focusCard_ = 0;
  // The keyboard was used after the mouse: the focus mark is shown.
  bool keysUsed_ = false;
};

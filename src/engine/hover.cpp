// The hover frame around the human's hand card under the mouse.
#include <algorithm>

#include "engine/engine.h"

namespace tesva {
namespace {

void BringToFront(Game& g, int index) {
  auto& order = g.ZOrder;
  auto it = std::find(order.begin(), order.end(), index);
  std::rotate(it, it + 1, order.end());
}

}  // namespace

void Player1_Kart_MouseMove(Game& g, int index) {
  if (index < 1 || index > kHandSize || !g.Player1_Kart(index).enabled) return;
  // Moves within the marked card change nothing.
  if (g.HoverActive && index == g.HoverIndex) return;
  g.Shape1.left = kHumanCardLeftOf(index);
  g.Shape1.top = kHumanCardTop;
  g.Shape1.visible = true;
  BringToFront(g, index);
  g.HoverActive = true;
  g.HoverIndex = static_cast<std::int16_t>(index);
}

void Form_MouseMove(Game& g) {
  if (!g.HoverActive) return;
  // Raising the cards in index order restores the overlap: card 4 in front.
  for (int i = 1; i <= kHandSize; ++i) BringToFront(g, i);
  g.Shape1.visible = false;
  g.HoverActive = false;
}

}  // namespace tesva

// How thick a pile looks: the edges of the cards under its top card, one
// thin edge for every few cards, so that one card alone and a thick pile
// are told apart at a glance. Every table draws as many edges as this says.
#pragma once

#include <algorithm>

namespace tesva::story {

// The most edges drawn (a whole deck's edges still fit beside it), and the
// cards each edge stands for.
inline constexpr int kMaxPileEdges = 7;
inline constexpr int kCardsPerPileEdge = 5;

// None for one card, one for 2 to 6, one more for every five more.
constexpr int PileEdges(int cards) {
  if (cards <= 1) return 0;
  return std::min(kMaxPileEdges, 1 + (cards - 2) / kCardsPerPileEdge);
}

}  // namespace tesva::story

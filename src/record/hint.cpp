#include "record/hint.h"

#include "cpu/usta.h"

namespace tesva::record {
namespace {

// FNV-1a, 64 bits: a plain, well-spread hash of a few hundred bytes.
struct Hash {
  std::uint64_t value = 14695981039346656037ULL;
  void Add(std::string_view bytes) {
    for (char c : bytes) {
      value ^= static_cast<unsigned char>(c);
      value *= 1099511628211ULL;
    }
    Add(static_cast<std::int64_t>(bytes.size()));  // "K1","3" differs from "K13"
  }
  void Add(std::int64_t number) {
    for (int i = 0; i < 8; ++i) {
      value ^= static_cast<std::uint64_t>(number >> (8 * i)) & 0xFF;
      value *= 1099511628211ULL;
    }
  }
};

}  // namespace

std::uint64_t HintSeed(const SeatView& v) {
  Hash h;
  for (const auto& card : v.hand) h.Add(card);
  for (int position : v.positions) h.Add(position);
  h.Add(v.opponentCards);
  h.Add(v.baseCard);
  h.Add(v.baseOnFloor);
  h.Add(v.topCard);
  h.Add(v.floorCount);
  for (const auto& play : v.plays) {
    h.Add(play.card);
    h.Add(play.seat == Seat::kHuman);
    h.Add(play.captured);
  }
  for (int number : {v.ownScore, v.opponentScore, v.ownTaken, v.opponentTaken, v.handNo,
                     v.handsPerGame, v.deckLeft}) {
    h.Add(number);
  }
  h.Add(v.ownDeal);
  // 53 bits, as the master's own seed is drawn: the hint is then exactly the
  // move the master makes for this view after a draw of seed / 2^53.
  return h.value & ((std::uint64_t{1} << 53) - 1);
}

int HintSlot(const SeatView& view, int search) {
  if (view.hand.empty()) return 0;
  int index = UstaDecide(view, HintSeed(view), search);
  return view.positions.at(static_cast<std::size_t>(index));
}

bool HintAvailable(const Game& g) {
  for (const auto& card : g.Player1_Kart) {
    if (card.enabled) return true;
  }
  return false;
}

}  // namespace tesva::record

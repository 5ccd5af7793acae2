#include "browser/browser_hint.h"

#include "cpu/seat_view.h"
#include "record/hint.h"
#include "record/hint_position.h"

namespace tesva {

nlohmann::json BrowserHint::Ask(const Game& game) {
  if (!record::HintAvailable(game) || slot_ != 0 || pending_) return nullptr;
  pending_ = true;
  nlohmann::json position = record::HintPositionJson(ViewOf(game, Seat::kHuman), game.UstaSearch);
  position["generation"] = generation_;
  return position;
}

bool BrowserHint::Found(int generation, int slot) {
  if (generation != generation_ || slot < 1 || slot > kHandSize) return false;
  pending_ = false;
  slot_ = slot;
  return true;
}

void BrowserHint::AfterEvent(bool mouseMove) {
  if (mouseMove) return;
  slot_ = 0;
  ++generation_;
  pending_ = false;
}

int BrowserHint::Marked(const Game& game) const {
  bool marked = slot_ != 0 && record::HintAvailable(game) && game.Player1_Kart(slot_).enabled;
  return marked ? slot_ : 0;
}

}  // namespace tesva

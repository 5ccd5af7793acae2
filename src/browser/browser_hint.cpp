#include "browser/browser_hint.h"

#include "browser/seat_view_json.h"
#include "cpu/seat_view.h"
#include "record/hint.h"

namespace tesva {

nlohmann::json BrowserHint::Ask(const Game& game) {
  if (!record::HintAvailable(game) || slot_ != 0 || pending_) return nullptr;
  pending_ = true;
  return {{"generation", generation_},
          {"search", game.UstaSearch},
          {"view", SeatViewJson(ViewOf(game, Seat::kHuman))}};
}

bool BrowserHint::Found(int generation, int slot) {
  if (generation != generation_ || slot < 1 || slot > kHandSize) return false;
  pending_ = false;
  slot_ = slot;
  used_ = true;
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

int HintSlotIn(std::string_view position) {
  nlohmann::json data = nlohmann::json::parse(position, nullptr, false);
  if (!data.is_object() || !data.contains("view") || !data.contains("search")) return 0;
  const nlohmann::json& search = data["search"];
  if (!search.is_number_integer() || search.get<int>() < 1 || search.get<int>() > kUstaFullSearch)
    return 0;
  auto view = SeatViewFromJson(data["view"].dump());
  if (!view || view->seat != Seat::kHuman) return 0;
  return record::HintSlot(*view, search.get<int>());
}

}  // namespace tesva

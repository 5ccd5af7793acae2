// The hint's position reader against any text: it refuses it, or reads a
// view that it writes back to the same view, in which the master finds one
// of the view's own hand slots.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "record/hint.h"
#include "record/hint_position.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tesva;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto view = record::SeatViewFromJson(text);
  if (!view) return 0;
  if (record::SeatViewFromJson(record::SeatViewJson(*view).dump()) != view) std::abort();
  // A small search: the reader's checks, not the master's strength, are tried.
  int slot = record::HintSlot(*view, 2);
  bool own =
      std::find(view->positions.begin(), view->positions.end(), slot) != view->positions.end();
  if (view->hand.empty() ? slot != 0 : !own) std::abort();
  return 0;
}

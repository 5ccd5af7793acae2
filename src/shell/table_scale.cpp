// The table's size: reading the stored choice and the first run's pick.
#include <algorithm>

#include "shell/main_window.h"

namespace tesva {

std::optional<int> ParseTableScale(std::string_view text) {
  // Only the three texts the window writes: no blanks, signs or leading
  // zeros, so that a hand-edited "0150" or "150 " is not taken for 150.
  for (int scale : kTableScales) {
    if (text == std::to_string(scale)) return scale;
  }
  return std::nullopt;
}

int FittingTableScale(const std::array<int, 3>& windowHeights, int availableHeight) {
  int chosen = kTableScales.front();
  for (std::size_t i = 0; i < kTableScales.size(); ++i) {
    // 4 * height <= 3 * available, in 64 bits: no rounding, no overflow.
    auto height = static_cast<long long>(windowHeights[i]);
    if (height > 0 && 4 * height <= 3 * static_cast<long long>(availableHeight)) {
      chosen = std::max(chosen, kTableScales[i]);
    }
  }
  return chosen;
}

int OpeningTableScale(bool firstRun, std::string_view stored,
                      const std::array<int, 3>& windowHeights, int availableHeight) {
  if (auto scale = ParseTableScale(stored)) return *scale;
  return firstRun ? FittingTableScale(windowHeights, availableHeight) : kDefaultTableScale;
}

std::string TableScaleCaption(int percent) {
  return "%" + std::to_string(percent);
}

}  // namespace tesva

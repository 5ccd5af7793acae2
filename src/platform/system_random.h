// The random source of the real program: one generator, seeded once from
// the clock when the program starts.
#pragma once

#include <chrono>
#include <random>

#include "platform/platform.h"

namespace tesva {

class SystemRandom : public RandomSource {
 public:
  SystemRandom()
      : engine_(static_cast<std::uint64_t>(
                    std::chrono::steady_clock::now().time_since_epoch().count()) ^
                std::random_device{}()) {}
  double Uniform() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  FastEngine engine_;
};

}  // namespace tesva

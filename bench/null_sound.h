// A sound player that plays nothing: the benchmarks time the game alone.
#pragma once

#include <string>

#include "platform/platform.h"

namespace tesva {

class NullSound : public SoundPlayer {
 public:
  void Play(const std::string&) override {}
};

}  // namespace tesva

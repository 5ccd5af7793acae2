// Random sources for tests: always seeded, and the seed printed so that a
// failure can be replayed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

namespace tesva {

// A generator seeded with `seed`, said on the test's output and in its
// report; TESVA_TEST_SEED overrides it to replay a failure seen elsewhere.
inline std::mt19937_64 Seeded(std::uint64_t seed) {
  if (const char* replay = std::getenv("TESVA_TEST_SEED")) seed = std::stoull(replay);
  std::cout << "[ seed     ] " << seed << '\n';
  testing::Test::RecordProperty("seed", std::to_string(seed));
  return std::mt19937_64(seed);
}

}  // namespace tesva

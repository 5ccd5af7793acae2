// What both tables of a game between two programs show alike: each side is
// the other's opponent, so the seats' facts are mirrored.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"

namespace tesva {

// Scores, cards taken and held, the deck, the floor, the plays seen and
// the hand number; the first fact that differs is named. Usable in
// EXPECT_TRUE and as the condition of a wait.
inline testing::AssertionResult MirroredPublicFacts(const Game& host, const Game& guest) {
  auto differ = [](const char* fact, const auto& a, const auto& b) {
    return testing::AssertionFailure() << fact << ": host " << testing::PrintToString(a)
                                       << ", guest " << testing::PrintToString(b);
  };
#define TESVA_MIRRORED(hostFact, guestFact) \
  if (host.hostFact != guest.guestFact) return differ(#hostFact, host.hostFact, guest.guestFact)
  TESVA_MIRRORED(HandNo, HandNo);
  TESVA_MIRRORED(HandsPerGame, HandsPerGame);
  TESVA_MIRRORED(Player1_Score, Player2_Score);
  TESVA_MIRRORED(Player2_Score, Player1_Score);
  TESVA_MIRRORED(Player1_CardsTaken, Player2_CardsTaken);
  TESVA_MIRRORED(Player2_CardsTaken, Player1_CardsTaken);
  TESVA_MIRRORED(Player1_CardsLeft, Player2_CardsLeft);
  TESVA_MIRRORED(Player2_CardsLeft, Player1_CardsLeft);
  TESVA_MIRRORED(DeckPos, DeckPos);
  TESVA_MIRRORED(TopCard, TopCard);
  TESVA_MIRRORED(BaseCard, BaseCard);
  TESVA_MIRRORED(FloorCount, FloorCount);
  TESVA_MIRRORED(FloorPoints, FloorPoints);
  TESVA_MIRRORED(Seen.plays.size(), Seen.plays.size());
#undef TESVA_MIRRORED
  return testing::AssertionSuccess();
}

}  // namespace tesva

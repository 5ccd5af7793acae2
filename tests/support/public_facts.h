// What both tables of a game between two programs show alike: each side is
// the other's opponent, so the seats' facts are mirrored.
#pragma once

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace tesva {

// Scores, cards taken and held, the deck, the floor and the hand number.
inline void ExpectMirroredPublicFacts(const Game& host, const Game& guest) {
  EXPECT_EQ(host.HandNo, guest.HandNo);
  EXPECT_EQ(host.HandsPerGame, guest.HandsPerGame);
  EXPECT_EQ(host.Player1_Score, guest.Player2_Score);
  EXPECT_EQ(host.Player2_Score, guest.Player1_Score);
  EXPECT_EQ(host.Player1_CardsTaken, guest.Player2_CardsTaken);
  EXPECT_EQ(host.Player2_CardsTaken, guest.Player1_CardsTaken);
  EXPECT_EQ(host.Player1_CardsLeft, guest.Player2_CardsLeft);
  EXPECT_EQ(host.Player2_CardsLeft, guest.Player1_CardsLeft);
  EXPECT_EQ(host.DeckPos, guest.DeckPos);
  EXPECT_EQ(host.TopCard, guest.TopCard);
  EXPECT_EQ(host.BaseCard, guest.BaseCard);
  EXPECT_EQ(host.FloorCount, guest.FloorCount);
  EXPECT_EQ(host.FloorPoints, guest.FloorPoints);
  EXPECT_EQ(host.Seen.plays.size(), guest.Seen.plays.size());
}

}  // namespace tesva

// One hand of the game in a compact form, for playing hands out fast: the
// same capture, tesva, scoring, dealing and settlement rules as the game,
// on cards numbered 0 to 51. The master level plays thousands of these per
// move; a test plays the game and this model side by side.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/cards.h"
#include "platform/platform.h"

namespace tesva {

// Card number, as CardIdOf gives it: suit index times 13 plus rank minus 1.
using CardId = std::int8_t;
inline constexpr int kNoRank = 0;
inline constexpr int kJack = 11;
inline constexpr int kAce = 1;

inline constexpr int RankOf(int card) {
  return card % kRanks + 1;
}
int PointsOf(int card);
int TesvaValue(int rank);

// Seats in the model: 0 the human, 1 the computer.
inline constexpr int kHumanSeat = 0;
inline constexpr int kComputerSeat = 1;

struct HandModel {
  std::array<std::array<CardId, kHandSize>, 2> hand{};
  std::array<std::int8_t, 2> held{};
  std::array<CardId, kDeckSize - kFloorCards> deck{};  // the undealt cards, in dealing order
  std::int8_t deckNext = 0, deckEnd = 0;
  std::int8_t floorCount = 0, topRank = kNoRank;
  std::int16_t floorPoints = 0;
  std::array<std::int16_t, 2> taken{}, gained{};  // cards and points this hand
  // Cards of each rank seen face up by both players: the base card and every
  // card played.
  std::array<std::int8_t, kRanks + 1> seen{};
  std::int8_t toMove = 0, dealer = 0;
  bool over = false;

  // A hand as the game starts it from a whole deck in dealing order: four
  // floor cards (the first face up) and the first deal.
  static HandModel Start(const std::array<CardId, kDeckSize>& order, int dealer);
  // Deals four cards to each player, the non-dealer first, who then moves.
  void Deal();
  // The player to move plays its card at `index`; the next deal or the
  // settlement follows when both hands are empty.
  void Play(int index);
  bool Captures(int card) const {
    int rank = RankOf(card);
    return floorCount != 0 && (rank == kJack || rank == topRank);
  }
};

// What the player to move knows, for the one-move rules below.
struct Outlook {
  const CardId* hand;
  int held;
  int floorCount, floorPoints, topRank;
  int opponentHeld;
  int deckLeft;
  int unseen;  // cards this player has not seen
  std::array<std::int8_t, kRanks + 1> unseenOfRank;
};
// The rule player's card: the index in `hand` of the card with the best
// one-move value (a tesva first, a capture of points, a jack kept for a big
// floor, a discard of a rank the opponent is least likely to match).
int RuleChoice(const Outlook& o);
// The outlook of the player to move in a model hand.
Outlook OutlookOf(const HandModel& m);
// How a play-out takes the opponent to play: by the rule player's one-move
// rules, or carelessly: the first card that takes the floor, else any card
// but a jack at random (as the game's two simpler levels do).
enum class Style { kRules, kCareless };
int CarelessChoice(const HandModel& m, FastEngine& engine);
// Plays the rest of the current deal, `me` by the rules and the other seat
// in `opponent`'s style; stops as the next deal is made or the hand settled.
void PlayOutDeal(HandModel& m, int me, Style opponent, FastEngine& engine);
// A uniform whole number below n.
inline int Below(FastEngine& engine, int n) {
  return static_cast<int>(((engine() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
}

}  // namespace tesva

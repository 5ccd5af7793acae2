// One hand's deal between two programs, as the game between them needs it.
//
// The game asks a deal for four things: to agree on a deck order that
// neither side chose alone (a few setup messages, alternating), to let the
// other side read the cards at some deck positions (its hand, a card both
// see), to read what the other side has let it read, and, when the hand
// ends, to reveal everything and check that the whole hand was honest.
// Every payload is opaque to the game: the deal writes and parses its own
// bytes and says what was wrong with a peer's.
//
// Positions are indices into the hand's deck in dealing order, 0 to 51: 0 is
// the face-up base card, 1 to 3 the face-down floor cards, then four cards
// each, six times.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "net/bytes.h"
#include "net/faults.h"

namespace tesva::net {

enum class Role;

class HandDeal {
 public:
  virtual ~HandDeal() = default;

  // The setup is a short exchange, one message at a time.
  virtual bool SetupDone() const = 0;
  virtual bool OurSetupTurn() const = 0;
  virtual Bytes MakeSetup() = 0;
  virtual std::optional<Failure> TakeSetup(ByteView payload) = 0;

  // What lets the other side read the cards at `positions`, and the same
  // taken from the other side, once the setup is done.
  virtual Bytes MakeShares(std::span<const int> positions) = 0;
  virtual std::optional<Failure> TakeShares(std::span<const int> positions, ByteView payload) = 0;
  // The card at `position` as this side knows it: "" until it may be read.
  virtual std::string Card(int position) const = 0;

  // At the hand's end: what proves this side's part, and the check of the
  // other side's against everything the hand has seen. After a good check
  // every card may be read.
  virtual Bytes MakeReveal() = 0;
  virtual std::optional<Failure> TakeReveal(ByteView payload) = 0;
};

// Makes a fresh deal for hand `hand` of a game, on one side.
using DealMaker = std::function<std::unique_ptr<HandDeal>(Role role, int hand)>;

}  // namespace tesva::net

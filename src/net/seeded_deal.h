// A deal both sides seed together: the host commits to a random nonce, the
// guest answers with its own, the host opens its nonce, and the deck is a
// Fisher-Yates shuffle driven by a hash of both. Neither side can choose or
// steer the order, but both programs can compute all of it: it keeps the
// game honest about play, not secret about cards. It stands in until the
// deal by commutative encryption (keys, shuffles and decryption shares) takes
// its place behind the same HandDeal, and it lets the game between two
// programs be built and tested meanwhile; Card() still answers "" for a card
// its side may not read, so the game above never learns one.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "net/hand_deal.h"
#include "net/link.h"

namespace tesva::net {

class SeededDeal : public HandDeal {
 public:
  SeededDeal(Role role, int hand);
  ~SeededDeal() override;

  bool SetupDone() const override { return step_ == 3; }
  bool OurSetupTurn() const override;
  Bytes MakeSetup() override;
  std::optional<Failure> TakeSetup(ByteView payload) override;
  Bytes MakeShares(std::span<const int> positions) override;
  std::optional<Failure> TakeShares(std::span<const int> positions, ByteView payload) override;
  std::string Card(int position) const override;
  Bytes MakeReveal() override;
  std::optional<Failure> TakeReveal(ByteView payload) override;

 private:
  void MakeDeck();

  Role role_;
  int hand_;
  int step_ = 0;  // setup messages exchanged
  std::array<std::uint8_t, 32> ourNonce_{};
  std::array<std::uint8_t, 32> hostNonce_{};
  std::array<std::uint8_t, 32> guestNonce_{};
  std::array<std::uint8_t, 32> hostCommitment_{};
  std::vector<std::string> deck_;
  std::array<bool, 52> readable_{};
};

}  // namespace tesva::net

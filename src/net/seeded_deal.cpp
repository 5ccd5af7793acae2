#include "net/seeded_deal.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

#include "engine/cards.h"

namespace tesva::net {
namespace {

constexpr std::string_view kCommitLabel = "tesva/deal/nonce-commitment";
constexpr std::string_view kSeedLabel = "tesva/deal/seed";

void Commit(std::uint8_t (&out)[32], const std::array<std::uint8_t, 32>& nonce, int hand) {
  const std::uint8_t handBytes[2] = {static_cast<std::uint8_t>(hand >> 8),
                                     static_cast<std::uint8_t>(hand)};
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, sizeof out);
  crypto_generichash_update(&state, ViewOf(kCommitLabel).data(), kCommitLabel.size());
  crypto_generichash_update(&state, handBytes, sizeof handBytes);
  crypto_generichash_update(&state, nonce.data(), nonce.size());
  crypto_generichash_final(&state, out, sizeof out);
}

}  // namespace

SeededDeal::SeededDeal(Role role, int hand) : role_(role), hand_(hand) {
  randombytes_buf(ourNonce_.data(), ourNonce_.size());
}

SeededDeal::~SeededDeal() {
  sodium_memzero(ourNonce_.data(), ourNonce_.size());
}

bool SeededDeal::OurSetupTurn() const {
  // host: commitment, guest: nonce, host: nonce
  if (SetupDone()) return false;
  return (step_ % 2 == 0) == (role_ == Role::kHost);
}

Bytes SeededDeal::MakeSetup() {
  Bytes out;
  if (step_ == 0) {
    std::uint8_t commitment[32];
    Commit(commitment, ourNonce_, hand_);
    out.assign(commitment, commitment + 32);
  } else {
    out.assign(ourNonce_.begin(), ourNonce_.end());
    (role_ == Role::kHost ? hostNonce_ : guestNonce_) = ourNonce_;
  }
  ++step_;
  if (SetupDone()) MakeDeck();
  return out;
}

std::optional<Failure> SeededDeal::TakeSetup(ByteView payload) {
  if (payload.size() != 32) return MakeFailure(Fault::kDeal, "karıştırma mesajı bozuk");
  if (step_ == 0) {
    std::copy(payload.begin(), payload.end(), hostCommitment_.begin());
  } else if (step_ == 1) {
    std::copy(payload.begin(), payload.end(), guestNonce_.begin());
  } else {
    std::copy(payload.begin(), payload.end(), hostNonce_.begin());
    std::uint8_t expected[32];
    Commit(expected, hostNonce_, hand_);
    if (sodium_memcmp(expected, hostCommitment_.data(), 32) != 0) {
      return MakeFailure(Fault::kDeal, "karşı tarafın karıştırma sayısı önceden bildirdiği değil");
    }
  }
  ++step_;
  if (SetupDone()) MakeDeck();
  return std::nullopt;
}

void SeededDeal::MakeDeck() {
  std::uint8_t seed[randombytes_SEEDBYTES];
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, sizeof seed);
  crypto_generichash_update(&state, ViewOf(kSeedLabel).data(), kSeedLabel.size());
  crypto_generichash_update(&state, hostNonce_.data(), hostNonce_.size());
  crypto_generichash_update(&state, guestNonce_.data(), guestNonce_.size());
  crypto_generichash_final(&state, seed, sizeof seed);
  // 64 random bits for each swap: the modulo bias is below 2^-58.
  std::uint8_t stream[52 * 8];
  randombytes_buf_deterministic(stream, sizeof stream, seed);
  sodium_memzero(seed, sizeof seed);
  deck_.clear();
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 1; rank <= kRanks; ++rank) deck_.push_back(CardCode(suit, rank));
  }
  for (int i = 51; i > 0; --i) {
    std::uint64_t r = 0;
    for (int b = 0; b < 8; ++b) r = r << 8 | stream[i * 8 + b];
    std::swap(deck_[static_cast<std::size_t>(i)], deck_[r % static_cast<std::uint64_t>(i + 1)]);
  }
  sodium_memzero(stream, sizeof stream);
}

Bytes SeededDeal::MakeShares(std::span<const int>) {
  return {};
}

std::optional<Failure> SeededDeal::TakeShares(std::span<const int> positions, ByteView payload) {
  if (!SetupDone() || !payload.empty()) return MakeFailure(Fault::kDeal, "kağıt payı bozuk");
  for (int p : positions) {
    if (p < 0 || p >= 52) return MakeFailure(Fault::kDeal, "kağıt payı bozuk");
    readable_[static_cast<std::size_t>(p)] = true;
  }
  return std::nullopt;
}

std::string SeededDeal::Card(int position) const {
  if (position < 0 || position >= 52 || !readable_[static_cast<std::size_t>(position)]) return {};
  return deck_[static_cast<std::size_t>(position)];
}

Bytes SeededDeal::MakeReveal() {
  return {};
}

std::optional<Failure> SeededDeal::TakeReveal(ByteView payload) {
  if (!SetupDone() || !payload.empty()) return MakeFailure(Fault::kDeal, "el sonu açılışı bozuk");
  readable_.fill(true);
  return std::nullopt;
}

}  // namespace tesva::net

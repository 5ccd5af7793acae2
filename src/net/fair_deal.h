// The fair deal: a deck that both programs shuffle, that neither can read
// alone, and whose every card shown is proven, in the group ristretto255.
//
// Per hand:
//   - The hand id is a hash of a label, the hand number and a fresh nonce
//     from each side, so nothing carries over between hands or games. Card
//     n (0 to 51, suit by suit) is the element from_hash(H(label, id, n)):
//     no one knows a logarithm of one card to another, so a card of one's
//     own tells nothing about the rest (cards as multiples of a generator
//     would give the whole deck away).
//   - Each side has a fresh secret scalar for the hand; its public key
//     x*G is its commitment. A hash commitment or a proof of knowledge
//     first is not needed: a key is used only to check that side's own
//     decryption shares, nothing is made from both keys together (no
//     joint key for a rogue key to cancel), and a key chosen after seeing
//     the other's gains nothing, since its owner must still prove every
//     share against it; the discrete logarithm of a key is unique, so the
//     scalar revealed at the end is bound to it. The hand id's nonces come
//     one after the other, but a side that grinds its nonce only picks
//     among hash outputs, with no relation between cards it could compute.
//   - The guest (first) encrypts the 52 cards with its scalar a and
//     shuffles them; the host (second) checks 52 distinct acceptable
//     elements, none of them a card in the clear, encrypts each again with
//     its scalar b and shuffles. The result, b*a*card at each position, is
//     the deck in dealing order; the guest checks it the same way and that
//     none of its elements is one of the first deck's.
//     Neither side can steer the order: the host cannot tell the guest's
//     encrypted cards apart, and the guest's order is undone by the host's
//     shuffle.
//   - A side lets the other read position p with its share x^-1 * deck[p]
//     and a Chaum-Pedersen proof that deck[p] == x * share and key ==
//     x * G, over a transcript of the hand id, the position and the side;
//     the reader checks the proof, removes its own layer and finds one of
//     the 52 cards, or refuses the share at once. A proof made for another
//     position or hand does not check here.
//   - At the hand's end each side reveals its scalar, and the other checks
//     everything the hand has seen: the key against the scalar, the first
//     deck exactly the 52 cards under a (a permutation), the final deck
//     exactly the first under b, every share as the scalar gives it and
//     every card read at its position as the whole deck puts it there.
//
// Setup messages (fixed sizes, each byte checked before use):
//   host -> guest  nonce 32, key 32
//   guest -> host  nonce 32, key 32, first deck 52 x 32
//   host -> guest  final deck 52 x 32
// Shares: for each position asked, position u8, share 32, proof 64.
// Reveal: the scalar, 32.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "net/hand_deal.h"
#include "net/link.h"
#include "net/ristretto.h"

namespace tesva::net {

inline constexpr int kDealCards = 52;
inline constexpr std::size_t kNonceBytes = 32;
inline constexpr std::size_t kHandIdBytes = 32;
inline constexpr std::size_t kDeckBytes = kDealCards * ristretto::kElementBytes;
inline constexpr std::size_t kOpeningBytes = kNonceBytes + ristretto::kElementBytes;
inline constexpr std::size_t kFirstDeckSetupBytes = kOpeningBytes + kDeckBytes;
inline constexpr std::size_t kShareBytes = 1 + ristretto::kElementBytes + ristretto::kProofBytes;
inline constexpr std::size_t kRevealBytes = ristretto::kScalarBytes;

// What the fair deal found wrong with the other side's part, each with its
// own words for the player (after "Dağıtım denetimi başarısız: ").
enum class DealCheck {
  kMalformed,       // a payload of the wrong size or out of its turn
  kBadKey,          // a key that is not an acceptable element
  kBadElement,      // an invalid, non-canonical or identity element in a deck
  kDuplicate,       // a card twice in a deck
  kNotEncrypted,    // a deck element left as a card or as the first deck's
  kSharePosition,   // a share for another position than the one asked
  kWrongShare,      // a share whose proof does not check
  kUnreadable,      // a proven share that opens no card
  kKeyMismatch,     // a revealed scalar that is not the key's
  kNotTheCards,     // the first deck is not the 52 cards under the key
  kNotReencrypted,  // the final deck is not the first deck under the key
  kShareNotGiven,   // a share that is not what the revealed scalar gives
  kClaimed,         // a card read during the hand that the deck does not hold there
};
Failure DealFailure(DealCheck check);

using HandId = std::array<std::uint8_t, kHandIdBytes>;
using Nonce = std::array<std::uint8_t, kNonceBytes>;

HandId MakeHandId(int hand, const Nonce& hostNonce, const Nonce& guestNonce);
ristretto::Element CardElement(const HandId& id, int card);
// What a share's proof is bound to: the hand, the position and the side
// that gives it.
Bytes ShareContext(const HandId& id, int position, Role giver);

class FairDeal : public HandDeal {
 public:
  // Puts 0 to 51 in this side's order. The deal's own is a Fisher-Yates
  // shuffle from libsodium's random source; another stands for a side that
  // stacks its shuffle, or lets a test know the deck it plays.
  using Shuffler = std::function<void(std::array<int, kDealCards>& order)>;
  static void RandomShuffle(std::array<int, kDealCards>& order);

  FairDeal(Role role, int hand, Shuffler shuffler = RandomShuffle);
  ~FairDeal() override;
  FairDeal(const FairDeal&) = delete;
  FairDeal& operator=(const FairDeal&) = delete;

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
  using Deck = std::array<ristretto::Element, kDealCards>;

  void MakeCards();
  std::optional<Failure> TakeOpening(ByteView payload);
  std::optional<Failure> TakeFirstDeck(ByteView payload);
  std::optional<Failure> TakeFinalDeck(ByteView payload);
  std::optional<Failure> CheckDeck(const Deck& deck, const Deck* earlier) const;
  std::optional<Failure> CheckTheirDecks(const ristretto::Scalar& theirs,
                                         std::array<int, kDealCards>& cardAt) const;
  std::optional<Failure> CheckTheirShares(const ristretto::Scalar& theirs,
                                          const std::array<int, kDealCards>& cardAt) const;
  void Wipe();

  Role role_;
  int hand_;
  Shuffler shuffler_;
  int step_ = 0;  // setup messages exchanged
  bool revealed_ = false;
  ristretto::Scalar secret_{};
  ristretto::Scalar inverse_{};
  ristretto::Element ourKey_{};
  ristretto::Element theirKey_{};
  Nonce ourNonce_{};
  Nonce hostNonce_{};
  HandId id_{};
  Deck cards_{};  // the 52 cards' elements, by card number
  Deck first_{};  // the guest's deck
  Deck deck_{};   // the final deck, in dealing order
  // Our shuffle: the guest's first_[j] is a * cards_[order_[j]], the host's
  // deck_[p] is b * first_[order_[p]].
  std::array<int, kDealCards> order_{};
  std::array<ristretto::Element, kDealCards> theirShares_{};
  std::array<bool, kDealCards> shared_{};  // their share for the position has come
  std::array<int, kDealCards> known_{};    // card number at each position, -1 unknown
};

}  // namespace tesva::net

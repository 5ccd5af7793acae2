#include "net/fair_deal.h"

#include <algorithm>
#include <stdexcept>

#include "engine/cards.h"

namespace tesva::net {
namespace {

using ristretto::Element;
using ristretto::Scalar;

constexpr std::string_view kHandLabel = "tesva/deal/hand";
constexpr std::string_view kCardLabel = "tesva/deal/card";

struct CheckText {
  DealCheck check;
  std::string_view text;
};

constexpr std::array<CheckText, 13> kCheckTexts = {{
    {DealCheck::kMalformed, "dağıtım mesajı bozuk"},
    {DealCheck::kBadKey, "karşı tarafın dağıtım anahtarı geçersiz"},
    {DealCheck::kBadElement, "destede geçersiz bir kağıt var"},
    {DealCheck::kDuplicate, "destede aynı kağıt iki kez var"},
    {DealCheck::kNotEncrypted, "deste şifrelenmeden gönderildi"},
    {DealCheck::kSharePosition, "kağıt payı başka bir yerin"},
    {DealCheck::kWrongShare, "kağıt payı ya da kanıtı yanlış"},
    {DealCheck::kUnreadable, "okunamayan bir kağıt"},
    {DealCheck::kKeyMismatch, "açılan anahtar elin başında bildirilen anahtar değil"},
    {DealCheck::kNotTheCards, "karşı tarafın destesi 52 kağıdın kendisi değil"},
    {DealCheck::kNotReencrypted, "karşı tarafın destesi ilk destenin yeniden şifrelenmişi değil"},
    {DealCheck::kShareNotGiven, "bir kağıt payı açılan anahtarla uyuşmuyor"},
    {DealCheck::kClaimed, "el boyunca gösterilen bir kağıt destede o yerde değil"},
}};

void Put(ByteWriter& write, const Element& element) {
  write.Put(element);
}

bool Take(ByteReader& read, Element& element) {
  ByteView bytes;
  if (!read.Take(element.size(), bytes)) return false;
  std::copy(bytes.begin(), bytes.end(), element.begin());
  return true;
}

bool TakeDeck(ByteReader& read, std::array<Element, kDealCards>& deck) {
  for (auto& element : deck) {
    if (!Take(read, element)) return false;
  }
  return true;
}

// A shuffler's index, kept inside the deck whatever a stacking one gives.
std::size_t Index(int i) {
  return static_cast<std::size_t>(std::clamp(i, 0, kDealCards - 1));
}

int IndexOf(const std::array<Element, kDealCards>& elements, const Element& element) {
  auto at = std::find(elements.begin(), elements.end(), element);
  return at == elements.end() ? -1 : static_cast<int>(at - elements.begin());
}

}  // namespace

Failure DealFailure(DealCheck check) {
  for (const auto& entry : kCheckTexts) {
    if (entry.check == check) return MakeFailure(Fault::kDeal, entry.text);
  }
  return MakeFailure(Fault::kDeal);
}

HandId MakeHandId(int hand, const Nonce& hostNonce, const Nonce& guestNonce) {
  const std::uint8_t handBytes[2] = {static_cast<std::uint8_t>(hand >> 8),
                                     static_cast<std::uint8_t>(hand)};
  HandId id;
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, id.size());
  crypto_generichash_update(&state, ViewOf(kHandLabel).data(), kHandLabel.size());
  crypto_generichash_update(&state, handBytes, sizeof handBytes);
  crypto_generichash_update(&state, hostNonce.data(), hostNonce.size());
  crypto_generichash_update(&state, guestNonce.data(), guestNonce.size());
  crypto_generichash_final(&state, id.data(), id.size());
  return id;
}

Element CardElement(const HandId& id, int card) {
  std::uint8_t hash[crypto_core_ristretto255_HASHBYTES];
  const std::uint8_t number = static_cast<std::uint8_t>(card);
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, sizeof hash);
  crypto_generichash_update(&state, ViewOf(kCardLabel).data(), kCardLabel.size());
  crypto_generichash_update(&state, id.data(), id.size());
  crypto_generichash_update(&state, &number, 1);
  crypto_generichash_final(&state, hash, sizeof hash);
  return ristretto::FromHash(hash);
}

Bytes ShareContext(const HandId& id, int position, Role giver) {
  Bytes context(id.begin(), id.end());
  context.push_back(static_cast<std::uint8_t>(position));
  context.push_back(giver == Role::kHost ? 'h' : 'g');
  return context;
}

FairDeal::FairDeal(Role role, int hand, Shuffler shuffler)
    : role_(role), hand_(hand), shuffler_(std::move(shuffler)) {
  if (!ristretto::Ready()) throw std::runtime_error("libsodium cannot start");
  secret_ = ristretto::RandomScalar();
  inverse_ = ristretto::Invert(secret_);
  ourKey_ = ristretto::Public(secret_);
  randombytes_buf(ourNonce_.data(), ourNonce_.size());
  known_.fill(-1);
}

FairDeal::~FairDeal() {
  Wipe();
}

void FairDeal::Wipe() {
  sodium_memzero(secret_.data(), secret_.size());
  sodium_memzero(inverse_.data(), inverse_.size());
  sodium_memzero(ourNonce_.data(), ourNonce_.size());
  sodium_memzero(order_.data(), sizeof order_);
}

bool FairDeal::OurSetupTurn() const {
  // host: opening; guest: opening and first deck; host: final deck.
  if (SetupDone()) return false;
  return (step_ % 2 == 0) == (role_ == Role::kHost);
}

void FairDeal::MakeCards() {
  for (int n = 0; n < kDealCards; ++n) cards_[static_cast<std::size_t>(n)] = CardElement(id_, n);
}

void FairDeal::RandomShuffle(std::array<int, kDealCards>& order) {
  for (int i = 0; i < kDealCards; ++i) order[static_cast<std::size_t>(i)] = i;
  for (int i = kDealCards - 1; i > 0; --i) {
    auto j = randombytes_uniform(static_cast<std::uint32_t>(i + 1));
    std::swap(order[static_cast<std::size_t>(i)], order[j]);
  }
}

Bytes FairDeal::MakeSetup() {
  Bytes out;
  if (!OurSetupTurn()) return out;
  ByteWriter write(out);
  if (step_ == 0) {
    write.Put(ourNonce_);
    Put(write, ourKey_);
    hostNonce_ = ourNonce_;
  } else if (step_ == 1) {
    id_ = MakeHandId(hand_, hostNonce_, ourNonce_);
    write.Put(ourNonce_);
    sodium_memzero(ourNonce_.data(), ourNonce_.size());
    Put(write, ourKey_);
    MakeCards();
    shuffler_(order_);
    for (std::size_t j = 0; j < first_.size(); ++j) {
      ristretto::Multiply(secret_, cards_[Index(order_[j])], first_[j]);
      Put(write, first_[j]);
    }
  } else {
    shuffler_(order_);
    for (std::size_t p = 0; p < deck_.size(); ++p) {
      ristretto::Multiply(secret_, first_[Index(order_[p])], deck_[p]);
      Put(write, deck_[p]);
    }
  }
  ++step_;
  return out;
}

std::optional<Failure> FairDeal::TakeSetup(ByteView payload) {
  if (SetupDone() || OurSetupTurn()) return DealFailure(DealCheck::kMalformed);
  std::optional<Failure> bad;
  if (step_ == 0) {
    bad = TakeOpening(payload);
  } else if (step_ == 1) {
    bad = TakeFirstDeck(payload);
  } else {
    bad = TakeFinalDeck(payload);
  }
  if (!bad) ++step_;
  return bad;
}

std::optional<Failure> FairDeal::TakeOpening(ByteView payload) {
  ByteReader read(payload);
  ByteView nonceBytes;
  Element key;
  if (!read.Take(kNonceBytes, nonceBytes) || !Take(read, key) || !read.AtEnd()) {
    return DealFailure(DealCheck::kMalformed);
  }
  if (!ristretto::Acceptable(key)) return DealFailure(DealCheck::kBadKey);
  std::copy(nonceBytes.begin(), nonceBytes.end(), hostNonce_.begin());
  theirKey_ = key;
  return std::nullopt;
}

std::optional<Failure> FairDeal::TakeFirstDeck(ByteView payload) {
  ByteReader read(payload);
  ByteView nonceBytes;
  Element key;
  Deck deck;
  if (!read.Take(kNonceBytes, nonceBytes) || !Take(read, key) || !TakeDeck(read, deck) ||
      !read.AtEnd()) {
    return DealFailure(DealCheck::kMalformed);
  }
  if (!ristretto::Acceptable(key)) return DealFailure(DealCheck::kBadKey);
  Nonce guestNonce;
  std::copy(nonceBytes.begin(), nonceBytes.end(), guestNonce.begin());
  id_ = MakeHandId(hand_, hostNonce_, guestNonce);
  sodium_memzero(ourNonce_.data(), ourNonce_.size());
  MakeCards();
  if (auto bad = CheckDeck(deck, nullptr)) return bad;
  theirKey_ = key;
  first_ = deck;
  return std::nullopt;
}

std::optional<Failure> FairDeal::TakeFinalDeck(ByteView payload) {
  ByteReader read(payload);
  Deck deck;
  if (!TakeDeck(read, deck) || !read.AtEnd()) return DealFailure(DealCheck::kMalformed);
  if (auto bad = CheckDeck(deck, &first_)) return bad;
  deck_ = deck;
  return std::nullopt;
}

std::optional<Failure> FairDeal::CheckDeck(const Deck& deck, const Deck* earlier) const {
  for (const auto& element : deck) {
    if (!ristretto::Acceptable(element)) return DealFailure(DealCheck::kBadElement);
  }
  Deck sorted = deck;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
    return DealFailure(DealCheck::kDuplicate);
  }
  // An element that is a card, or one of the deck it should have
  // re-encrypted, would let its sender follow that card through.
  for (const auto& element : deck) {
    if (IndexOf(cards_, element) >= 0 || (earlier && IndexOf(*earlier, element) >= 0)) {
      return DealFailure(DealCheck::kNotEncrypted);
    }
  }
  return std::nullopt;
}

Bytes FairDeal::MakeShares(std::span<const int> positions) {
  Bytes out;
  if (!SetupDone()) return out;
  ByteWriter write(out);
  for (int p : positions) {
    if (p < 0 || p >= kDealCards) continue;  // the other side refuses the short payload
    const Element& target = deck_[static_cast<std::size_t>(p)];
    Element share{};
    ristretto::Multiply(inverse_, target, share);
    auto proof =
        ristretto::ProveEqualLogs(ShareContext(id_, p, role_), secret_, ourKey_, share, target);
    write.U8(static_cast<std::uint8_t>(p));
    Put(write, share);
    write.Put(proof.challenge);
    write.Put(proof.response);
  }
  return out;
}

std::optional<Failure> FairDeal::TakeShares(std::span<const int> positions, ByteView payload) {
  if (!SetupDone() || revealed_ || payload.size() != positions.size() * kShareBytes) {
    return DealFailure(DealCheck::kMalformed);
  }
  Role giver = role_ == Role::kHost ? Role::kGuest : Role::kHost;
  ByteReader read(payload);
  std::vector<std::pair<Element, int>> taken;  // share and card, by position asked
  for (std::size_t i = 0; i < positions.size(); ++i) {
    std::uint8_t position = 0;
    Element share;
    ristretto::Proof proof;
    ByteView challenge, response;
    if (!read.U8(position) || !Take(read, share) ||
        !read.Take(ristretto::kScalarBytes, challenge) ||
        !read.Take(ristretto::kScalarBytes, response)) {
      return DealFailure(DealCheck::kMalformed);
    }
    int p = positions[i];
    if (p < 0 || p >= kDealCards || position != p ||
        std::find(positions.begin(), positions.begin() + static_cast<std::ptrdiff_t>(i), p) !=
            positions.begin() + static_cast<std::ptrdiff_t>(i)) {
      return DealFailure(DealCheck::kSharePosition);
    }
    std::copy(challenge.begin(), challenge.end(), proof.challenge.begin());
    std::copy(response.begin(), response.end(), proof.response.begin());
    const Element& target = deck_[static_cast<std::size_t>(p)];
    if (!ristretto::CheckEqualLogs(ShareContext(id_, p, giver), theirKey_, share, target, proof)) {
      return DealFailure(DealCheck::kWrongShare);
    }
    Element card{};
    int number = ristretto::Multiply(inverse_, share, card) ? IndexOf(cards_, card) : -1;
    if (number < 0) return DealFailure(DealCheck::kUnreadable);
    taken.emplace_back(share, number);
  }
  // Only a payload checked whole changes what this side knows.
  for (std::size_t i = 0; i < positions.size(); ++i) {
    auto p = static_cast<std::size_t>(positions[i]);
    theirShares_[p] = taken[i].first;
    shared_[p] = true;
    known_[p] = taken[i].second;
  }
  return std::nullopt;
}

std::string FairDeal::Card(int position) const {
  if (position < 0 || position >= kDealCards) return {};
  int n = known_[static_cast<std::size_t>(position)];
  return n < 0 ? std::string() : CardCode(n / kRanks, n % kRanks + 1);
}

Bytes FairDeal::MakeReveal() {
  if (!SetupDone()) return {};
  return Bytes(secret_.begin(), secret_.end());
}

std::optional<Failure> FairDeal::TakeReveal(ByteView payload) {
  if (!SetupDone() || revealed_ || payload.size() != kRevealBytes) {
    return DealFailure(DealCheck::kMalformed);
  }
  Scalar theirs;
  std::copy(payload.begin(), payload.end(), theirs.begin());
  auto bad = [&]() -> std::optional<Failure> {
    if (!ristretto::AcceptableScalar(theirs) || ristretto::Public(theirs) != theirKey_) {
      return DealFailure(DealCheck::kKeyMismatch);
    }
    std::array<int, kDealCards> cardAt{};
    if (auto failed = CheckTheirDecks(theirs, cardAt)) return failed;
    if (auto failed = CheckTheirShares(theirs, cardAt)) return failed;
    known_ = cardAt;
    return std::nullopt;
  }();
  sodium_memzero(theirs.data(), theirs.size());
  if (bad) return bad;
  revealed_ = true;
  Wipe();
  return std::nullopt;
}

std::optional<Failure> FairDeal::CheckTheirDecks(const Scalar& theirs,
                                                 std::array<int, kDealCards>& cardAt) const {
  // Each side checks the other's part; its own it made itself.
  if (role_ == Role::kHost) {
    // The guest's deck: the 52 cards under its scalar, in some order.
    Deck encrypted;
    for (std::size_t n = 0; n < cards_.size(); ++n) {
      if (!ristretto::Multiply(theirs, cards_[n], encrypted[n])) {
        return DealFailure(DealCheck::kNotTheCards);
      }
    }
    for (std::size_t p = 0; p < deck_.size(); ++p) {
      int card = IndexOf(encrypted, first_[Index(order_[p])]);
      if (card < 0) return DealFailure(DealCheck::kNotTheCards);
      cardAt[p] = card;
    }
  } else {
    // The host's deck: the first deck under its scalar, in some order.
    Deck reencrypted;
    for (std::size_t j = 0; j < first_.size(); ++j) {
      if (!ristretto::Multiply(theirs, first_[j], reencrypted[j])) {
        return DealFailure(DealCheck::kNotReencrypted);
      }
    }
    for (std::size_t p = 0; p < deck_.size(); ++p) {
      int j = IndexOf(reencrypted, deck_[p]);
      if (j < 0) return DealFailure(DealCheck::kNotReencrypted);
      cardAt[p] = static_cast<int>(Index(order_[static_cast<std::size_t>(j)]));
    }
  }
  // Both decks hold distinct elements (checked when they came), so each
  // position found its own card: the deck is a permutation of the 52.
  return std::nullopt;
}

std::optional<Failure> FairDeal::CheckTheirShares(const Scalar& theirs,
                                                  const std::array<int, kDealCards>& cardAt) const {
  for (std::size_t p = 0; p < deck_.size(); ++p) {
    if (!shared_[p]) continue;
    Element target{};
    if (!ristretto::Multiply(theirs, theirShares_[p], target) || target != deck_[p]) {
      return DealFailure(DealCheck::kShareNotGiven);
    }
    if (known_[p] != cardAt[p]) return DealFailure(DealCheck::kClaimed);
  }
  return std::nullopt;
}

}  // namespace tesva::net

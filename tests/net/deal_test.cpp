// The fair deal on its own: an honest deal opens each card only where it
// may, and every way to cheat at the deal is caught, at once where the
// protocol can and at the reveal otherwise, with its own message.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "engine/cards.h"
#include "net/fair_deal.h"
#include "support/seeded.h"

namespace tesva::net {
namespace {

using ristretto::Element;
using ristretto::Scalar;

constexpr std::size_t kGuestDeckAt = kOpeningBytes;  // the first deck in the guest's setup

void KeepOrder(std::array<int, kDealCards>& order) {
  for (int p = 0; p < kDealCards; ++p) order[static_cast<std::size_t>(p)] = p;
}

Element ElementAt(const Bytes& payload, std::size_t at) {
  Element e;
  std::copy(payload.begin() + static_cast<std::ptrdiff_t>(at),
            payload.begin() + static_cast<std::ptrdiff_t>(at + e.size()), e.begin());
  return e;
}

void PutElement(Bytes& payload, std::size_t at, const Element& e) {
  std::copy(e.begin(), e.end(), payload.begin() + static_cast<std::ptrdiff_t>(at));
}

Element SomeElement() {
  return ristretto::Public(ristretto::RandomScalar());
}

// The host and the guest of one hand, with hooks that change a setup
// message on its way.
struct Table {
  explicit Table(FairDeal::Shuffler hostShuffle = FairDeal::RandomShuffle,
                 FairDeal::Shuffler guestShuffle = FairDeal::RandomShuffle, int hand = 1)
      : host(Role::kHost, hand, std::move(hostShuffle)),
        guest(Role::kGuest, hand, std::move(guestShuffle)) {}

  // Runs the setup; `change` may alter the message of step 0, 1 or 2.
  std::optional<Failure> Setup(int changedStep = -1, std::function<void(Bytes&)> change = {}) {
    for (int step = 0; step < 3; ++step) {
      FairDeal& from = step == 1 ? static_cast<FairDeal&>(guest) : host;
      FairDeal& to = step == 1 ? static_cast<FairDeal&>(host) : guest;
      EXPECT_TRUE(from.OurSetupTurn());
      EXPECT_FALSE(to.OurSetupTurn());
      Bytes message = from.MakeSetup();
      sent[step] = message;
      if (step == changedStep) change(message);
      if (auto bad = to.TakeSetup(message)) return bad;
    }
    return std::nullopt;
  }

  FairDeal host;
  FairDeal guest;
  Bytes sent[3];
};

std::set<std::string> Readable(const FairDeal& deal) {
  std::set<std::string> out;
  for (int p = 0; p < kDealCards; ++p)
    if (!deal.Card(p).empty()) out.insert(deal.Card(p) + "@" + std::to_string(p));
  return out;
}

TEST(FairDeal, AnHonestDealOpensEachCardOnlyWhereItMayThenAllAtTheReveal) {
  Table table;
  // Before the setup, shares, a reveal or a setup message out of turn are
  // refused.
  const int positions[] = {4};
  EXPECT_EQ(table.guest.TakeShares(positions, {}), DealFailure(DealCheck::kMalformed));
  EXPECT_EQ(table.guest.TakeReveal(Bytes(kRevealBytes, 1)), DealFailure(DealCheck::kMalformed));
  EXPECT_EQ(table.host.TakeSetup(Bytes(kOpeningBytes, 1)), DealFailure(DealCheck::kMalformed));
  ASSERT_FALSE(table.Setup());
  EXPECT_TRUE(table.host.SetupDone() && table.guest.SetupDone());
  EXPECT_EQ(table.sent[0].size(), kOpeningBytes);
  EXPECT_EQ(table.sent[1].size(), kFirstDeckSetupBytes);
  EXPECT_EQ(table.sent[2].size(), kDeckBytes);
  // Nothing is readable before a share: the deck is in neither's hands.
  EXPECT_TRUE(Readable(table.host).empty());
  EXPECT_TRUE(Readable(table.guest).empty());

  // The host leads: its cards are 4 to 7, the guest's 8 to 11; both see 0.
  const std::vector<int> hostCards = {4, 5, 6, 7, 0}, guestCards = {8, 9, 10, 11, 0};
  Bytes toGuest = table.host.MakeShares(guestCards);
  Bytes toHost = table.guest.MakeShares(hostCards);
  EXPECT_EQ(toGuest.size(), 5 * kShareBytes);
  ASSERT_FALSE(table.guest.TakeShares(guestCards, toGuest));
  ASSERT_FALSE(table.host.TakeShares(hostCards, toHost));
  for (int p = 0; p < kDealCards; ++p) {
    bool host = p == 0 || (p >= 4 && p <= 7), guest = p == 0 || (p >= 8 && p <= 11);
    EXPECT_EQ(IsCardCode(table.host.Card(p)), host) << p;
    EXPECT_EQ(IsCardCode(table.guest.Card(p)), guest) << p;
  }
  EXPECT_EQ(table.host.Card(0), table.guest.Card(0));
  // A card played by the guest: its own share lets the host read it.
  const int played[] = {9};
  ASSERT_FALSE(table.host.TakeShares(played, table.guest.MakeShares(played)));
  EXPECT_EQ(table.host.Card(9), table.guest.Card(9));
  EXPECT_EQ(table.host.Card(12), "");

  auto seenByHost = Readable(table.host);
  Bytes hostReveal = table.host.MakeReveal(), guestReveal = table.guest.MakeReveal();
  EXPECT_EQ(hostReveal.size(), kRevealBytes);
  ASSERT_FALSE(table.host.TakeReveal(guestReveal));
  ASSERT_FALSE(table.guest.TakeReveal(hostReveal));
  std::set<std::string> codes;
  for (int p = 0; p < kDealCards; ++p) {
    ASSERT_TRUE(IsCardCode(table.host.Card(p))) << p;
    EXPECT_EQ(table.host.Card(p), table.guest.Card(p)) << p;
    codes.insert(table.host.Card(p));
  }
  EXPECT_EQ(codes.size(), 52u);
  for (const auto& seen : seenByHost) EXPECT_TRUE(Readable(table.host).count(seen)) << seen;
  // A second reveal, or shares after it, are refused.
  EXPECT_EQ(table.host.TakeReveal(guestReveal), DealFailure(DealCheck::kMalformed));
}

std::size_t FirstDeckAt(std::size_t card) {
  return kGuestDeckAt + card * ristretto::kElementBytes;
}

// The guest puts one card itself in its first deck: the host would follow it.
template <int Card>
void PlantCardInTheClear(const Table& table, Bytes& m) {
  Nonce hostNonce, guestNonce;
  std::copy(table.sent[0].begin(), table.sent[0].begin() + kNonceBytes, hostNonce.begin());
  std::copy(m.begin(), m.begin() + kNonceBytes, guestNonce.begin());
  PutElement(m, FirstDeckAt(Card), CardElement(MakeHandId(1, hostNonce, guestNonce), Card));
}

// A setup message changed on its way: at step 0 (the host's opening), 1
// (the guest's key and first deck) or 2 (the host's final deck), how, and
// what it is refused as, at once.
TEST(FairDeal, ATamperedSetupIsRefusedAtOnce) {
  struct Tampered {
    const char* name;
    int step;
    std::function<void(const Table&, Bytes&)> change;
    DealCheck check;
  };
  const Tampered cases[] = {
      {"ACardShort", 1,
       [](const Table&, Bytes& m) { m.resize(m.size() - ristretto::kElementBytes); },
       DealCheck::kMalformed},
      {"AByteLonger", 2, [](const Table&, Bytes& m) { m.push_back(0); }, DealCheck::kMalformed},
      {"AZeroKey", 0,
       [](const Table&, Bytes& m) { std::fill(m.begin() + kNonceBytes, m.end(), 0); },
       DealCheck::kBadKey},
      {"ADuplicate", 1,
       [](const Table&, Bytes& m) { PutElement(m, FirstDeckAt(7), ElementAt(m, FirstDeckAt(3))); },
       DealCheck::kDuplicate},
      {"TheIdentity", 1, [](const Table&, Bytes& m) { PutElement(m, FirstDeckAt(5), Element{}); },
       DealCheck::kBadElement},
      {"AnInvalidElement", 1,
       [](const Table&, Bytes& m) {
         PutElement(m, FirstDeckAt(5), Element{1, 2, 3});
       },
       DealCheck::kBadElement},
      // The high bit set gives other bytes for the same element: a
      // duplicate check on bytes alone would let the card be dealt twice.
      {"ANonCanonicalDuplicate", 1,
       [](const Table&, Bytes& m) {
         Element hidden = ElementAt(m, FirstDeckAt(0));
         hidden[31] |= 0x80;
         PutElement(m, FirstDeckAt(9), hidden);
       },
       DealCheck::kBadElement},
      {"AFinalDuplicate", 2, [](const Table&, Bytes& m) { PutElement(m, 32, ElementAt(m, 0)); },
       DealCheck::kDuplicate},
      // The first card, one between and the last: a check that skips an
      // end of the deck lets that card through.
      {"TheFirstCardInTheClear", 1, PlantCardInTheClear<0>, DealCheck::kNotEncrypted},
      {"ACardInTheClear", 1, PlantCardInTheClear<20>, DealCheck::kNotEncrypted},
      {"TheLastCardInTheClear", 1, PlantCardInTheClear<kDealCards - 1>, DealCheck::kNotEncrypted},
      // The host passes the guest's deck on without encrypting it again.
      {"AFirstDeckPassedOn", 2,
       [](const Table& table, Bytes& m) {
         PutElement(m, 0, ElementAt(table.sent[1], kGuestDeckAt));
       },
       DealCheck::kNotEncrypted},
  };
  for (const Tampered& tampered : cases) {
    SCOPED_TRACE(tampered.name);
    Table table;
    EXPECT_EQ(table.Setup(tampered.step, [&](Bytes& m) { tampered.change(table, m); }),
              DealFailure(tampered.check));
  }
}

// A table whose setup is done and whose guest may read 8 to 11.
struct Dealt : Table {
  Dealt() { EXPECT_FALSE(Setup()); }
};

TEST(FairDeal, AWrongShareOrAProofFromAnotherPositionHandOrSideIsRefusedAtOnce) {
  const int positions[] = {8, 9};
  const std::size_t share = 1, challenge = 1 + 32, response = 1 + 64;
  auto changed = [&](std::size_t at, std::function<void(Bytes&, std::size_t)> change) {
    Dealt table;
    Bytes payload = table.host.MakeShares(positions);
    change(payload, kShareBytes + at);  // the second share
    auto bad = table.guest.TakeShares(positions, payload);
    // Refused whole: not even the first, good share was taken.
    EXPECT_EQ(table.guest.Card(8), "");
    return bad;
  };
  auto wrong = DealFailure(DealCheck::kWrongShare);
  EXPECT_EQ(changed(share, [](Bytes& m, std::size_t at) { PutElement(m, at, SomeElement()); }),
            wrong);
  EXPECT_EQ(changed(challenge, [](Bytes& m, std::size_t at) { m[at] ^= 1; }), wrong);
  EXPECT_EQ(changed(response, [](Bytes& m, std::size_t at) { m[at + 3] ^= 0x40; }), wrong);
  // A response above the group order that would check modulo it.
  EXPECT_EQ(changed(response, [](Bytes& m, std::size_t at) { m[at + 31] |= 0xf0; }), wrong);
  EXPECT_EQ(changed(share, [](Bytes& m, std::size_t at) { m[at + 31] |= 0x80; }), wrong);

  // A share for another position, and a proof from another position, hand
  // or side.
  Dealt table;
  const int asked[] = {8}, other[] = {10};
  Bytes payload = table.host.MakeShares(other);
  // Named as what it is: a share for another position than the one asked.
  EXPECT_EQ(table.guest.TakeShares(asked, payload), DealFailure(DealCheck::kSharePosition));
  // Renamed: its proof is for the other position's element.
  payload[0] = 8;
  EXPECT_EQ(table.guest.TakeShares(asked, payload), DealFailure(DealCheck::kWrongShare));
  // The same position twice in one payload.
  const int twice[] = {8, 8};
  EXPECT_EQ(table.guest.TakeShares(twice, table.host.MakeShares(twice)),
            DealFailure(DealCheck::kSharePosition));
  EXPECT_FALSE(table.guest.TakeShares(asked, table.host.MakeShares(asked)));

  // The proof is bound to its hand, position and side: the same statement
  // with another context does not check.
  Scalar x = ristretto::RandomScalar();
  Element key = ristretto::Public(x), base = SomeElement(), target;
  ASSERT_TRUE(ristretto::Multiply(x, base, target));
  HandId hand1{1}, hand2{2};
  auto proof = ristretto::ProveEqualLogs(ShareContext(hand1, 8, Role::kHost), x, key, base, target);
  EXPECT_TRUE(
      ristretto::CheckEqualLogs(ShareContext(hand1, 8, Role::kHost), key, base, target, proof));
  for (const auto& other :
       {ShareContext(hand2, 8, Role::kHost), ShareContext(hand1, 9, Role::kHost),
        ShareContext(hand1, 8, Role::kGuest)}) {
    EXPECT_FALSE(ristretto::CheckEqualLogs(other, key, base, target, proof));
  }
  EXPECT_FALSE(ristretto::CheckEqualLogs(ShareContext(hand1, 8, Role::kHost), SomeElement(), base,
                                         target, proof));
}

TEST(FairDeal, ADeckOrAKeyThatIsNotWhatWasPromisedIsCaughtWhenReadOrAtTheReveal) {
  // The guest slips in an element of its own choosing for one card: every
  // check at once passes (it is a valid, new element), the reveal fails.
  Table stacked;
  ASSERT_FALSE(stacked.Setup(1, [](Bytes& m) { PutElement(m, kGuestDeckAt, SomeElement()); }));
  Bytes guestReveal = stacked.guest.MakeReveal();
  EXPECT_EQ(stacked.host.TakeReveal(guestReveal), DealFailure(DealCheck::kNotTheCards));
  for (int p = 0; p < kDealCards; ++p) EXPECT_EQ(stacked.host.Card(p), "");

  // The host puts an element of its own at position 30.
  auto cheat = [](Bytes& m) { PutElement(m, 30 * ristretto::kElementBytes, SomeElement()); };
  Table unread;
  ASSERT_FALSE(unread.Setup(2, cheat));
  EXPECT_EQ(unread.guest.TakeReveal(unread.host.MakeReveal()),
            DealFailure(DealCheck::kNotReencrypted));
  // Read before the end, with a proof that checks for the element the
  // host sent, it opens no card.
  Table read;
  Element planted = SomeElement();
  ASSERT_FALSE(
      read.Setup(2, [&](Bytes& m) { PutElement(m, 30 * ristretto::kElementBytes, planted); }));
  Bytes revealed = read.host.MakeReveal();
  Scalar b;
  std::copy(revealed.begin(), revealed.end(), b.begin());
  Nonce hostNonce, guestNonce;
  std::copy(read.sent[0].begin(), read.sent[0].begin() + kNonceBytes, hostNonce.begin());
  std::copy(read.sent[1].begin(), read.sent[1].begin() + kNonceBytes, guestNonce.begin());
  Element share;
  ASSERT_TRUE(ristretto::Multiply(ristretto::Invert(b), planted, share));
  auto proof =
      ristretto::ProveEqualLogs(ShareContext(MakeHandId(1, hostNonce, guestNonce), 30, Role::kHost),
                                b, ristretto::Public(b), share, planted);
  Bytes payload = {30};
  payload.insert(payload.end(), share.begin(), share.end());
  payload.insert(payload.end(), proof.challenge.begin(), proof.challenge.end());
  payload.insert(payload.end(), proof.response.begin(), proof.response.end());
  const int position[] = {30};
  EXPECT_EQ(read.guest.TakeShares(position, payload), DealFailure(DealCheck::kUnreadable));
  EXPECT_EQ(read.guest.Card(30), "");

  // A revealed scalar that is not the key.
  Dealt table;
  Scalar other = ristretto::RandomScalar();
  EXPECT_EQ(table.guest.TakeReveal(Bytes(other.begin(), other.end())),
            DealFailure(DealCheck::kKeyMismatch));
  // The right scalar plus the group order: the same key, but not canonical.
  Bytes reveal = table.host.MakeReveal();
  const std::uint8_t order[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7,
                                  0xa2, 0xde, 0xf9, 0xde, 0x14, 0,    0,    0,    0,    0,    0,
                                  0,    0,    0,    0,    0,    0,    0,    0,    0,    0x10};
  Bytes bigger = reveal;
  unsigned carry = 0;
  for (int i = 0; i < 32; ++i) {
    unsigned sum = bigger[static_cast<std::size_t>(i)] + order[i] + carry;
    bigger[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sum);
    carry = sum >> 8;
  }
  EXPECT_EQ(table.guest.TakeReveal(bigger), DealFailure(DealCheck::kKeyMismatch));
  EXPECT_EQ(table.guest.TakeReveal(Bytes(kRevealBytes, 0)), DealFailure(DealCheck::kKeyMismatch));
  // A failed reveal leaves nothing readable, and the right one still checks.
  EXPECT_EQ(table.guest.Card(20), "");
  EXPECT_FALSE(table.guest.TakeReveal(reveal));
  EXPECT_TRUE(IsCardCode(table.guest.Card(20)));
}

// An honest shuffle drawn from a seeded generator, so that the statistics
// below give the same figure on every run.
FairDeal::Shuffler SeededShuffle(std::mt19937_64& rng) {
  return [&rng](std::array<int, kDealCards>& order) {
    KeepOrder(order);
    std::shuffle(order.begin(), order.end(), rng);
  };
}

// Where card 0 ends in the deck over many deals, in 13 groups of four
// positions: chi-square against uniform.
double MarkedCardChiSquare(std::mt19937_64& rng, bool hostStacks, bool guestStacks, int deals) {
  std::array<int, 13> counts{};
  for (int d = 0; d < deals; ++d) {
    Table table(hostStacks ? FairDeal::Shuffler(KeepOrder) : SeededShuffle(rng),
                guestStacks ? FairDeal::Shuffler(KeepOrder) : SeededShuffle(rng));
    EXPECT_FALSE(table.Setup());
    EXPECT_FALSE(table.guest.TakeReveal(table.host.MakeReveal()));
    for (int p = 0; p < kDealCards; ++p)
      if (table.guest.Card(p) == CardCode(0, 1)) ++counts[static_cast<std::size_t>(p / 4)];
  }
  double expected = deals / 13.0, chi = 0;
  for (int c : counts) chi += (c - expected) * (c - expected) / expected;
  return chi;
}

TEST(FairDeal, OneHonestShuffleMakesTheOrderUniformWhateverTheOtherDoes) {
  // 12 degrees of freedom: 45 is beyond the 0.99999 quantile (about 41).
  constexpr int kDeals = 260;
  auto rng = Seeded(20261208);
  EXPECT_LT(MarkedCardChiSquare(rng, false, true, kDeals), 45.0);
  EXPECT_LT(MarkedCardChiSquare(rng, true, false, kDeals), 45.0);
  // The check can tell: with both stacking, card 0 is always the base card.
  EXPECT_GT(MarkedCardChiSquare(rng, true, true, 26), 45.0);
}

}  // namespace
}  // namespace tesva::net

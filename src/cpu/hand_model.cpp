#include "cpu/hand_model.h"

#include <algorithm>

namespace tesva {
namespace {

// Points by card number, from the game's own point rule.
const std::array<std::int8_t, kDeckSize>& PointTable() {
  static const auto table = [] {
    std::array<std::int8_t, kDeckSize> points{};
    for (int suit = 0; suit < 4; ++suit) {
      for (int rank = 1; rank <= kRanks; ++rank) {
        points[suit * kRanks + rank - 1] =
            static_cast<std::int8_t>(PointValue(CardCode(suit, rank)));
      }
    }
    return points;
  }();
  return table;
}

// What a card scores for the rule player beyond its points: a share of the
// 3 majority points, about half of a hand's 52 cards deciding them.
constexpr double kCardWorth = 0.15;
// Taking the pile leaves the opponent to lead onto the empty floor, where
// its card may be matched for a tesva.
constexpr double kLeadWorth = 1.0;
// A jack kept takes any later pile; spending it on a small one costs that.
constexpr double kJackWorth = 2.0;
constexpr double kLastDealJackWorth = 1.0;

// The chance that `opponentCards` cards drawn from `unseen` hold none of
// the `matching` ones.
double NoneHeld(int unseen, int matching, int opponentCards) {
  double none = 1;
  for (int i = 0; i < opponentCards && none > 0; ++i) {
    none *= unseen - matching - i > 0 ? double(unseen - matching - i) / (unseen - i) : 0;
  }
  return none;
}

double CardValue(const Outlook& o, int card) {
  const int rank = RankOf(card);
  const int points = PointsOf(card);
  const bool jack = rank == kJack;
  const double jackWorth = o.deckLeft > 0 ? kJackWorth : kLastDealJackWorth;
  if (o.floorCount != 0 && (jack || rank == o.topRank)) {
    double value =
        o.floorCount == 1 && rank == o.topRank ? TesvaValue(rank) : o.floorPoints + points;
    value += kCardWorth * (o.floorCount + 1) + kLeadWorth;
    if (jack && rank != o.topRank) value -= jackWorth;
    return value;
  }
  // Laid on the floor: what the opponent may take with a card of its rank or
  // with a jack. After the last card of a deal the opponent leads with four
  // new cards; after the last card of the hand the floor goes to nobody.
  int opponentCards = o.opponentHeld;
  if (opponentCards == 0) opponentCards = o.deckLeft > 0 ? kHandSize : 0;
  const int count = o.floorCount + 1;
  const double pile = o.floorPoints + points + kCardWorth * (count + 1);
  const double byRank = 1 - NoneHeld(o.unseen, o.unseenOfRank[rank], opponentCards);
  double loss = byRank * (count == 1 ? TesvaValue(rank) : pile);
  if (!jack) {
    const double byJack = 1 - NoneHeld(o.unseen, o.unseenOfRank[kJack], opponentCards);
    // A jack is spent only on a pile worth it: count half of the risk.
    loss += 0.5 * (1 - byRank) * byJack * pile;
  }
  return -loss - (jack ? jackWorth : 0);
}

}  // namespace

int PointsOf(int card) {
  return PointTable()[static_cast<std::size_t>(card)];
}

int TesvaValue(int rank) {
  if (rank == kAce) return kTesvaOnAce;
  if (rank == kJack) return kTesvaOnJack;
  return kTesvaOnOther;
}

HandModel HandModel::Start(const std::array<CardId, kDeckSize>& order, int dealer) {
  HandModel m;
  // The floor: the base card face up, three face down; all four are valued
  // afresh, whatever the last hand left on the floor.
  m.floorCount = kFloorCards;
  for (int i = 0; i < kFloorCards; ++i) m.floorPoints += PointsOf(order[i]);
  m.topRank = static_cast<std::int8_t>(RankOf(order[0]));
  ++m.seen[RankOf(order[0])];
  std::copy(order.begin() + kFloorCards, order.end(), m.deck.begin());
  m.deckEnd = kDeckSize - kFloorCards;
  m.dealer = static_cast<std::int8_t>(dealer);
  m.Deal();
  return m;
}

void HandModel::Deal() {
  const int first = 1 - dealer;  // the player who did not deal
  for (int seat : {first, 1 - first}) {
    for (int i = 0; i < kHandSize; ++i) hand[seat][i] = deck[deckNext++];
    held[seat] = kHandSize;
  }
  toMove = static_cast<std::int8_t>(first);
}

void HandModel::Play(int index) {
  const int seat = toMove;
  auto& cards = hand[seat];
  const int card = cards[index];
  cards[index] = cards[--held[seat]];
  const int rank = RankOf(card);
  ++seen[rank];
  if (Captures(card)) {
    floorPoints += PointsOf(card);
    ++floorCount;  // the played card joins the pile it takes
    taken[seat] += floorCount;
    // Only a card of the top card's rank on a lone card is a tesva.
    gained[seat] += floorCount == 2 && rank == topRank ? TesvaValue(rank) : floorPoints;
    floorCount = 0;
    floorPoints = 0;
    topRank = kNoRank;
  } else {
    ++floorCount;
    floorPoints += PointsOf(card);
    topRank = static_cast<std::int8_t>(rank);
  }
  if (held[0] != 0 || held[1] != 0) {
    // The players alternate; should the hands ever be uneven, the one who
    // still holds cards plays them.
    toMove = static_cast<std::int8_t>(held[1 - seat] != 0 ? 1 - seat : seat);
  } else if (deckNext < deckEnd) {
    Deal();
  } else {
    // Cards left on the floor go to nobody.
    if (taken[0] != taken[1]) gained[taken[0] > taken[1] ? 0 : 1] += kMajorityPoints;
    over = true;
  }
}

Outlook OutlookOf(const HandModel& m) {
  const int seat = m.toMove;
  Outlook o{m.hand[seat].data(),
            m.held[seat],
            m.floorCount,
            m.floorPoints,
            m.topRank,
            m.held[1 - seat],
            m.deckEnd - m.deckNext,
            0,
            {}};
  int seenCards = 0;
  for (int rank = 1; rank <= kRanks; ++rank) {
    o.unseenOfRank[rank] = static_cast<std::int8_t>(4 - m.seen[rank]);
    seenCards += m.seen[rank];
  }
  for (int i = 0; i < o.held; ++i) --o.unseenOfRank[RankOf(o.hand[i])];
  o.unseen = kDeckSize - seenCards - o.held;
  return o;
}

int RuleChoice(const Outlook& o) {
  int best = 0;
  double bestValue = CardValue(o, o.hand[0]);
  for (int i = 1; i < o.held; ++i) {
    double value = CardValue(o, o.hand[i]);
    if (value > bestValue) best = i, bestValue = value;
  }
  return best;
}

int CarelessChoice(const HandModel& m, FastEngine& engine) {
  const auto& hand = m.hand[m.toMove];
  const int held = m.held[m.toMove];
  int jacks = 0;
  for (int i = 0; i < held; ++i) {
    if (m.Captures(hand[i])) return i;
    jacks += RankOf(hand[i]) == kJack;
  }
  if (jacks == held) return Below(engine, held);
  for (int i = 0, pick = Below(engine, held - jacks);; ++i) {
    if (RankOf(hand[i]) != kJack && pick-- == 0) return i;
  }
}

void PlayOutDeal(HandModel& m, int me, Style opponent, FastEngine& engine) {
  const int dealt = m.deckNext;
  while (!m.over && m.deckNext == dealt) {
    int index = 0;
    if (m.held[m.toMove] > 1) {
      index = m.toMove != me && opponent == Style::kCareless ? CarelessChoice(m, engine)
                                                             : RuleChoice(OutlookOf(m));
    }
    m.Play(index);
  }
}

}  // namespace tesva

#include "cpu/usta.h"

#include <algorithm>
#include <cmath>

#include "cpu/hand_model.h"
#include "engine/cards.h"
#include "platform/platform.h"

namespace tesva {
namespace {

// The spread of one hand's score difference between two good players
// (tesvas of 10 and 30 make it wide), as seen in the arena.
constexpr double kHandSpread = 15.0;
// The spread of the difference in cards taken, per card still to take.
constexpr double kCardsTakenSpread = 1.5;
// At equal chances the larger difference is still the better result.
constexpr double kDifferenceTieBreak = 1e-4;

// Everything known about the hand, with the unseen cards still to be dealt
// out: the model hand with the seat's own cards, and the cards to place.
struct Position {
  HandModel known;
  int me = 0;
  bool faceDownOnFloor = false;
  // Ranks the opponent cannot hold (bit per rank): it laid a card on a floor
  // that a jack or a card of the top's rank would have taken, in this deal.
  unsigned opponentLacks = 0;
  std::vector<CardId> unseen;
};

Position PositionOf(const SeatView& v) {
  Position p;
  p.me = v.seat == Seat::kHuman ? kHumanSeat : kComputerSeat;
  const int them = 1 - p.me;
  HandModel& m = p.known;
  std::array<bool, kDeckSize> seen{};
  auto see = [&](int card) {
    seen[static_cast<std::size_t>(card)] = true;
    ++m.seen[RankOf(card)];
  };
  int base = CardIdOf(v.baseCard);
  if (base >= 0) see(base);
  // The floor's points as far as they were seen: the face-down cards are
  // added for each deal of the unseen cards.
  int floorPoints = v.baseOnFloor && base >= 0 ? PointsOf(base) : 0;
  // The floor before each play, to read what a discard tells of the hand.
  int floorCount = kFloorCards;
  int topRank = base >= 0 ? RankOf(base) : kNoRank;
  const int playsThisDeal = 2 * kHandSize - static_cast<int>(v.hand.size()) - v.opponentCards;
  const int firstOfDeal = static_cast<int>(v.plays.size()) - playsThisDeal;
  for (int i = 0; i < static_cast<int>(v.plays.size()); ++i) {
    const auto& play = v.plays[static_cast<std::size_t>(i)];
    int card = CardIdOf(play.card);
    if (card < 0) continue;
    see(card);
    if (i >= firstOfDeal && play.seat != v.seat && !play.captured && floorCount != 0) {
      p.opponentLacks |= 1u << topRank | 1u << kJack;
    }
    floorPoints = play.captured ? 0 : floorPoints + PointsOf(card);
    floorCount = play.captured ? 0 : floorCount + 1;
    topRank = play.captured ? kNoRank : RankOf(card);
  }
  for (std::size_t i = 0; i < v.hand.size() && i < kHandSize; ++i) {
    int card = CardIdOf(v.hand[i]);
    m.hand[p.me][i] = static_cast<CardId>(card);
    seen[static_cast<std::size_t>(card)] = true;
  }
  m.held[p.me] = static_cast<std::int8_t>(std::min<std::size_t>(v.hand.size(), kHandSize));
  for (int card = 0; card < kDeckSize; ++card) {
    if (!seen[static_cast<std::size_t>(card)]) p.unseen.push_back(static_cast<CardId>(card));
  }
  const int unseen = static_cast<int>(p.unseen.size());
  m.held[them] =
      static_cast<std::int8_t>(std::clamp(v.opponentCards, 0, std::min(kHandSize, unseen)));
  m.floorCount = static_cast<std::int8_t>(v.floorCount);
  m.floorPoints = static_cast<std::int16_t>(v.floorCount == 0 ? 0 : floorPoints);
  int top = CardIdOf(v.topCard);
  m.topRank = static_cast<std::int8_t>(top >= 0 ? RankOf(top) : kNoRank);
  m.taken[p.me] = static_cast<std::int16_t>(v.ownTaken);
  m.taken[them] = static_cast<std::int16_t>(v.opponentTaken);
  // The unseen cards fill the opponent's hand, the three face-down floor
  // cards and the deck, in that order.
  m.deckEnd = static_cast<std::int8_t>(std::clamp(v.deckLeft, 0, unseen - m.held[them]));
  m.dealer = static_cast<std::int8_t>(v.ownDeal ? p.me : them);
  m.toMove = static_cast<std::int8_t>(p.me);
  p.faceDownOnFloor = v.baseOnFloor;
  return p;
}

// Brings the first `count` cards of ranks the opponent may hold to the
// front, the others keeping their order; false when there are too few.
bool FrontOpponentCards(std::vector<CardId>& cards, int count, unsigned lacks) {
  std::array<CardId, kDeckSize> rest;
  int front = 0, back = 0;
  for (CardId card : cards) {
    if (front < count && (lacks >> RankOf(card) & 1) == 0) {
      cards[static_cast<std::size_t>(front++)] = card;
    } else {
      rest[static_cast<std::size_t>(back++)] = card;
    }
  }
  std::copy(rest.begin(), rest.begin() + back, cards.begin() + front);
  return front == count;
}

// One deal of the unseen cards: shuffled, the opponent's hand drawn among
// the ranks it may hold, then laid out as in PositionOf.
HandModel DealUnseen(const Position& p, std::vector<CardId>& cards, FastEngine& engine) {
  const int n = static_cast<int>(cards.size());
  for (int i = n - 1; i > 0; --i) std::swap(cards[i], cards[Below(engine, i + 1)]);
  HandModel m = p.known;
  const int them = 1 - p.me;
  // A player who kept what it could have taken with would not be held to it:
  // with too few such cards the shuffle stands as it is.
  if (p.opponentLacks != 0) FrontOpponentCards(cards, m.held[them], p.opponentLacks);
  int next = 0;
  for (int i = 0; i < m.held[them]; ++i) m.hand[them][i] = cards[next++];
  const int faceDown = std::min(kFloorCards - 1, n - next - m.deckEnd);
  for (int i = 0; i < faceDown; ++i, ++next) {
    if (p.faceDownOnFloor) m.floorPoints += PointsOf(cards[next]);
  }
  for (int i = 0; i < m.deckEnd; ++i) m.deck[i] = cards[next++];
  return m;
}

}  // namespace

namespace {

// Chances are kept on a grid of 2^-32. The C libraries' erfc differ in the
// last bit (glibc's natively, musl's in the WebAssembly build) for some 4 %
// of arguments, and a search's sums, added in another order or from values
// a bit apart, would then choose differently on the two builds of the same
// game. On the grid, values agree unless a last bit crosses a step, and the
// sums of a search are exact, so that equal chances are equal everywhere.
double OnGrid(double chance) {
  return std::ldexp(std::nearbyint(std::ldexp(chance, 32)), -32);
}

double HalfErfc(double x) {
  return OnGrid(0.5 * std::erfc(x));
}

}  // namespace

double WinChance(double scoreDifference, double handsLeft) {
  if (handsLeft <= 0) return scoreDifference > 0 ? 1.0 : scoreDifference == 0 ? 0.5 : 0.0;
  double z = scoreDifference / (kHandSpread * std::sqrt(handsLeft));
  return HalfErfc(-z / std::sqrt(2.0));
}

namespace {

// The chance of winning after a play-out that stopped before the hand's
// end: the 3 majority points by the cards taken so far against those still
// to be taken, and the rest of the hand as a part of a hand still to play.
double Outcome(const HandModel& m, int me, int lead, int handsLeft) {
  const int them = 1 - me;
  double difference = lead + m.gained[me] - m.gained[them];
  if (m.over) return OnGrid(WinChance(difference, handsLeft) + kDifferenceTieBreak * difference);
  const int toTake = m.deckEnd - m.deckNext + m.held[0] + m.held[1] + m.floorCount;
  const double spread = kCardsTakenSpread * std::sqrt(toTake + 1.0);
  const double ahead = HalfErfc(-(m.taken[me] - m.taken[them]) / spread / std::sqrt(2.0));
  difference += kMajorityPoints * (2 * ahead - 1);
  return OnGrid(WinChance(difference, handsLeft + toTake / double(kDeckSize - kFloorCards)) +
                kDifferenceTieBreak * difference);
}

}  // namespace

int UstaDecide(const SeatView& v, std::uint64_t seed, int search) {
  const int n = static_cast<int>(v.hand.size());
  if (n <= 1 || n > kHandSize) return 0;
  // Only a hand of real cards is searched; anything else plays its first.
  if (std::any_of(v.hand.begin(), v.hand.end(), [](auto& c) { return CardIdOf(c) < 0; })) {
    return 0;
  }
  // Cards of one rank and one point value play alike: weigh one of each.
  std::vector<int> candidates;
  for (int i = 0; i < n; ++i) {
    int card = CardIdOf(v.hand[i]);
    bool alike = std::any_of(candidates.begin(), candidates.end(), [&](int j) {
      int other = CardIdOf(v.hand[j]);
      return RankOf(other) == RankOf(card) && PointsOf(other) == PointsOf(card);
    });
    if (!alike) candidates.push_back(i);
  }
  if (candidates.size() == 1) return 0;

  const Position p = PositionOf(v);
  const int handsLeft = v.handsPerGame - v.handNo;
  const int lead = v.ownScore - v.opponentScore;
  std::vector<double> total(candidates.size(), 0.0);
  std::vector<CardId> cards = p.unseen;
  FastEngine engine(seed);
  for (int deal = 0; deal < std::max(search, 1); ++deal) {
    const HandModel dealt = DealUnseen(p, cards, engine);
    // Whether the opponent plays well or carelessly is not known: half of
    // the deals take it one way, half the other. Against the professional
    // this won 88% rather than 82% with careful play-outs alone, against the
    // rule player 74% rather than 75% (400 games each).
    const Style style = deal % 2 == 0 ? Style::kRules : Style::kCareless;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
      HandModel m = dealt;
      m.Play(candidates[c]);
      PlayOutDeal(m, p.me, style, engine);
      total[c] += Outcome(m, p.me, lead, handsLeft);
    }
  }
  auto best = std::max_element(total.begin(), total.end()) - total.begin();
  return candidates[static_cast<std::size_t>(best)];
}

int RulePosition(const SeatView& v) {
  if (v.hand.empty()) return 0;
  const Position p = PositionOf(v);
  return v.positions[static_cast<std::size_t>(RuleChoice(OutlookOf(p.known)))];
}

int UstaChoice(Game& g, Seat seat) {
  SeatView v = ViewOf(g, seat);
  // One draw a move seeds the search, whatever the position.
  auto seed = static_cast<std::uint64_t>(g.io.random.Uniform() * 0x1.0p53);
  if (v.hand.empty()) return 1;
  return v.positions[static_cast<std::size_t>(UstaDecide(v, seed, g.UstaSearch))];
}

}  // namespace tesva

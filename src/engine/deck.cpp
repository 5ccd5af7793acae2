// Building the deck and starting a hand.
#include <array>
#include <cstdint>

#include "engine/engine.h"

namespace tesva {
namespace {

constexpr int kShuffleAttempts = 10000;

// A card's place in a 52-bit set: 13 bits per suit.
int CardBit(int suit, int rank) {
  return suit * kRanks + rank - 1;
}

// The 52 codes by card bit, made once.
const std::array<std::string, kDeckSize>& CodesByBit() {
  static const auto codes = [] {
    std::array<std::string, kDeckSize> all;
    for (int suit = 0; suit < 4; ++suit) {
      for (int rank = 1; rank <= kRanks; ++rank) all[CardBit(suit, rank)] = CardCode(suit, rank);
    }
    return all;
  }();
  return codes;
}

}  // namespace

std::vector<std::string> ShuffleDeck(RandomSource& random) {
  // Cards are gathered as places in a 52-bit set; a repeat is recognised
  // by one bit test, and written but not counted, so that the loop does not
  // branch on it.
  std::array<std::uint8_t, kDeckSize + 1> order{};
  int count = 0;
  std::uint64_t seen = 0;
  for (int attempt = 0; attempt < kShuffleAttempts && count < kDeckSize; ++attempt) {
    // The rank is drawn before the suit. Rounding 13u makes rank 1 (which
    // also takes the 0) 1.5 bands wide and rank 13 half a band; rounding 3u
    // makes suits 0 and 3 half as likely as 1 and 2.
    double u[2];
    random.Uniforms(u, 2);
    auto rank = static_cast<int>(RoundHalfEvenNonNegative(kRanks * u[0]));
    rank += rank == 0;
    auto suit = static_cast<int>(RoundHalfEvenNonNegative(3 * u[1]));
    int card = CardBit(suit, rank);
    std::uint64_t bit = std::uint64_t{1} << card;
    order[count] = static_cast<std::uint8_t>(card);
    count += (seen & bit) == 0;  // a repeat is dropped: the draw is spent
    seen |= bit;
  }
  // A deck still short after every attempt is completed in a fixed order,
  // so that a hand never starts without its 52 cards.
  for (int card = 0; card < kDeckSize; ++card) {
    if ((seen & (std::uint64_t{1} << card)) == 0) order[count++] = static_cast<std::uint8_t>(card);
  }
  const auto& codes = CodesByBit();
  std::vector<std::string> deck;
  deck.reserve(kDeckSize);
  for (int i = 0; i < kDeckSize; ++i) deck.push_back(codes[order[i]]);
  return deck;
}

void DesteKarisimi(Game& g) {
  // A stacked deck replays a recorded hand; one that is not a whole deck is
  // ignored rather than dealt short.
  auto stacked = g.io.random.TakeStackedDeck();
  bool replay = stacked && IsFullDeck(*stacked);
  StartHand(g, replay ? std::move(*stacked) : ShuffleDeck(g.io.random), kComputer);
}

void StartHand(Game& g, std::vector<std::string> order, std::string_view firstDealer) {
  g.List1.items.clear();
  g.List2.items.clear();
  g.List1.items = std::move(order);

  for (auto& count : g.Cikanlar) count.caption = "0";
  g.Seen.plays.clear();
  g.DeckPos = 0;
  ++g.HandNo;

  // The three face-down floor cards are counted like the base card.
  const auto& deck = g.List1.items;
  for (int i = 0; i < kFloorCards; ++i) CountPlayedCard(g, deck[i]);

  g.BaseCard = deck[g.DeckPos];
  g.Seen.baseCard = g.BaseCard;
  g.TopCard = g.BaseCard;
  g.OrtadakiKartlar.picture = g.CardBack;
  g.EnAltKart.picture = g.BaseCard;

  // Cards left on the floor by the last hand went to nobody, and so do
  // their points: the floor is valued afresh.
  g.FloorPoints = 0;
  for (int i = 0; i < kFloorCards; ++i) g.FloorPoints += PointValue(deck[i]);

  // The dealer alternates; the other player moves first.
  if (g.HandNo == 1) {
    g.Dealer = std::string(firstDealer);
  } else {
    g.Dealer = g.Dealer == kHuman ? kComputer : kHuman;
  }
  ShowTurn(g, g.Dealer == kComputer ? g.Player1_Name : g.Player2_Name);
  g.Label2.visible = true;
  g.Label7.caption = std::to_string(g.HandNo) + ". El oynanıyor...";
  g.Player1_CardsTaken = 0;
  g.Player2_CardsTaken = 0;
  g.DeckPos = kFloorCards;
  g.Label8.caption = DeckCountText(g.DeckPos);
  KagitDagitimi(g);
}

}  // namespace tesva

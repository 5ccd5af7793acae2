// The master level: its hand model agrees with the game, it plays only on
// what its seat has seen, and it plays in the game like any level.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "cpu/hand_model.h"
#include "cpu/usta.h"
#include "engine/hand_summary.h"
#include "test_support.h"

namespace tesva {
namespace {

std::array<CardId, 52> DeckIds(const std::vector<std::string>& deck) {
  std::array<CardId, 52> ids{};
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = static_cast<CardId>(CardIdOf(deck[i]));
  return ids;
}

TEST(HandModel, AgreesWithTheGameOnEveryMoveOfThousandsOfHands) {
  // Random play on both sides over many one-hand... and many-hand games: the
  // model, started from each hand's deck, must see every capture, tesva,
  // floor and majority as the game does, quirks included. At every hand's
  // end the hand's breakdown is the change of both scores, all 52 cards are
  // taken or left on the floor, and the majority goes to the side that took
  // more.
  Table t;
  t.io.random = ScriptedRandom(11);
  t.Store("Seviye", "1");
  t.Store("Sesler", "0");
  t.Start();
  Game& g = t.g;
  auto rng = Seeded(5);
  int hands = 0, tesvas = 0, leftOver = 0;
  while (hands < 3000) {
    ASSERT_EQ(g.FloorCount, 4);
    HandModel m = HandModel::Start(DeckIds(g.List1.items), g.Dealer == kHuman ? 0 : 1);
    const int start[2] = {g.Player1_Score, g.Player2_Score};
    while (!g.Timer2.enabled) {
      const int seat = g.Timer1.enabled ? kComputerSeat : kHumanSeat;
      ASSERT_EQ(m.toMove, seat);
      std::string card;
      if (seat == kComputerSeat) {
        card = ComputerMove(g);
      } else {
        int slot = RandomSlot(rng)(EnabledSlots(g));
        card = g.Player1_Hand(slot);
        Player1_Kart_Click(g, slot);
      }
      // The card's index in the model's hand of the player to move.
      const auto& held = m.hand[m.toMove];
      auto index = std::find(held.begin(), held.begin() + m.held[m.toMove], CardIdOf(card));
      ASSERT_LT(index - held.begin(), m.held[m.toMove]) << card;
      m.Play(static_cast<int>(index - held.begin()));
      EXPECT_EQ(m.gained[0], g.Player1_Score - start[0]);
      EXPECT_EQ(m.gained[1], g.Player2_Score - start[1]);
      if (!m.over) {
        EXPECT_EQ(m.floorCount, g.FloorCount);
        EXPECT_EQ(m.floorPoints, g.FloorPoints);
        EXPECT_EQ(m.topRank, g.TopCard.empty() ? 0 : Rank(g.TopCard));
        EXPECT_EQ(m.taken[0], g.Player1_CardsTaken);
        EXPECT_EQ(m.taken[1], g.Player2_CardsTaken);
        EXPECT_EQ(m.held[0], g.Player1_CardsLeft);
        EXPECT_EQ(m.held[1], g.Player2_CardsLeft);
      }
      if (testing::Test::HasFailure()) return;
    }
    EXPECT_TRUE(m.over);
    HandSummary s = SummariseHand(g);
    ASSERT_TRUE(s.settled);
    EXPECT_EQ(s.human.handPoints, g.Player1_Score - start[0]);
    EXPECT_EQ(s.computer.handPoints, g.Player2_Score - start[1]);
    for (const SeatSummary* seat : {&s.human, &s.computer}) {
      int tesvaPoints = 0;
      for (const Take& take : seat->tesvas) tesvaPoints += take.points;
      EXPECT_EQ(seat->cardPoints + tesvaPoints + seat->majorityPoints, seat->handPoints);
    }
    EXPECT_EQ(s.human.cardsTaken + s.computer.cardsTaken + static_cast<int>(s.floor.size()),
              kDeckSize);
    EXPECT_EQ(s.human.majorityPoints, s.human.cardsTaken > s.computer.cardsTaken ? 3 : 0);
    EXPECT_EQ(s.computer.majorityPoints, s.human.cardsTaken < s.computer.cardsTaken ? 3 : 0);
    EXPECT_EQ(static_cast<int>(s.floor.size()), g.FloorCount);
    tesvas += static_cast<int>(s.human.tesvas.size() + s.computer.tesvas.size());
    leftOver += !s.floor.empty();
    ++hands;
    while (g.Timer2.enabled) Timer2_Timer(g);
    if (g.HandNo == 0) mnuYeni_Click(g);
  }
  std::printf("%d tesvas, %d hands with cards left on the floor\n", tesvas, leftOver);
  EXPECT_GT(tesvas, 1000);
  EXPECT_GT(leftOver, 1000);
}

// A game at the master level whose first hand is dealt from `deck`; the
// human plays the enabled slot that `picks` draws.
struct MasterGame : Table {
  MasterGame(const std::vector<std::string>& deck, std::uint64_t seed, std::uint32_t picks)
      : pick(picks) {
    io.random = ScriptedRandom(seed);
    Store("Seviye", "3");
    Store("Sesler", "0");
    g.UstaSearch = 3;  // small, so that any hidden card would tip some choice
    Start({deck});
  }
  // One event of the first hand; the card the master played, if it moved.
  std::string Step() {
    if (g.Timer1.enabled) return ComputerMove(g);
    Player1_Kart_Click(g, RandomSlot(pick)(EnabledSlots(g)));
    return "";
  }
  bool HandOver() const { return g.Timer2.enabled; }
  std::mt19937 pick;
};

// The cards that the computer's seat has not seen after `moves` events:
// the human's hand, the three face-down floor cards and the undealt deck.
std::vector<std::string> HiddenAfter(const std::vector<std::string>& deck, std::uint64_t seed,
                                     std::uint32_t picks, int moves) {
  MasterGame game(deck, seed, picks);
  for (int i = 0; i < moves && !game.HandOver(); ++i) game.Step();
  std::vector<std::string> hidden(deck.begin() + 1, deck.begin() + kFloorCards);
  hidden.insert(hidden.end(), deck.begin() + game.g.DeckPos, deck.end());
  for (const auto& card : game.g.Player1_Hand) {
    if (!card.empty()) hidden.push_back(card);
  }
  return hidden;
}

TEST(Usta, ChoosesOnlyFromWhatItsSeatHasSeen) {
  // Two deals that differ only in cards the master has not seen, permuted
  // among cards worth no points (so every score stays the same) and always
  // moving a face-down floor card to another rank (so the played-cards
  // tracker differs): the same random stream must give the same choices for
  // as long as the public play and the master's own cards are the same.
  auto rng = Seeded(3);
  int compared = 0;
  for (int round = 0; round < 150; ++round) {
    std::vector<std::string> deck = Deck({});
    std::shuffle(deck.begin(), deck.end(), rng);
    const std::uint64_t seed = rng();
    const std::uint32_t picks = rng();
    const int cut = 1 + static_cast<int>(rng() % 40);
    auto hidden = HiddenAfter(deck, seed, picks, cut);
    std::vector<std::size_t> places;  // the hidden cards worth no points
    for (std::size_t i = 1; i < deck.size(); ++i) {
      bool isHidden = std::find(hidden.begin(), hidden.end(), deck[i]) != hidden.end();
      if (isHidden && PointValue(deck[i]) == 0) places.push_back(i);
    }
    if (places.empty() || places.front() >= kFloorCards) continue;  // no face-down one
    auto permuted = deck;
    std::size_t faceDown = places.front();
    auto other = std::find_if(places.begin(), places.end(), [&](auto i) {
      return i >= kFloorCards && Rank(deck[i]) != Rank(deck[faceDown]);
    });
    if (other == places.end()) continue;
    std::swap(permuted[faceDown], permuted[*other]);
    std::vector<std::size_t> rest;  // the others off the floor, shuffled
    std::copy_if(places.begin(), places.end(), std::back_inserter(rest),
                 [&](auto i) { return i >= kFloorCards; });
    for (std::size_t i = rest.size(); i > 1; --i) {
      std::swap(permuted[rest[i - 1]], permuted[rest[rng() % i]]);
    }

    MasterGame a(deck, seed, picks), b(permuted, seed, picks);
    ASSERT_NE(a.g.Cikanlar, b.g.Cikanlar);
    while (!a.HandOver() && !b.HandOver() && a.g.Seen.plays == b.g.Seen.plays &&
           a.g.List2.items == b.g.List2.items) {
      if (a.g.Timer1.enabled) {
        ASSERT_TRUE(ViewOf(a.g, Seat::kComputer) == ViewOf(b.g, Seat::kComputer));
      }
      auto choiceA = a.Step();
      auto choiceB = b.Step();
      ASSERT_EQ(choiceA, choiceB) << "round " << round;
      compared += !choiceA.empty();
    }
  }
  EXPECT_GT(compared, 1000);
}

// A position late in a hand, seen from the computer's seat: it holds
// `hand`, the opponent `opponentCards`, the deck is empty and every card
// but those and the ones in `unseen` (the opponent's and the three
// face-down floor cards) has been played face up, the last `thisDeal` of
// them in this deal, laid without a capture.
SeatView LateView(const std::vector<std::string>& hand, int opponentCards,
                  const std::vector<std::string>& unseen, int thisDeal) {
  SeatView v{};
  v.seat = Seat::kComputer;
  v.hand = hand;
  for (int i = 1; i <= static_cast<int>(hand.size()); ++i) v.positions.push_back(i);
  v.opponentCards = opponentCards;
  v.baseCard = "M13";
  auto out = [&](const std::string& card) {
    return card == v.baseCard || std::find(hand.begin(), hand.end(), card) != hand.end() ||
           std::find(unseen.begin(), unseen.end(), card) != unseen.end();
  };
  for (const auto& card : Deck({})) {
    if (out(card)) continue;
    // The computer leads every deal; before this deal the opponent took.
    const auto seat = v.plays.size() % 2 == 0 ? Seat::kComputer : Seat::kHuman;
    v.plays.push_back(PublicPlay{card, seat, seat == Seat::kHuman});
  }
  const auto count = static_cast<int>(v.plays.size());
  for (int i = count - thisDeal; i < count; ++i)
    v.plays[static_cast<std::size_t>(i)].captured = false;
  v.floorCount = thisDeal;
  v.topCard = thisDeal > 0 ? v.plays.back().card : "";
  // The taken cards split about evenly, the base and face-down ones to the
  // opponent.
  v.ownTaken = (count - thisDeal) / 2;
  v.opponentTaken = v.ownTaken + kFloorCards;
  v.handNo = 1;
  v.handsPerGame = 11;
  return v;
}

int UstaCard(const SeatView& v, std::uint64_t seed) {
  return UstaDecide(v, seed, 200);
}

TEST(Usta, LeadsTheCardNoHiddenOneCanMatch) {
  // Last deal, empty floor, the master leads. Every other 5 and every jack
  // is out; the three other 9s are among the seven hidden cards, so the
  // opponent's four hold one 34 times in 35 and a 9 led is a tesva of 10
  // for it. Any 5 is safe: the first of them, K5, is the card, and the
  // three 5s are one choice.
  const auto v =
      LateView({"D9", "K5", "M5", "S5"}, 4, {"K9", "M9", "S9", "K2", "K3", "M3", "D3"}, 0);
  ASSERT_EQ(v.plays.size(), 40u);
  for (std::uint64_t seed : {1u, 2u, 3u}) EXPECT_EQ(UstaCard(v, seed), 1) << "seed " << seed;
  EXPECT_EQ(RulePosition(v), 2);  // the rule player sees the risk too
}

TEST(Usta, OfCardsThatPlayAlikeTakesTheFirst) {
  // Two cards left each, the last deal: nothing hidden matches the master's
  // 6 or 8 and no jack is left, so either order ends the hand alike. Both
  // the search and the rule player then keep to the hand's order.
  const auto v = LateView({"K6", "D8"}, 2, {"K2", "D3", "M3", "S4", "K7"}, 4);
  ASSERT_EQ(v.plays.size(), 44u);
  ASSERT_NE(Rank(v.topCard), 6);
  ASSERT_NE(Rank(v.topCard), 8);
  for (std::uint64_t seed : {1u, 2u, 3u}) EXPECT_EQ(UstaCard(v, seed), 0) << "seed " << seed;
  EXPECT_EQ(RulePosition(v), 1);
  auto swapped = v;
  std::swap(swapped.hand[0], swapped.hand[1]);
  EXPECT_EQ(UstaCard(swapped, 1), 0);
  EXPECT_EQ(RulePosition(swapped), 1);
}

}  // namespace
}  // namespace tesva

// The rules of the game: cards and points, the shuffle, the hand start,
// dealing, capture and tesva, settlement, the end of a hand and of a game.
#include <gtest/gtest.h>

#include <set>

#include "test_support.h"

namespace tesva {
namespace {

// Floor S7 (base), D10, M1, D4; the human gets K7, D11, S1, M9; the
// computer K5, M12, D6, S13.
const auto kDeck =
    Deck({"S7", "D10", "M1", "D4", "K7", "D11", "S1", "M9", "K5", "M12", "D6", "S13"});

TEST(Cards, RanksPointsAndRounding) {
  EXPECT_NE(RankText("S1"), RankText("S11"));
  EXPECT_EQ(PointValue("S2") * 10 + PointValue("D10"), 23);
  EXPECT_EQ(PointValue("D2") + PointValue("S10"), 0);
  int total = 0;
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 1; rank <= kRanks; ++rank) {
      total += PointValue(CardCode(suit, rank));
      EXPECT_TRUE(IsCardCode(CardCode(suit, rank)));
    }
  }
  EXPECT_EQ(total, 13);  // the 52 cards hold 13 points together
  for (auto bad : {"", "K0", "K14", "X1", "K01", "k1", "K1 ", "D+1"}) EXPECT_FALSE(IsCardCode(bad));
  auto deck = Deck({});
  EXPECT_TRUE(IsFullDeck(deck));
  deck[51] = deck[0];
  EXPECT_FALSE(IsFullDeck(deck));
  deck.pop_back();
  EXPECT_FALSE(IsFullDeck(deck));

  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(DeckCountText(52), "Deste (0)");
  // Read back from every count a deck caption can show, and from nothing else.
  for (int pos = 0; pos <= kDeckSize; ++pos) EXPECT_EQ(DeckCountIn(DeckCountText(pos)), 52 - pos);
  for (const char* text : {"Deste", "Deste ()", "Deste (53)", "Deste (-1)", "Deste (4x)", "(12)",
                           "Deste (123)", "Deste (12"}) {
    EXPECT_EQ(DeckCountIn(text), std::nullopt) << text;
  }
}

TEST(Shuffle, DrawsRankThenSuitAndDropsRepeats) {
  ScriptedRandom random(1);
  // Rank from 13u (0 counts as 1, halves to even), suit from 3u.
  for (double u : {0.0, 0.0,            // K1
                   1.5 / 13, 0.5 / 3,   // rank 2 (1.5 rounds up), suit 0 (0.5 rounds down)
                   0.0, 0.99,           // rank 1, suit 3: M1
                   0.01, 0.1,           // K1 again: dropped, the draw is spent
                   12.6 / 13, 2.5 / 3,  // rank 13, suit 2 (2.5 rounds down): S13
                   12.4 / 13, 0.5})     // rank 12, suit 2 (1.5 rounds up): S12
    random.Queue(u);
  auto deck = ShuffleDeck(random);
  ASSERT_EQ(deck.size(), 52u);
  EXPECT_EQ(std::vector<std::string>(deck.begin(), deck.begin() + 5),
            (std::vector<std::string>{"K1", "K2", "M1", "S13", "S12"}));
  EXPECT_EQ(std::set<std::string>(deck.begin(), deck.end()).size(), 52u);
}

// A source stuck on one value yields one card; the deck is then completed
// in suit and rank order, never short.
class StuckRandom : public RandomSource {
 public:
  double Uniform() override {
    ++draws;
    return 0.0;
  }
  int draws = 0;
};

TEST(Shuffle, GivesUpAfterTenThousandAttemptsAndCompletesTheDeck) {
  StuckRandom random;
  auto deck = ShuffleDeck(random);
  EXPECT_EQ(random.draws, 20000);
  EXPECT_EQ(deck, Deck({"K1"}));
}

TEST(Move, FirstCaptureTakesTheFloorWithItsPointsAndTheBaseCard) {
  Table t;
  t.Start({kDeck});
  Game& g = t.g;
  GameState expected = g;
  Player1_Kart_Click(g, 1);  // K7 on the base S7: takes all four
  expected.Player1_Score = 4;
  expected.Player1_CardsTaken = 5;
  expected.FloorCount = expected.FloorPoints = 0;
  expected.TopCard = expected.BaseCard = "";
  expected.Player1_Hand(1) = "";
  expected.Player1_DealtHand[0] = "";
  expected.Player1_CardsLeft = 3;
  EXPECT_EQ(static_cast<const GameState&>(g), expected);
  EXPECT_EQ(t.Sounds(), std::vector<std::string>{"Card.voi"});
  EXPECT_EQ(g.Player1_Deste.picture, "K7");
  EXPECT_EQ(g.OrtadakiKartlar.picture, "");
  EXPECT_EQ(g.EnAltKart.picture, "");
  EXPECT_FALSE(g.Label2.visible);
  EXPECT_EQ(g.Player1_Kart(1).picture, "");
  EXPECT_EQ(EnabledSlots(g), std::vector<int>{});
  EXPECT_TRUE(g.Timer1.enabled);
  EXPECT_EQ(g.Label1.caption, " Bilgisayar (0) oynuyor...");
  EXPECT_EQ(g.Cikanlar(7).caption, "2");
  EXPECT_EQ(g.Player1_Name.caption, "Oyuncu (0)");  // totals show at the hand's end

  t.io.random.Queue(0.0);  // the computer leads K5 onto the empty floor
  Timer1_Timer(g);
  EXPECT_EQ(EnabledSlots(g), (std::vector<int>{2, 3, 4}));
  Player1_Kart_Click(g, 1);  // an empty card ignores the click
  EXPECT_EQ(g.Player1_CardsLeft, 3);
}

TEST(Tracker, CountsPastOneDigit) {
  // The count is text: "8" to "9" to "10" and on, whatever the rank.
  Table t;
  t.Start({kDeck});
  for (const char* card : {"K2", "M13"}) {
    auto& caption = t.g.Cikanlar(Rank(card)).caption;
    caption = "8";
    std::vector<std::string> counts;
    for (int i = 0; i < 4; ++i) {
      CountPlayedCard(t.g, card);
      counts.push_back(caption);
    }
    EXPECT_EQ(counts, (std::vector<std::string>{"9", "10", "11", "12"})) << card;
  }
}

struct Capture {
  const char* name;  // the case's name in the test's name: the rule it checks
  const char* top;
  int floorCount;
  int floorPoints;
  const char* played;
  int score;  // points won by the move
  int taken;  // cards won by the move, 0 when it is laid down
  const char* sound;
};

class Captures : public testing::TestWithParam<Capture> {};

TEST_P(Captures, ScoreCardsAndSound) {
  const Capture& c = GetParam();
  Table t;
  t.Start({Deck({"S7", "K3", "M4", "D4", c.played})});
  Game& g = t.g;
  g.TopCard = c.top;
  g.FloorCount = static_cast<std::int16_t>(c.floorCount);
  g.FloorPoints = static_cast<std::int16_t>(c.floorPoints);
  int rankCount = std::stoi(g.Cikanlar(Rank(c.played)).caption);
  t.Sounds();
  Player1_Kart_Click(g, 1);
  EXPECT_EQ(g.Player1_Score, c.score);
  EXPECT_EQ(g.Player1_CardsTaken, c.taken);
  EXPECT_EQ(t.Sounds(), std::vector<std::string>{c.sound});
  EXPECT_EQ(g.Cikanlar(Rank(c.played)).caption, std::to_string(rankCount + 1));
  if (c.taken == 0) {
    EXPECT_EQ(g.TopCard, c.played);
    EXPECT_EQ(g.FloorCount, c.floorCount + 1);
    EXPECT_EQ(g.FloorPoints, c.floorPoints + PointValue(c.played));
    EXPECT_EQ(g.OrtadakiKartlar.picture, c.played);
    EXPECT_EQ(g.BaseCard, "S7");  // a discard leaves the base card alone
  } else {
    EXPECT_EQ(g.TopCard, "");
    EXPECT_EQ(g.FloorCount, 0);
    EXPECT_EQ(g.FloorPoints, 0);
    EXPECT_EQ(g.Player1_Deste.picture, c.played);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Captures,
    testing::Values(Capture{"AceOnALoneAceIsATesvaOf30", "K1", 1, 1, "S1", 30, 2, "Tesva.voi"},
                    Capture{"JackOnALoneJackIsATesvaOf15", "K11", 1, 1, "D11", 15, 2, "Tesva.voi"},
                    Capture{"SevenOnALoneSevenIsATesvaOf10", "K7", 1, 0, "M7", 10, 2, "Tesva.voi"},
                    // 10 points, not 13: a tesva's cards score no card points
                    Capture{"TenOfDiamondsTesvaScoresNoCardPoints", "K10", 1, 0, "D10", 10, 2,
                            "Tesva.voi"},
                    Capture{"JackOnALoneFiveIsNoTesva", "K5", 1, 0, "S11", 1, 2, "Card.voi"},
                    Capture{"JackTakesTheWholeFloor", "K5", 5, 4, "S11", 5, 6, "Card.voi"},
                    Capture{"MatchOnTwoCardsIsNoTesva", "K5", 2, 3, "M5", 3, 3, "Card.voi"},
                    Capture{"JackOnAnEmptyFloorIsLaidDown", "", 0, 0, "S11", 0, 0, "Card.voi"},
                    Capture{"NoMatchIsLaidDown", "K5", 3, 2, "S2", 0, 0, "Card.voi"}),
    [](const testing::TestParamInfo<Capture>& info) { return std::string(info.param.name); });

TEST(Hover, FrameFollowsTheMouseAndRaisesTheCard) {
  Table t;
  t.Start({kDeck});
  Game& g = t.g;
  Player1_Kart_MouseMove(g, 2);
  EXPECT_TRUE(g.Shape1.visible);
  EXPECT_EQ(g.Shape1.left, 3240);
  EXPECT_EQ(g.Shape1.top, 4440);
  EXPECT_EQ(g.ZOrder, (std::array<int, 4>{1, 3, 4, 2}));
  Player1_Kart_MouseMove(g, 3);
  EXPECT_EQ(g.Shape1.left, 3840);
  EXPECT_EQ(g.ZOrder, (std::array<int, 4>{1, 4, 2, 3}));
  EXPECT_EQ(g.HoverIndex, 3);
  Form_MouseMove(g);
  EXPECT_FALSE(g.Shape1.visible);
  EXPECT_FALSE(g.HoverActive);
  EXPECT_EQ(g.ZOrder, (std::array<int, 4>{1, 2, 3, 4}));
  // Playing a card hides the frame but keeps the marking; a disabled card
  // does not hover.
  Player1_Kart_MouseMove(g, 1);
  Player1_Kart_Click(g, 1);
  EXPECT_FALSE(g.Shape1.visible);
  EXPECT_TRUE(g.HoverActive);
  Player1_Kart_MouseMove(g, 2);
  EXPECT_FALSE(g.Shape1.visible);
  EXPECT_EQ(g.HoverIndex, 1);
}

TEST(Deal, HumanDealerGivesTheComputerTheFirstCardsAndTheLeadAndTheHumanWaits) {
  Table t;
  t.Start({kDeck, Deck({"K2", "K3", "K4", "K6", "S3", "S4", "S5", "S6", "M2", "M4", "M5", "M6"})});
  t.PlayOutHand();
  Game& g = t.g;
  while (g.Timer2.enabled) Timer2_Timer(g);  // the pause: GameEnd.PausesLastTwoTicks...
  EXPECT_EQ(g.HandNo, 2);
  EXPECT_TRUE(g.Timer1.enabled);
  EXPECT_EQ(g.List2.items.size(), 4u);
  EXPECT_EQ(EnabledSlots(g), std::vector<int>{});
  EXPECT_EQ(g.FloorCount, 4);
  Timer1_Timer(g);  // the computer leads
  EXPECT_EQ(g.Dealer, "My");
  EXPECT_EQ(g.List1.items[0], "K2");
  EXPECT_EQ(g.Label7.caption, "2. El oynanıyor...");
  // The computer got items 4 to 7; after its lead the human holds 8 to 11.
  EXPECT_EQ(g.Player1_DealtHand, (std::array<std::string, 4>{"M2", "M4", "M5", "M6"}));
  EXPECT_EQ(g.Player2_CardsLeft, 3);
  EXPECT_EQ(g.Label1.caption, " " + g.Player1_Name.caption + " oynuyor...");
  EXPECT_EQ(EnabledSlots(g), (std::vector<int>{1, 2, 3, 4}));
}

TEST(Settlement, MajorityPointsResultAndNames) {
  Table t;
  t.Start({kDeck});
  Game& g = t.g;
  g.Player1_Name.caption = "anything";  // the result uses the stored names
  g.Player1_Score = 9;
  g.Player2_Score = 7;
  g.Player1_CardsTaken = 27;
  g.Player2_CardsTaken = 25;
  g.DeckPos = 52;
  g.Player1_CardsLeft = g.Player2_CardsLeft = 0;
  KagitDagitimi(g);
  EXPECT_EQ(g.Player1_Score, 12);
  EXPECT_EQ(g.Player2_Score, 7);
  EXPECT_EQ(g.Player1_CardsTaken, 0);
  EXPECT_EQ(g.Player2_CardsTaken, 0);
  EXPECT_EQ(g.Label1.caption,
            " El bitti. --- Oyuncu: 12 - Bilgisayar: 7 --- Lütfen bekleyiniz....");
  EXPECT_EQ(g.Player1_Name.caption, "Oyuncu (12)");
  EXPECT_EQ(g.Player2_Name.caption, "Bilgisayar (7)");
  EXPECT_TRUE(g.Timer2.enabled);
  EXPECT_TRUE(g.List2.items.empty());
}

TEST(GameEnd, LastHandShowsTheResultAndPlaysItsSound) {
  struct Ending {
    int human, computer;
    std::string message, sound;
  };
  for (const auto& e : {Ending{87, 64, " --- Oyuncu kazandı.", "Laugh.voi"},
                        Ending{10, 64, " --- Bilgisayar kazandı.", "Lose.voi"},
                        Ending{33, 33, " --- Durum: Berabere.", "With.voi"}}) {
    Table t;
    t.Start({kDeck});
    Game& g = t.g;
    g.HandsPerGame = 1;
    t.PlayOutHand();
    g.Player1_Score = e.human;
    g.Player2_Score = e.computer;
    t.Sounds();
    t.Wait();
    EXPECT_EQ(g.Label1.caption, " Oyun bitti. --- Oyuncu: " + std::to_string(e.human) +
                                    " - Bilgisayar: " + std::to_string(e.computer) + e.message);
    EXPECT_EQ(t.Sounds(), std::vector<std::string>{e.sound});
    EXPECT_EQ(g.HandNo, 0);
    EXPECT_EQ(g.Label7.caption, "");
    EXPECT_TRUE(g.List1.items.empty());
    EXPECT_EQ(g.DeckPos, 0);
    EXPECT_EQ(g.FloorCount, 4);
    EXPECT_EQ(g.Player1_Name.caption, "Oyuncu (" + std::to_string(e.human) + ")");
    EXPECT_EQ(g.Deste.picture, "Back");
    EXPECT_EQ(g.Player1_Deste.picture, "Back");
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(g.Player2_Kart(i).picture, "");
      EXPECT_FALSE(g.Player1_Kart(i).enabled);
    }
    EXPECT_EQ(g.OrtadakiKartlar.picture, "");
    EXPECT_FALSE(g.Timer1.enabled || g.Timer2.enabled);
  }
}

TEST(GameEnd, PausesLastTwoTicksOnceThenThreeAndAHandCountBelowTheHandEndsTheGame) {
  Table t;
  t.Start();
  Game& g = t.g;
  int ticks = 0;
  auto pause = [&] {
    t.PlayOutHand();
    for (ticks = 0; g.Timer2.enabled; ++ticks) Timer2_Timer(g);
  };
  pause();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(g.HandNo, 2);
  pause();
  EXPECT_EQ(ticks, 3);
  t.Wait();
  g.HandsPerGame = 2;  // lowered below the hand being played
  pause();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(g.HandNo, 0);
  EXPECT_EQ(g.Label1.caption.rfind(" Oyun bitti. --- ", 0), 0u);
}

}  // namespace
}  // namespace tesva

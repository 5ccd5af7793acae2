// The computer's turn: the capture scan shared by both levels, the
// amateur's random discard and the professional's discard choice.
#include <gtest/gtest.h>

#include "test_support.h"

namespace tesva {
namespace {

// A game in hand 1 where the computer is to move with the given hand on a
// floor of `floorCount` cards topped by `top`.
struct ComputerTurn : Table {
  ComputerTurn(std::vector<std::string> hand, std::string top, int floorCount,
               std::string_view level = "1") {
    Start({Deck({"S7", "K3", "M4", "D4", "K8", "D9", "S10", "M13", "K12", "D13", "S12", "M12"})});
    if (level == kProfessional) mnuPro_Click(g);
    if (level == kMaster) mnuUsta_Click(g);
    g.List2.items = std::move(hand);
    g.Player2_CardsLeft = static_cast<std::int16_t>(g.List2.items.size());
    for (int i = 1; i <= 4; ++i) g.Player2_Kart(i).picture = i <= g.Player2_CardsLeft ? "Back" : "";
    g.TopCard = std::move(top);
    g.FloorCount = static_cast<std::int16_t>(floorCount);
    g.FloorPoints = 0;
    g.Timer1.enabled = true;
    Sounds();
  }
  std::string Move() { return ComputerMove(g); }
};

TEST(CaptureScan, TakesTheFirstJackOrMatchInHandOrder) {
  struct Case {
    std::vector<std::string> hand;
    const char* top;
    int floorCount;
    const char* played;
    int score;
    const char* sound;
  };
  // The floor holds 2 points before the play; a capture scores them with
  // the played card's, a tesva its fixed value instead.
  for (const auto& c : {
           Case{{"D5", "K11"}, "S5", 3, "D5", 2, "Card.voi"},   // match before the jack
           Case{{"K11", "D5"}, "S5", 3, "K11", 3, "Card.voi"},  // jack before the match
           Case{{"K11", "D5"}, "S5", 1, "K11", 3, "Card.voi"},  // jack on a lone five: no tesva
           Case{{"D5", "K11"}, "S5", 1, "D5", 10, "Tesva.voi"},
           Case{{"D3", "S11"}, "K11", 1, "S11", 15, "Tesva.voi"},  // jack on a lone jack
           Case{{"M9", "K1"}, "M1", 1, "K1", 30, "Tesva.voi"},
       }) {
    ComputerTurn t(c.hand, c.top, c.floorCount);
    t.g.FloorPoints = 2;
    EXPECT_EQ(t.Move(), c.played);
    EXPECT_EQ(t.g.Player2_Score, c.score);
    EXPECT_EQ(t.g.Player2_CardsTaken, c.floorCount + 1);
    EXPECT_EQ(t.Sounds(), std::vector<std::string>{c.sound});
    // The floor and the base card go as on the human's capture (Move and
    // Captures in engine_test.cpp).
    EXPECT_EQ(t.g.Player2_Deste.picture, c.played);
    EXPECT_EQ(t.g.Player2_Kart(2).picture, "");  // pictures vanish from the highest index
    EXPECT_EQ(t.g.Player2_Kart(1).picture, "Back");
    EXPECT_EQ(t.g.Player2_CardsLeft, 1);
    EXPECT_EQ(t.g.Label1.caption, " Oyuncu (0) oynuyor...");
  }
}

TEST(Amateur, DiscardsTheDrawnPositionAndNeverLooksFurther) {
  // Position r = 4u rounded half to even, 0 raised to 1.
  for (auto [u, played] : {std::pair{0.0, "K2"},
                           {0.37, "K2"},
                           {0.375, "S3"},
                           {0.62, "S3"},
                           {0.63, "M6"},
                           {0.875, "D8"},
                           {0.99, "D8"}}) {
    ComputerTurn t({"K2", "S3", "M6", "D8"}, "S5", 3);
    t.io.random.Queue(u);
    EXPECT_EQ(t.Move(), played) << u;
    EXPECT_EQ(t.g.TopCard, played);
    EXPECT_EQ(t.g.OrtadakiKartlar.picture, played);
    EXPECT_EQ(t.g.FloorCount, 4);
    EXPECT_EQ(t.g.Player2_Score, 0);
    EXPECT_EQ(t.g.Player2_Kart(4).picture, "");
    EXPECT_EQ(t.g.BaseCard, "S7");  // a discard leaves the base card
    EXPECT_EQ(t.io.random.QueuedValues(), 0u);
  }
  // The level is read at every tick: the professional draws a jack again,
  // then the amateur lays the drawn jack, on an empty floor only down.
  ComputerTurn t({"K11", "D5", "S9"}, "", 0, kProfessional);
  t.io.random.Queue(0.0);
  t.io.random.Queue(0.5);
  EXPECT_EQ(t.Move(), "D5");
  mnuAmator_Click(t.g);
  t.g.Timer1.enabled = true;
  t.g.FloorCount = 0;
  t.io.random.Queue(0.0);
  EXPECT_EQ(t.Move(), "K11");
  EXPECT_EQ(t.g.FloorCount, 1);
  EXPECT_EQ(t.g.FloorPoints, 1);
  EXPECT_EQ(t.g.Cikanlar(11).caption, "1");
}

TEST(Professional, DiscardChoice) {
  struct Case {
    std::vector<std::string> hand;
    std::vector<double> draws;
    std::vector<int> seenTwice;  // ranks whose tracker shows "2"
    const char* played;
    std::size_t drawsLeft;
  };
  for (const auto& c : {
           // One card: played without a draw, a jack on an empty floor too.
           Case{{"K11"}, {0.9}, {}, "K11", 1},
           // A drawn jack is drawn again.
           Case{{"K11", "D5", "S9"}, {0.0, 0.5}, {}, "D5", 0},
           Case{{"K11", "D5", "S9"}, {0.1, 0.9, 0.9}, {}, "S9", 1},
           // Every rank in hand seen twice: the first card is led, a jack too.
           Case{{"K11", "D5", "S9"}, {0.5}, {11, 5, 9}, "K11", 0},
           Case{{"K11", "D5", "S9"}, {0.5}, {5, 9}, "D5", 0},
           // Two ranks both seen twice: the first card; a pair keeps the draw.
           Case{{"D5", "S9"}, {0.9}, {5, 9}, "D5", 0},
           Case{{"D5", "S9"}, {0.9}, {5}, "S9", 0},
           Case{{"D5", "S5"}, {0.9}, {5}, "S5", 0},
           // Nothing but jacks: the drawn one is played, no endless redraw.
           Case{{"K11", "D11"}, {0.9, 0.0}, {}, "D11", 1},
       }) {
    ComputerTurn t(c.hand, "", 0, "2");
    for (int rank : c.seenTwice) t.g.Cikanlar(rank).caption = "2";
    for (double u : c.draws) t.io.random.Queue(u);
    EXPECT_EQ(t.Move(), c.played);
    EXPECT_EQ(t.io.random.QueuedValues(), c.drawsLeft);
  }
}

// Positions with one clearly best card, each for a few draws: the master
// must find it whatever its search's luck, with one draw seeding the whole
// search. It plays by the levels' shared rules (tested above).
TEST(ComputerTurn, UstaPlaysTheCardAPositionCallsForWithOneDraw) {
  struct Case {
    std::vector<std::string> hand;
    const char* top;
    int floorCount;
    const char* played;
  };
  for (const auto& c : {
           Case{{"S9", "D5", "K11"}, "K5", 1, "D5"},    // a tesva rather than a capture
           Case{{"D3", "M7", "K11"}, "S11", 1, "K11"},  // a jack's tesva on a lone jack
           Case{{"D6", "S11", "K9"}, "M2", 9, "S11"},   // the jack takes a big pile
           Case{{"K2", "D8", "M4"}, "M8", 6, "D8"},     // a match takes a big pile
           Case{{"K11", "M6", "D3"}, "S6", 1, "M6"},    // the match's tesva, the jack kept
           // The capture scan would spend the jack on the lone ace.
           Case{{"K11", "K1", "S4"}, "M1", 1, "K1"},
       }) {
    for (double draw : {0.1, 0.5, 0.9}) {
      ComputerTurn t(c.hand, c.top, c.floorCount, kMaster);
      t.io.random.Queue(draw);
      t.io.random.Queue(draw);
      EXPECT_EQ(t.Move(), c.played) << c.top << " on " << c.floorCount << ", draw " << draw;
      EXPECT_EQ(t.io.random.QueuedValues(), 1u);
    }
  }
}

TEST(ComputerTurn, LastCardOfBothHandsDealsAndAnEmptyHandDoesNothing) {
  ComputerTurn t({"D8"}, "S5", 3);
  for (int i = 1; i <= 4; ++i) t.g.Player1_Hand(i) = "";
  t.g.Player1_CardsLeft = 0;
  t.io.random.Queue(0.0);
  t.Move();
  EXPECT_EQ(t.g.DeckPos, 20);  // the next deal
  EXPECT_EQ(t.g.List2.items.size(), 4u);
  EXPECT_EQ(t.g.Player1_CardsLeft, 4);

  ComputerTurn empty({}, "S5", 3);
  GameState before = empty.g;
  Timer1_Timer(empty.g);
  EXPECT_FALSE(empty.g.Timer1.enabled);
  EXPECT_EQ(static_cast<const GameState&>(empty.g), before);
}

}  // namespace
}  // namespace tesva

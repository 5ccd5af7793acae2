// Whole games with a fixed seed, the human side played at random and every
// other event of the window thrown in: after every event each of the 52
// cards is in exactly one place and the turn is where it should be.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <set>

#include "test_support.h"

namespace tesva {
namespace {

// Where the played cards went, followed from the outside of the game.
struct Ledger {
  std::vector<std::string> deck;  // this hand's deck, to notice a new hand
  std::vector<std::string> floor, humanPile, computerPile;

  void NoticeHandStart(const Game& g) {
    if (g.List1.items.empty() || g.List1.items == deck) return;
    deck = g.List1.items;
    floor.assign(deck.begin(), deck.begin() + kFloorCards);
    humanPile.clear();
    computerPile.clear();
  }
  void Played(const std::string& card, bool captured, std::vector<std::string>& pile) {
    if (!captured) {
      floor.push_back(card);
      return;
    }
    pile.insert(pile.end(), floor.begin(), floor.end());
    pile.push_back(card);
    floor.clear();
  }
};

class PlayThrough {
 public:
  explicit PlayThrough(std::uint64_t seed) : t_{}, rng_(seed) {
    t_.io.random = ScriptedRandom(seed);
    t_.g.UstaSearch = 2;  // the master's rules, at a stress run's speed
    t_.Start();
    ledger_.NoticeHandStart(t_.g);
  }

  // Runs events until `games` games have ended; returns the final results.
  std::vector<std::string> Play(int games) {
    std::vector<std::string> results;
    for (int events = 0; results.size() < static_cast<std::size_t>(games); ++events) {
      if (events > 200000) {
        ADD_FAILURE() << "the game does not end";
        break;
      }
      Step();
      Check();
      if (testing::Test::HasFatalFailure()) break;
      if (t_.g.HandNo == 0 && finishedSeen_ != t_.g.Label1.caption) {
        finishedSeen_ = t_.g.Label1.caption;
        results.push_back(finishedSeen_);
        NewGame(false);
      }
    }
    return results;
  }

  Game& game() { return t_.g; }

 private:
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  void Step() {
    Game& g = t_.g;
    if (Roll(10) < 2) return Noise();
    if (g.Picture1Visible) return Command1_Click(g);
    if (g.Timer1.enabled) return ComputerMove();
    if (g.Timer2.enabled) return Timer2_Timer(g);
    std::vector<int> enabled;
    for (int i = 1; i <= 4; ++i) {
      if (g.Player1_Kart(i).enabled) enabled.push_back(i);
    }
    if (enabled.empty()) return;
    HumanMove(enabled[Roll(static_cast<int>(enabled.size()))]);
  }

  void HumanMove(int index) {
    Game& g = t_.g;
    std::string card = g.Player1_Hand(index);
    Player1_Kart_Click(g, index);
    ledger_.Played(card, g.FloorCount == 0, ledger_.humanPile);
  }

  void ComputerMove() {
    Game& g = t_.g;
    bool holds = !g.List2.items.empty();
    Timer1_Timer(g);
    if (!holds) return;
    bool captured = g.FloorCount == 0;
    ledger_.Played(captured ? g.Player2_Deste.picture : g.OrtadakiKartlar.picture, captured,
                   ledger_.computerPile);
  }

  void NewGame(bool running) {
    t_.io.dialogs.answers.push_back(running ? Roll(2) == 0 : true);
    mnuYeni_Click(t_.g);
    ledger_.NoticeHandStart(t_.g);
  }

  // Anything else a player can do at any moment.
  void Noise() {
    Game& g = t_.g;
    int index = 1 + Roll(4);
    switch (Roll(9)) {
      case 0:
        if (g.Player1_Kart(index).enabled) Player1_Kart_MouseMove(g, index);
        break;
      case 1:
        Form_MouseMove(g);
        break;
      case 2:  // a click on a disabled or empty card is ignored
        if (g.Player1_Kart(index).enabled) {
          HumanMove(index);
        } else {
          Player1_Kart_Click(g, index);
        }
        break;
      case 3:
        if (g.mnuHelp.enabled) mnuHelp_Click(g);
        break;
      case 4:
        if (g.mnuSecenek.enabled) {
          constexpr void (*kLevels[])(Game&) = {mnuAmator_Click, mnuPro_Click, mnuUsta_Click};
          kLevels[Roll(3)](g);
        }
        break;
      case 5:
        if (g.mnuSecenek.enabled) (Roll(2) ? mnuStandart_Click : mnuRenkli_Click)(g);
        break;
      case 6:
        if (g.mnuSecenek.enabled) (Roll(2) ? mnuSesler_Click : mnuFirst_Click)(g);
        break;
      case 7:
        if (Roll(50) == 0 && g.mnuYeni.enabled) NewGame(g.HandNo != 0);
        break;
      case 8:
        if (g.Player1_Name.enabled) {
          t_.io.dialogs.replies.push_back(Roll(2) ? "GateKeeper" : "");
          Player1_Name_Click(g);
        }
        break;
    }
  }

  void Check() {
    const Game& g = t_.g;
    ledger_.NoticeHandStart(g);
    for (int i = 1; i <= 4; ++i) {
      bool toMove = !g.Picture1Visible && !g.Timer1.enabled;
      ASSERT_EQ(g.Player1_Kart(i).enabled, toMove && !g.Player1_Hand(i).empty()) << i;
      ASSERT_EQ(g.Player1_Kart(i).picture, g.Player1_Hand(i));
    }
    if (g.HandNo == 0 || g.List1.items.empty()) return;  // no hand on the table
    const auto& deck = g.List1.items;
    std::vector<std::string> everywhere(deck.begin() + g.DeckPos, deck.end());
    using Cards = const std::vector<std::string>*;
    for (Cards part : std::initializer_list<Cards>{&g.List2.items, &ledger_.floor,
                                                   &ledger_.humanPile, &ledger_.computerPile}) {
      everywhere.insert(everywhere.end(), part->begin(), part->end());
    }
    int inHand = 0;
    for (const auto& card : g.Player1_Hand) {
      if (!card.empty()) everywhere.push_back(card), ++inHand;
    }
    std::sort(everywhere.begin(), everywhere.end());
    auto sorted = deck;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(everywhere, sorted) << "a card is lost or doubled";
    ASSERT_EQ(std::set<std::string>(deck.begin(), deck.end()).size(), 52u);

    ASSERT_EQ(g.FloorCount, static_cast<int>(ledger_.floor.size()));
    ASSERT_EQ(g.TopCard.empty(), ledger_.floor.empty());
    ASSERT_EQ(g.Player1_CardsLeft, inHand);
    ASSERT_EQ(g.Player2_CardsLeft, static_cast<int>(g.List2.items.size()));
    if (!g.Timer2.enabled) {  // the settlement has reset them
      ASSERT_EQ(g.Player1_CardsTaken, static_cast<int>(ledger_.humanPile.size()));
      ASSERT_EQ(g.Player2_CardsTaken, static_cast<int>(ledger_.computerPile.size()));
    }
    int tracked = 0;
    for (const auto& count : g.Cikanlar) tracked += std::stoi(count.caption);
    ASSERT_EQ(tracked, static_cast<int>(ledger_.floor.size() + ledger_.humanPile.size() +
                                        ledger_.computerPile.size()));
  }

  Table t_;
  std::mt19937 rng_;
  Ledger ledger_;
  std::string finishedSeen_;
};

TEST(PlayThrough, EveryCardStaysInOnePlaceOverWholeGames) {
  for (std::uint64_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    PlayThrough play(seed);
    auto results = play.Play(5);
    ASSERT_EQ(results.size(), 5u);
    for (const auto& result : results) {
      EXPECT_EQ(result.rfind(" Oyun bitti. --- ", 0), 0u) << result;
    }
  }
}

TEST(PlayThrough, TheSameSeedReplaysTheSameGame) {
  PlayThrough first(99), second(99);
  EXPECT_EQ(first.Play(2), second.Play(2));
  EXPECT_EQ(static_cast<const GameState&>(first.game()),
            static_cast<const GameState&>(second.game()));
  EXPECT_EQ(static_cast<const Form&>(first.game()), static_cast<const Form&>(second.game()));
}

}  // namespace
}  // namespace tesva

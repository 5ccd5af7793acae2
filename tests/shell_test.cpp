// Options at start-up and from the menus, new game and exit, names, watch
// mode and the rules panel.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>

#include "support/option_commands.h"
#include "test_support.h"

namespace tesva {
namespace {

std::map<std::string, std::string> StoredOptions(Table& t) {
  return t.io.store.Section(kStoreApp, kStoreSection);
}

std::vector<std::string> CheckedMenus(const Game& g) {
  std::vector<std::string> names;
  for (const auto& entry : kMenuBar) {
    if (entry.item && (g.*entry.item).checked) names.emplace_back(entry.name);
  }
  return names;
}

TEST(Options, FirstRunWritesAndAppliesTheDefaults) {
  Table t;
  t.Start();
  const Game& g = t.g;
  EXPECT_EQ(StoredOptions(t), (std::map<std::string, std::string>{{"BackGround", "32768"},
                                                                  {"CpuDusunmeHizi", "100"},
                                                                  {"CpuIsim", "Bilgisayar"},
                                                                  {"Deste", "Back"},
                                                                  {"ElSayisi", "11"},
                                                                  {"OyuncuIsim", "Oyuncu"},
                                                                  {"Sesler", "1"},
                                                                  {"Seviye", "1"}}));
  // What the defaults show on the table, the driver's snapshot of a first
  // run checks (DriverLines.SnapshotOfAStackedDeal).
  EXPECT_EQ(CheckedMenus(g), (std::vector<std::string>{"mnuAmator", "mnuYesil", "mnuRenkli",
                                                       "mnuSecond", "mnuSesler"}));
}

// One stored option, the rest as on the first run.
struct Stored {
  const char* key;
  const char* value;
  std::function<void(const Game&)> check;
};

TEST(Options, StoredValuesAreAppliedAndBadOnesSanitised) {
  auto checkedDelay = [](const Game& g) {
    for (auto item : {&Form::mnuFirst, &Form::mnuSecond, &Form::mnuTherd, &Form::mnuLast}) {
      if ((g.*item).checked) return (g.*item).caption;
    }
    return std::string();
  };
  std::vector<Stored> cases = {
      {"Seviye", "3",
       [](const Game& g) {
         EXPECT_TRUE(g.Level == "3" && g.mnuUsta.checked && !g.mnuPro.checked &&
                     !g.mnuAmator.checked);
       }},
      {"Seviye", "4",
       [](const Game& g) {
         EXPECT_TRUE(g.Level == "2" && g.mnuPro.checked && !g.mnuAmator.checked &&
                     !g.mnuUsta.checked);
       }},
      {"Seviye", " 3", [](const Game& g) { EXPECT_TRUE(g.Level == "2" && g.mnuPro.checked); }},
      {"CpuDusunmeHizi", "500",
       [&](const Game& g) {
         EXPECT_EQ(g.Timer1.interval, 500);
         EXPECT_EQ(checkedDelay(g), "1/2 Sn");
       }},
      {"CpuDusunmeHizi", "250",
       [&](const Game& g) {
         EXPECT_EQ(g.Timer1.interval, 250);
         EXPECT_EQ(checkedDelay(g), "1/10 Sn");
       }},
      {"CpuDusunmeHizi", "65536", [](const Game& g) { EXPECT_EQ(g.Timer1.interval, 100); }},
      {"CpuDusunmeHizi", " 10", [&](const Game& g) { EXPECT_EQ(checkedDelay(g), "1/10 Sn"); }},
      {"ElSayisi", " 7",
       [](const Game& g) {
         EXPECT_EQ(g.HandsPerGame, 7);
         EXPECT_EQ(g.mnuElSayisi.caption, "El sayısı     ( 7)");
       }},
      {"ElSayisi", "2,5", [](const Game& g) { EXPECT_EQ(g.HandsPerGame, 2); }},
      {"ElSayisi", "abc",
       [](const Game& g) {
         EXPECT_EQ(g.HandsPerGame, 11);
         EXPECT_EQ(g.mnuElSayisi.caption, "El sayısı     (11)");
       }},
      {"ElSayisi", "99999999999999999999", [](const Game& g) { EXPECT_EQ(g.HandsPerGame, 11); }},
      {"Sesler", "0", [](const Game& g) { EXPECT_FALSE(g.mnuSesler.checked); }},
      {"BackGround", "8388608",
       [](const Game& g) { EXPECT_TRUE(g.BackColor == kNavy && g.mnuLacivert.checked); }},
      {"BackGround", "255",
       [](const Game& g) { EXPECT_TRUE(g.BackColor == kGreen && g.mnuYesil.checked); }},
      {"Deste", "../../etc/passwd",
       [](const Game& g) {
         EXPECT_EQ(g.CardBack, "Back2");
         EXPECT_EQ(g.Deste.picture, "Back2");
         EXPECT_TRUE(g.mnuStandart.checked && !g.mnuRenkli.checked);
       }},
      {"OyuncuIsim", "GateKeeper",
       [](const Game& g) {
         EXPECT_TRUE(WatchModeOn(g) && g.Cikanlar(13).visible);
         EXPECT_EQ(g.Player1_Name.caption, "GateKeeper (0)");
       }},
      {"CpuIsim", "", [](const Game& g) { EXPECT_EQ(g.Player2_Name.caption, " (0)"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    Table t;
    Form_Load(t.g);  // the first run, then a restart with one value changed
    t.Store(c.key, c.value);
    Table restarted;
    for (const auto& [key, value] : StoredOptions(t)) restarted.Store(key, value);
    restarted.Start();
    c.check(restarted.g);
    EXPECT_EQ(restarted.Stored(c.key), c.value);  // start-up does not rewrite it
  }
}

TEST(Menus, EveryCommandChangesItsStateMarksAndStoreAtOnce) {
  Table t;
  t.Start();
  Game& g = t.g;
  OptionMarks marks;
  for (const auto& c : kOptionCommands) {
    FindMenu(c.item)->click(g);
    marks.Choose(c.item);
    EXPECT_EQ(t.Stored(c.key), c.value) << c.item;
    auto checked = CheckedMenus(g);
    EXPECT_EQ(std::set<std::string>(checked.begin(), checked.end()), marks.checked) << c.item;
  }
  mnuLacivert_Click(g);
  mnuTherd_Click(g);
  mnuPro_Click(g);
  EXPECT_EQ(g.BackColor, kNavy);
  EXPECT_EQ(g.Timer1.interval, 500);
  EXPECT_EQ(g.Level, "2");
}

TEST(Menus, HandsDialogAcceptsOneToNinetyNineElseEleven) {
  for (auto [reply, hands] : std::vector<std::pair<std::string, int>>{{"7", 7},
                                                                      {"2.5", 2},
                                                                      {"3.5", 4},
                                                                      {"-3", 11},
                                                                      {"00", 11},
                                                                      {"abc", 11},
                                                                      {"150", 11},
                                                                      {"", 11},
                                                                      {" 12 ", 12},
                                                                      {"1,5", 2},
                                                                      {"0,5", 11},
                                                                      {"99", 99},
                                                                      {"99.5", 11},
                                                                      {"+5", 5},
                                                                      {".5", 11},
                                                                      {"5.", 5},
                                                                      {"1.2.3", 11},
                                                                      {"7 hands", 11}}) {
    Table t;
    t.Start();
    t.io.dialogs.replies.push_back(reply);
    mnuElSayisi_Click(t.g);
    EXPECT_EQ(t.g.HandsPerGame, hands) << '"' << reply << '"';
    EXPECT_EQ(t.g.mnuElSayisi.caption, "El sayısı     (" + std::to_string(hands) + ")");
    EXPECT_EQ(t.Stored("ElSayisi"), std::to_string(hands));
    EXPECT_EQ(t.io.dialogs.shown.back(), "Lütfen kaç el oynamak istediğinizi belirleyin...");
  }
}

TEST(Menus, CardBackRepaintsOnlyFaceDownCards) {
  Table t;
  t.Start();
  Game& g = t.g;
  mnuStandart_Click(g);  // the floor still shows its face-down cards
  EXPECT_EQ(g.OrtadakiKartlar.picture, "Back2");
  EXPECT_EQ(g.Deste.picture, "Back2");
  EXPECT_EQ(g.Player2_Kart(4).picture, "Back2");
  auto hand = g.Player1_Hand;
  // A card laid face up on the first floor keeps its face.
  g.OrtadakiKartlar.picture = "K5";
  g.Player1_Deste.picture = "S3";
  g.Player2_CardsLeft = 2;
  g.Player2_Kart(3).picture = g.Player2_Kart(4).picture = "";
  mnuRenkli_Click(g);
  EXPECT_EQ(g.OrtadakiKartlar.picture, "K5");
  EXPECT_EQ(g.Player1_Deste.picture, "Back");
  EXPECT_EQ(g.Player2_Kart(2).picture, "Back");
  EXPECT_EQ(g.Player2_Kart(3).picture, "");
  EXPECT_EQ(g.Player1_Hand, hand);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(g.Player1_Kart(i).picture, hand(i));
}

TEST(NewGame, AsksWhileAGameRunsAndStartsAfresh) {
  Table t;
  t.Start();
  Game& g = t.g;
  Player1_Kart_Click(g, 2);
  g.Player1_Score = 20;
  const GameState state = g;
  const Form form = g;
  t.io.dialogs.answers.push_back(false);
  mnuYeni_Click(g);
  EXPECT_EQ(t.io.dialogs.shown.back(),
            "Bu oyunu iptal edip yeni bir oyuna başlamak istediğinize emin misiniz?");
  EXPECT_EQ(static_cast<const GameState&>(g), state);
  EXPECT_EQ(static_cast<const Form&>(g), form);

  t.io.dialogs.answers.push_back(true);
  mnuYeni_Click(g);
  EXPECT_EQ(g.Player1_Score, 0);
  EXPECT_EQ(g.HandNo, 1);
  EXPECT_EQ(g.Dealer, "Cpu");
  EXPECT_FALSE(g.Timer1.enabled);  // the old game's computer move is dropped
  EXPECT_EQ(EnabledSlots(g), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(g.Player1_Name.caption, "Oyuncu (0)");
  EXPECT_EQ(g.MousePointer, Pointer::kDefault);
  EXPECT_EQ(g.FloorCount, 4);
}

TEST(NewGame, AfterTheEndNoQuestionAndDuringThePauseThePauseIsDropped) {
  Table t;
  t.Store("ElSayisi", "1");
  t.Store("Seviye", "1");
  t.Store("Sesler", "1");
  t.Start();
  Game& g = t.g;
  t.PlayOutHand();
  Timer2_Timer(g);  // one tick into the first pause
  t.io.dialogs.answers.push_back(true);
  mnuYeni_Click(g);
  EXPECT_FALSE(g.Timer2.enabled);
  EXPECT_EQ(g.HandNo, 1);
  EXPECT_EQ(t.io.dialogs.shown.size(), 1u);
  t.PlayOutHand();
  Timer2_Timer(g);  // the counter kept its tick: this one acts
  EXPECT_EQ(g.HandNo, 0);
  mnuYeni_Click(g);  // the game is over: no question
  EXPECT_EQ(t.io.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.HandNo, 1);
}

TEST(Names, RenamingAndWatchMode) {
  Table t;
  t.Start();
  Game& g = t.g;
  g.Player1_Score = 5;
  t.io.dialogs.replies = {"GateKeeper", "", "Ayşe", "ĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞĞ"};
  Player1_Name_Click(g);
  EXPECT_TRUE(WatchModeOn(g));
  EXPECT_EQ(g.Player1_Name.caption, "GateKeeper (5)");
  EXPECT_EQ(t.io.dialogs.shown.back(), "'' Oyuncu '' için isim giriniz...");
  Player1_Name_Click(g);  // cancelled: name and watch mode stay
  EXPECT_TRUE(WatchModeOn(g));
  EXPECT_EQ(t.Stored("OyuncuIsim"), "GateKeeper");
  Player1_Name_Click(g);
  EXPECT_FALSE(WatchModeOn(g));
  EXPECT_FALSE(g.Cikanlar(1).visible);
  EXPECT_EQ(g.Player1_Name.caption, "Ayşe (5)");
  Player1_Name_Click(g);  // cut to 30 characters, not bytes
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += "Ğ";
  EXPECT_EQ(t.Stored("OyuncuIsim"), thirty);
  EXPECT_EQ(g.Label1.caption, " Oyuncu (0) oynuyor...");  // the status line waits

  t.io.dialogs.replies = {"", "Deep Blue"};
  Player2_Name_Click(g);
  EXPECT_EQ(g.Player2_Name.caption, "Bilgisayar (0)");
  Player2_Name_Click(g);
  EXPECT_EQ(g.Player2_Name.caption, "Deep Blue (0)");
  EXPECT_EQ(t.io.dialogs.shown.back(), "'' Bilgisayar '' için isim giriniz...");
  EXPECT_EQ(CutToCharacters("abc", 2), "ab");
  EXPECT_EQ(CutToCharacters("\xff\xfe", 1), "\xff");  // broken bytes count one each
}

TEST(RulesPanel, DisablesCommandsAndLeavesTheTurnToTheGame) {
  Table t;
  t.Start();
  Game& g = t.g;
  Player1_Kart_Click(g, 2);
  mnuHelp_Click(g);
  EXPECT_TRUE(g.Picture1Visible);
  EXPECT_TRUE(!g.mnuYeni.enabled && !g.mnuSecenek.enabled && !g.mnuHelp.enabled &&
              !g.mnuCikis.enabled && !g.Player1_Name.enabled && !g.Player2_Name.enabled);
  EXPECT_FALSE(MenuReachable(g, *FindMenu("mnuPro")));
  EXPECT_TRUE(g.mnuPro.enabled);
  // The computer moves meanwhile; the human's cards stay disabled.
  Timer1_Timer(g);
  EXPECT_EQ(EnabledSlots(g), std::vector<int>{});
  Command1_Click(g);
  EXPECT_FALSE(g.Picture1Visible);
  EXPECT_EQ(EnabledSlots(g), (std::vector<int>{1, 3, 4}));
  EXPECT_TRUE(MenuReachable(g, *FindMenu("mnuPro")));

  // Closed while the computer is still to move: the cards wait for it.
  Player1_Kart_Click(g, 1);
  mnuHelp_Click(g);
  Command1_Click(g);
  EXPECT_EQ(EnabledSlots(g), std::vector<int>{});
  EXPECT_TRUE(g.Player1_Name.enabled);
  EXPECT_EQ(FindMenu("line1"), nullptr);
}

// --- The table's size ----------------------------------------------------------

TEST(TableScale, OnlyTheThreeSizesAreRead) {
  for (int size : {100, 150, 200}) EXPECT_EQ(ParseTableScale(std::to_string(size)), size);
  for (std::string_view hostile :
       {"", "abc", "0150", "175", "15", "1500", "150 ", " 150", "+150", "-100", "150%", "%150",
        "1.5", "150.0", "1e2", "99999999999999999999999", "2OO"}) {
    EXPECT_EQ(ParseTableScale(hostile), std::nullopt) << hostile;
  }
  EXPECT_EQ(ParseTableScale(std::string_view("150\0", 4)), std::nullopt);
  EXPECT_EQ(ParseTableScale(std::string(100000, '1')), std::nullopt);
}

// The window's heights at 100, 150 and 200 % on a few screens: the largest
// that fits in three quarters of the available height wins.
TEST(TableScale, TheFirstRunPicksTheLargestThatFits) {
  const std::array<int, 3> heights = {481, 709, 937};
  EXPECT_EQ(FittingTableScale(heights, 1040), 150);  // 1920 x 1080 less a panel: 780 of room
  EXPECT_EQ(FittingTableScale(heights, 1400), 200);  // 2560 x 1440
  EXPECT_EQ(FittingTableScale(heights, 1250), 200);  // 937 * 4 = 3748 <= 3750
  EXPECT_EQ(FittingTableScale(heights, 1249), 150);
  EXPECT_EQ(FittingTableScale(heights, 946), 150);  // 709 * 4 = 2836 <= 2838
  EXPECT_EQ(FittingTableScale(heights, 945), 100);
  EXPECT_EQ(FittingTableScale(heights, 600), 100);  // too small for any: the smallest
  EXPECT_EQ(FittingTableScale(heights, 0), 100);
  EXPECT_EQ(FittingTableScale(heights, -5), 100);
  EXPECT_EQ(FittingTableScale(heights, std::numeric_limits<int>::max()), 200);
  // A size the window could not measure never counts as fitting.
  EXPECT_EQ(FittingTableScale({481, 0, -1}, 4000), 100);
}

TEST(TableScale, AStoredSizeWinsAndOnlyTheFirstRunMeasures) {
  const std::array<int, 3> heights = {481, 709, 937};
  EXPECT_EQ(OpeningTableScale(true, "", heights, 1400), 200);
  EXPECT_EQ(OpeningTableScale(true, "100", heights, 1400), 100);
  EXPECT_EQ(OpeningTableScale(false, "200", heights, 600), 200);
  // Later runs: absent or unusable is 100 %, whatever the screen.
  EXPECT_EQ(OpeningTableScale(false, "", heights, 1400), 100);
  EXPECT_EQ(OpeningTableScale(false, "175", heights, 1400), 100);
  EXPECT_EQ(OpeningTableScale(true, "abc", heights, 1040), 150);
}

// The size is the window's own option: the first run's defaults stay the
// eight, and a stored size changes none of them.
TEST(TableScale, LeavesTheEightOptionsAlone) {
  Table t;
  t.Store(kKeyTableScale, "200");
  t.Start();
  auto stored = StoredOptions(t);
  EXPECT_EQ(stored.size(), 9u);
  EXPECT_EQ(stored[std::string(kKeyTableScale)], "200");
  EXPECT_EQ(stored["Seviye"], "1");
}

}  // namespace
}  // namespace tesva

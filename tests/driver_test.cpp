// The headless driver: whole scripts through the built program, and lines in process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "engine/cards.h"
#include "headless/driver.h"
#include "shell/main_window.h"
#include "support/deck.h"
#include "support/run_command.h"
#include "support/seeded.h"

namespace {

using nlohmann::json;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

Lines Split(const std::string& text, char end = '\n') {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line, end);) lines.push_back(line);
  return lines;
}

// Runs the built program through the shell (`arguments` may redirect its
// input) and returns its exit status and the lines it printed.
std::pair<int, Lines> RunProgram(const std::string& arguments, const std::string& env = "") {
  auto [status, out] =
      tesva::RunCommand(env + " '" TESVA_HEADLESS "' " + arguments + " 2>/dev/null");
  return {status, Split(out)};
}

// Runs the built program on `script`, written to a file that it is given
// by name or, after `redirect` "<", on its standard input.
std::pair<int, Lines> RunScript(const std::string& script, const std::string& env,
                                const std::string& redirect = "") {
  auto path = fs::temp_directory_path() / ("tesva-" + std::to_string(::getpid()) + "-script.txt");
  std::ofstream(path, std::ios::binary) << script;
  auto result = RunProgram(redirect + "'" + path.string() + "'", env);
  fs::remove(path);
  return result;
}

// A driver in process; Run carries out lines and returns what they printed.
struct Session {
  explicit Session(std::uint64_t seed = 1) : driver(out, seed) {}
  Lines Run(const Lines& lines) {
    out.str("");
    for (const auto& line : lines) driver.Line(line);
    return Split(out.str());
  }
  json Dump() { return json::parse(Run({"dump"}).at(0)); }
  std::ostringstream out;
  tesva::Driver driver;
};

// Every member that `expected` names has that value in `actual`, member by
// member: an expected object may name only some members.
void ExpectMembers(const json& actual, const json& expected, const std::string& path = "") {
  if (!expected.is_structured() || expected.type() != actual.type() ||
      (expected.is_array() && expected.size() != actual.size())) {
    EXPECT_EQ(actual, expected) << path;
    return;
  }
  for (const auto& [key, value] : expected.items()) {
    json member = actual.is_array() ? actual[std::stoul(key)] : actual.value(key, json());
    ExpectMembers(member, value, path + "/" + key);
  }
}

std::string DeckLine(const Lines& deck) {
  std::string line = "deck";
  for (const auto& code : deck) line += " " + code;
  return line;
}

// Eleven hands at the professional level, with options changed and the
// players renamed after start-up; the human plays its cards left to right.
TEST(DriverProgram, PlaysAWholeGameReproducibly) {
  std::string script =
      "start\nmenu mnuPro\nmenu mnuFirst\nmenu mnuStandart\nmenu mnuLacivert\n"
      "store OyuncuIsim Ayşe Yılmaz\nreply Deniz\nclick Player2_Name\n";
  for (int move = 0; move < 11 * 24; ++move) {
    script += "click Player1_Kart(" + std::to_string(move % 4 + 1) + ")\nwait\n";
  }
  auto [status, out] = RunScript(script += "dump\n", "TESVA_SEED=2024");
  ASSERT_EQ(status, 0);
  json end = json::parse(out.at(0));

  int s1 = end["state"]["Player1_Score"], s2 = end["state"]["Player2_Score"];
  auto verdict = s1 > s2 ? "Ayşe Yılmaz kazandı." : s1 < s2 ? "Deniz kazandı." : "Durum: Berabere.";
  EXPECT_EQ(end["labels"]["Label1"]["caption"],
            " Oyun bitti. --- Ayşe Yılmaz: " + std::to_string(s1) +
                " - Deniz: " + std::to_string(s2) + " --- " + verdict);
  EXPECT_EQ(end["state"]["HandNo"], 0);
  // One sound for every card played in 11 hands of 48 cards, then the verdict.
  auto sounds = end["sounds"].get<Lines>();
  ASSERT_EQ(sounds.size(), 11u * 48 + 1);
  EXPECT_EQ(sounds.back(), s1 > s2 ? "Laugh.voi" : s1 < s2 ? "Lose.voi" : "With.voi");
  std::erase_if(sounds, [](auto& sound) { return sound == "Card.voi" || sound == "Tesva.voi"; });
  EXPECT_EQ(sounds.size(), 1u);
  EXPECT_EQ(end["dialogs"], json::array({"'' Bilgisayar '' için isim giriniz..."}));
  EXPECT_EQ(end["store"], json::parse(R"json({"Seviye": "2", "CpuDusunmeHizi": "10",
      "ElSayisi": "11", "Sesler": "1", "OyuncuIsim": "Ayşe Yılmaz", "CpuIsim": "Deniz",
      "BackGround": "8388608", "Deste": "Back2"})json"));
  // TESVA_SEED makes the run reproducible: the same seed in process plays the same game.
  EXPECT_EQ(Session(2024).Run(Split(script)), out);
}

// A one-hand game against the master: TESVA_USTA_SEARCH sets its search as
// the driver's SetUstaSearch does, so a run with it replays exactly.
TEST(DriverProgram, MasterReplaysWithTheSearchSizeFromTheEnvironment) {
  std::string script = "store Seviye 1\nstore ElSayisi 1\nstart\nmenu mnuUsta\n";
  for (int move = 0; move < 24; ++move) {
    script += "click Player1_Kart(" + std::to_string(move % 4 + 1) + ")\nwait\n";
  }
  auto [status, out] = RunScript(script += "dump\n", "TESVA_SEED=5 TESVA_USTA_SEARCH=2");
  ASSERT_EQ(status, 0);
  EXPECT_EQ(json::parse(out.at(0))["labels"]["Label1"]["caption"].get<std::string>().rfind(
                " Oyun bitti.", 0),
            0u);
  Session same(5);
  same.driver.SetUstaSearch(2);
  EXPECT_EQ(same.Run(Split(script)), out);
}

TEST(DriverProgram, ExitStatusInputAndEnd) {
  auto missing = fs::temp_directory_path() / "tesva-no-such-folder" / "script.txt";
  EXPECT_EQ(RunProgram("'" + missing.string() + "'"), std::make_pair(2, Lines{}));
  EXPECT_EQ(RunProgram("'" + fs::temp_directory_path().string() + "'").first, 2);

  // From standard input, with Windows line ends: comments and blank lines are skipped, TEXT
  // keeps its blanks, the run goes on after an error, and after the exit nothing is read.
  auto [status, out] = RunScript(
      "# set-up\r\n\r\n   \r\nstart\r\nclick Deste\r\necho  two  blanks \r\n"
      "menu mnuCikis\r\nfrobnicate\r\ndump\r\n",
      "", "<");
  EXPECT_EQ(status, 1);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(out[0].starts_with("error: ")) << out[0];
  EXPECT_EQ(Lines(out.begin() + 1, out.end()), (Lines{" two  blanks ", "exited"}));
}

// Every line that cannot be carried out prints one error and changes nothing:
// the snapshot after it equals the one before, with no sound and no dialog;
// a bad queue line queues nothing.
TEST(DriverLines, UndeliverableLinesChangeNothing) {
  auto deck = tesva::Deck({"D4", "S9", "K12", "M1"});
  auto head = DeckLine({deck.begin(), deck.end() - 1});  // 51 codes
  // A line after ">" brings the game into the state in which the lines after it fail.
  Lines cases = Split(
      "click Player1_Kart(1)|hover main|menu mnuYeni|tick Timer1|wait|"
      ">start|start|start now|frobnicate|Click Command1|dump now|wait now|store|unstore|"
      "click Player1_Kart(0)|click Player1_Kart(5)|click Player1_Kart(x)|click Deste|"
      "click Command1|hover Deste|hover Player1_Kart(7)|menu line1|menu mnuNope|menu|tick Timer1|"
      "tick Timer2|tick Timer3|deck K1|random|random 0.5 |random 0.25 1|random 0.5 -0.1|"
      "random 0.1 1e-3|random nan|answer maybe|answer Yes|answer|"
      ">click Player1_Kart(1)|click Player1_Kart(2)|hover Player1_Kart(2)|"  // Cpu to play
      ">wait|click Player1_Kart(1)|hover Player1_Kart(1)|"                   // an empty slot
      ">menu mnuHelp|menu mnuHelp|menu mnuYeni|menu mnuPro|menu mnuSecenek|menu mnuCikis|"
      "click Player1_Name|click Player2_Name|click Player1_Kart(2)|>click Command1|click Command1",
      '|');
  // Decks of a card twice, of a double blank, and of codes that name no card.
  for (auto tail : {" D4", "  M13", " X1", " K14", " K01"}) cases.push_back(head + tail);
  Session s;
  int errors = 0;
  for (const auto& line : cases) {
    if (line.starts_with(">")) {
      ASSERT_EQ(s.Run({line.substr(1)}), Lines{}) << line;
      continue;
    }
    s.driver.Dump();  // forgets the sounds and dialogs of the set-up
    json before = s.Dump();
    auto printed = s.Run({line});
    EXPECT_TRUE(printed.size() == 1 && printed[0].starts_with("error: ") && printed[0].size() > 7)
        << line;
    EXPECT_EQ(s.Dump(), before) << line;
    ++errors;
  }
  EXPECT_EQ(s.driver.Errors(), errors);
  EXPECT_EQ(s.driver.platform().random.QueuedValues(), 0u);
  EXPECT_TRUE(s.driver.platform().dialogs.answers.empty());

  // The good queue lines after them are the ones served, each in turn.
  EXPECT_EQ(s.Run({"random 0 .5 0.999 0.", DeckLine(deck), "answer yes", "menu mnuYeni",
                   "reply Kemal Sunal", "reply", "click Player1_Name", "click Player2_Name",
                   "store CpuIsim  Ali Veli ", "store Deste", "unstore Sesler"}),
            Lines{});
  EXPECT_EQ(s.driver.platform().random.QueuedValues(), 4u);
  json after = s.Dump();
  EXPECT_EQ(after["List1"], deck);
  EXPECT_FALSE(after["store"].contains("Sesler"));
  ExpectMembers(after, json::parse(R"json({
    "labels": {"Player1_Name": {"caption": "Kemal Sunal (0)"}},
    "dialogs": ["Bu oyunu iptal edip yeni bir oyuna başlamak istediğinize emin misiniz?",
                "'' Oyuncu '' için isim giriniz...", "'' Bilgisayar '' için isim giriniz..."],
    "store": {"OyuncuIsim": "Kemal Sunal", "CpuIsim": " Ali Veli ", "Deste": ""}})json"));
  EXPECT_EQ(s.Dump()["dialogs"], json::array());  // reported once
}

// The snapshot after a deal from a queued deck, and the members that a mouse
// move, a move and the computer's queued draw change.
TEST(DriverLines, SnapshotOfAStackedDeal) {
  auto deck =
      tesva::Deck({"S7", "K1", "D10", "M4", "K7", "D3", "S12", "M12", "K3", "D5", "S6", "M8"});
  Session s;
  s.Run({DeckLine(deck), "start"});
  json dealt = s.Dump();
  EXPECT_EQ(dealt["List1"], deck);
  EXPECT_EQ(dealt["menus"].size(), 22u);  // every item of the menu bar, no separator
  ExpectMembers(dealt, json::parse(R"json({
    "state": {"HoverActive": true, "HoverIndex": 0, "Player1_Score": 0, "Player2_Score": 0,
      "Dealer": "Cpu", "DeckPos": 12, "Player1_DealtHand": ["K7", "D3", "S12", "M12"],
      "TopCard": "S7", "BaseCard": "S7", "FloorCount": 4, "FloorPoints": 4,
      "Player1_CardsTaken": 0, "Player2_CardsTaken": 0, "Player1_Hand": ["K7", "D3", "S12", "M12"],
      "Player1_CardsLeft": 4, "Player2_CardsLeft": 4, "HandNo": 1, "HandsPerGame": 11,
      "Level": "1", "CardBack": "Back", "PointCards": ["K1", "D1", "S1", "M1", "K11", "D11",
      "S11", "M11", "S2", "D10"]},
    "List2": ["K3", "D5", "S6", "M8"],
    "Cikanlar": ["1", "0", "0", "1", "0", "0", "1", "0", "0", "1", "0", "0", "0"],
    "window": {"caption": "Tesva 1.5", "background": 32768, "pointer": "default"},
    "pictures": {"Player1_Kart": [{"picture": "K7", "enabled": true}, {"picture": "D3",
      "enabled": true}, {"picture": "S12", "enabled": true}, {"picture": "M12", "enabled": true}],
      "Player2_Kart": [{"picture": "Back", "enabled": true}, {}, {}, {"picture": "Back"}],
      "Player1_Deste": {"picture": "Back"}, "OrtadakiKartlar": {"picture": "Back"},
      "EnAltKart": {"picture": "S7"}},
    "labels": {"Label1": {"caption": " Oyuncu (0) oynuyor...", "visible": true, "enabled": true},
      "Label7": {"caption": "1. El oynanıyor..."}, "Label8": {"caption": "Deste (40)"},
      "Player2_Name": {"caption": "Bilgisayar (0)"}},
    "visible": {"List2": false, "Cikanlar": false, "Picture1": false},
    "Shape1": {"visible": false, "left": 5460, "top": 2400}, "zorder": [1, 2, 3, 4],
    "timers": {"Timer1": {"enabled": false, "interval": 100}, "Timer2": {"interval": 500}},
    "menus": {"mnuAmator": {"checked": true}, "mnuPro": {"checked": false, "enabled": true},
      "mnuUsta": {"caption": "Usta", "checked": false, "enabled": true}, "mnuElSayisi": {"caption": "El sayısı     (11)"}},
    "store": {"Seviye": "1", "CpuDusunmeHizi": "100", "ElSayisi": "11", "OyuncuIsim": "Oyuncu"},
    "sounds": [], "dialogs": []})json"));

  s.Run({"hover Player1_Kart(3)"});
  ExpectMembers(s.Dump(), json::parse(R"json({"state": {"HoverIndex": 3},
    "Shape1": {"visible": true, "left": 3840, "top": 4440}, "zorder": [1, 2, 4, 3]})json"));
  // K7 takes the floor; the queued 0.3 makes the computer lay down the first
  // of its four cards, K3. Each dump reports the sounds since the one before.
  s.Run({"click Player1_Kart(1)", "random 0.3", "wait"});
  ExpectMembers(s.Dump(), json::parse(R"json({"state": {"TopCard": "K3", "Player1_Score": 4,
    "FloorCount": 1, "FloorPoints": 0}, "List2": ["D5", "S6", "M8"],
    "pictures": {"Player1_Deste": {"picture": "K7"}}, "sounds": ["Card.voi", "Card.voi"]})json"));
  EXPECT_EQ(s.Dump()["sounds"], json::array());
}

// A random line: mostly words of the driver's language, right or wrong, and
// random bytes; or, once the window is loaded, a move that plays the game on.
std::string RandomLine(bool loaded, const json& last, std::mt19937_64& rng) {
  static const Lines kWords = Split(
      "store unstore start deck random reply answer click hover menu tick wait dump echo Click # "
      "Player1_Kart(1) Player1_Kart(0) Player1_Name Command1 main Timer1 Timer2 yes 0.5 1 -3 "
      "Seviye ElSayisi OyuncuIsim BackGround Deste Sesler 8388608 Back2 2.5 1e400 line2 K1",
      ' ');
  auto pick = [&](std::size_t n) { return rng() % n; };
  if (loaded && pick(20) == 0) {
    return pick(2) ? "reply 2"
                   : "menu " + std::string(tesva::kMenuBar[pick(tesva::kMenuBar.size())].name);
  }
  if (loaded && pick(3) > 0) {
    Lines cards;
    for (int i = 0; i < 4; ++i) {
      if (!last["pictures"]["Player1_Kart"][i]["enabled"].get<bool>()) continue;
      cards.push_back((pick(4) ? "click" : "hover") +
                      (" Player1_Kart(" + std::to_string(i + 1) + ")"));
    }
    if (!cards.empty()) return cards[pick(cards.size())];
    if (last["visible"]["Picture1"].get<bool>()) return "click Command1";
    return last["state"]["HandNo"] == 0 ? "menu mnuYeni" : "wait";
  }
  std::string line = kWords[pick(kWords.size())];
  for (std::size_t words = pick(4); words > 0; --words) line += ' ' + kWords[pick(kWords.size())];
  for (std::size_t bytes = pick(3) ? 0 : pick(40); bytes > 0; --bytes) {
    if (char byte = static_cast<char>(pick(256)); byte != '\n') {
      line.insert(pick(line.size()), 1, byte);
    }
  }
  return line;
}

// Random lines never break the driver: nothing throws, every snapshot is
// valid JSON and no card is lost.
TEST(DriverLines, RandomLinesNeverBreakTheDriver) {
  auto rng = tesva::Seeded(5);
  std::unique_ptr<Session> session;
  json last;
  for (int i = 0; i < 5000; ++i) {
    if (!session || session->driver.Finished()) {
      session = std::make_unique<Session>(i);
      session->Run({"store Seviye 2", "store ElSayisi 2"});  // short games
      session->driver.SetUstaSearch(2);                      // and a quick master
    }
    std::string line = RandomLine(session->driver.Loaded(), last, rng);
    ASSERT_NO_THROW(session->Run({line})) << line;
    if (session->driver.Finished()) continue;
    ASSERT_NO_THROW(last = session->Dump()) << "after " << line;
    // Every card dealt is in a hand, on the floor or taken (unless the hand is being settled).
    auto n = [&](const char* key) { return last["state"][key].get<int>(); };
    if (last["List1"].empty() || last["timers"]["Timer2"]["enabled"].get<bool>()) continue;
    ASSERT_EQ(n("Player1_CardsLeft") + n("Player2_CardsLeft") + n("FloorCount") +
                  n("Player1_CardsTaken") + n("Player2_CardsTaken"),
              n("DeckPos"))
        << "after " << line << ": " << last.dump();
  }
}

}  // namespace

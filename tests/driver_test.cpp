// The headless driver: whole scripts through the tesva-headless program, and
// line by line in process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>

#include "engine/cards.h"
#include "headless/driver.h"
#include "shell/main_window.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("tesva-" + std::to_string(::getpid()) + "-" + name);
}

fs::path WriteTemp(const std::string& name, const std::string& text) {
  auto path = TempFile(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

struct ProgramRun {
  int status = -1;
  std::vector<std::string> out;
  std::string err;
};

// Runs the built program through the shell: `arguments` may redirect its input.
ProgramRun RunProgram(const std::string& arguments, const std::string& environment = "") {
  auto out = TempFile("stdout.txt"), err = TempFile("stderr.txt");
  std::string command = environment + " '" TESVA_HEADLESS "' " + arguments + " >'" + out.string() +
                        "' 2>'" + err.string() + "'";
  int raw = std::system(command.c_str());
  ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, SplitLines(ReadFile(out)), ReadFile(err)};
  fs::remove(out);
  fs::remove(err);
  return run;
}

std::string Script(const std::string& name) {
  return std::string(TESVA_SCRIPTS) + "/" + name;
}

// A driver in process, with its output at hand.
struct Session {
  explicit Session(std::uint64_t seed = 1) : driver(out, seed) {}
  // Carries out the lines and returns what they printed.
  std::vector<std::string> Run(const std::vector<std::string>& lines) {
    out.str("");
    for (const auto& line : lines) driver.Line(line);
    return SplitLines(out.str());
  }
  json Dump() { return json::parse(Run({"dump"}).at(0)); }

  std::ostringstream out;
  tesva::Driver driver;
};

// Every member that `expected` names has that value in `actual`; objects and
// arrays are compared member by member, so an expected object may name only
// some members.
void ExpectMembers(const json& actual, const json& expected, const std::string& path = "") {
  if (expected.is_object() && actual.is_object()) {
    for (const auto& [key, value] : expected.items()) {
      if (!actual.contains(key)) ADD_FAILURE() << path << "/" << key << " is missing";
      if (actual.contains(key)) ExpectMembers(actual[key], value, path + "/" + key);
    }
  } else if (expected.is_array() && actual.is_array() && expected.size() == actual.size()) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ExpectMembers(actual[i], expected[i], path + "/" + std::to_string(i));
    }
  } else {
    EXPECT_EQ(actual, expected) << path;
  }
}

// A deck in dealing order: `first`, then every other card in suit and rank order.
std::vector<std::string> DeckStartingWith(std::vector<std::string> deck) {
  for (auto suit : tesva::kSuits) {
    for (int rank = 1; rank <= tesva::kRanks; ++rank) {
      auto code = std::string(suit) + std::to_string(rank);
      if (std::find(deck.begin(), deck.end(), code) == deck.end()) deck.push_back(code);
    }
  }
  return deck;
}

std::string DeckLine(const std::vector<std::string>& deck) {
  std::string line = "deck";
  for (const auto& code : deck) line += " " + code;
  return line;
}

// The lines of a whole game: the human always plays its cards left to right.
std::string WholeGameMoves() {
  std::string moves;
  for (int deal = 0; deal < 11 * 6; ++deal) {
    for (int card = 1; card <= 4; ++card) {
      moves += "click Player1_Kart(" + std::to_string(card) + ")\nwait\n";
    }
  }
  return moves + "dump\n";
}

TEST(DriverProgram, PlaysAWholeGameToTheResult) {
  std::string script = ReadFile(Script("whole_game.txt")) + WholeGameMoves();
  auto path = WriteTemp("whole_game.txt", script);
  auto run = RunProgram("'" + path.string() + "'", "TESVA_SEED=2024");
  fs::remove(path);
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.out.size(), 1u);
  json end = json::parse(run.out[0]);

  int s1 = end["state"]["Player1_Score"], s2 = end["state"]["Player2_Score"];
  std::string scores = "Ayşe Yılmaz: " + std::to_string(s1) + " - Deniz: " + std::to_string(s2);
  std::string verdict = s1 > s2   ? "Ayşe Yılmaz kazandı."
                        : s1 < s2 ? "Deniz kazandı."
                                  : "Durum: Berabere.";
  std::string endSound = s1 > s2 ? "Laugh.voi" : s1 < s2 ? "Lose.voi" : "With.voi";
  EXPECT_EQ(end["labels"]["Label1"]["caption"], " Oyun bitti. --- " + scores + " --- " + verdict);
  EXPECT_EQ(end["labels"]["Label7"]["caption"], "");
  EXPECT_EQ(end["labels"]["Player1_Name"]["caption"], "Ayşe Yılmaz (" + std::to_string(s1) + ")");
  EXPECT_EQ(end["labels"]["Player2_Name"]["caption"], "Deniz (" + std::to_string(s2) + ")");
  EXPECT_EQ(end["state"]["HandNo"], 0);
  EXPECT_EQ(end["List1"], json::array());
  for (const auto& card : end["pictures"]["Player2_Kart"]) EXPECT_EQ(card["picture"], "");
  for (const auto& card : end["pictures"]["Player1_Kart"]) EXPECT_FALSE(card["enabled"]);
  EXPECT_EQ(end["window"]["background"], tesva::kNavy);

  // One sound for every card played in 11 hands of 48 cards, then the verdict.
  auto sounds = end["sounds"].get<std::vector<std::string>>();
  ASSERT_EQ(sounds.size(), 11u * 48 + 1);
  EXPECT_EQ(sounds.back(), endSound);
  sounds.pop_back();
  for (const auto& sound : sounds) {
    EXPECT_TRUE(sound == "Card.voi" || sound == "Tesva.voi") << sound;
  }
  EXPECT_EQ(end["dialogs"], json::array({"'' Bilgisayar '' için isim giriniz..."}));
  EXPECT_EQ(end["store"],
            json::parse(R"json({"Seviye": "2", "CpuDusunmeHizi": "10", "ElSayisi": "11",
      "Sesler": "1", "OyuncuIsim": "Ayşe Yılmaz", "CpuIsim": "Deniz", "BackGround": "8388608",
      "Deste": "Back2"})json"));

  // TESVA_SEED makes the run reproducible: the same seed in process plays the same game.
  Session session(2024);
  EXPECT_EQ(session.Run(SplitLines(script)), run.out);
}

TEST(DriverProgram, ExitStatusInputAndEnd) {
  auto missing = RunProgram("'" + TempFile("no-such-script.txt").string() + "'");
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_FALSE(missing.err.empty());
  EXPECT_EQ(RunProgram("'" + fs::temp_directory_path().string() + "'").status, 2);

  // Read from standard input, written on Windows: comments, blank lines, a
  // TEXT that keeps its blanks; after the exit nothing more is read.
  auto path = WriteTemp("stdin.txt",
                        "# set-up\r\n\r\n   \r\nstart\r\necho  two  blanks \r\nmenu mnuCikis\r\n"
                        "frobnicate\r\ndump\r\n");
  auto run = RunProgram("<'" + path.string() + "'");
  fs::remove(path);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (std::vector<std::string>{" two  blanks ", "exited"}));
}

TEST(DriverProgram, UndeliverableEventsChangeNothing) {
  auto script = SplitLines(ReadFile(Script("undeliverable.txt")));
  auto cases = std::count_if(script.begin(), script.end(),
                             [](auto& line) { return line.starts_with("echo case"); });
  auto run = RunProgram("'" + Script("undeliverable.txt") + "'");
  EXPECT_EQ(run.status, 1);

  const auto& out = run.out;
  int errors = 0, checked = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i].starts_with("error: ")) ++errors;
    if (!out[i].starts_with("case") || i + 3 >= out.size()) continue;
    ++checked;
    SCOPED_TRACE(out[i]);
    ASSERT_TRUE(out[i + 2].starts_with("error: ") && out[i + 2].size() > 7) << out[i + 2];
    json before = json::parse(out[i + 1]), after = json::parse(out[i + 3]);
    // The failed line played no sound and opened no dialog.
    EXPECT_EQ(after["sounds"], json::array());
    EXPECT_EQ(after["dialogs"], json::array());
    before.erase("sounds"), before.erase("dialogs"), after.erase("sounds"), after.erase("dialogs");
    EXPECT_EQ(before, after);
  }
  EXPECT_EQ(checked, cases);
  EXPECT_EQ(errors, cases);  // the set-up lines between the cases are all good
}

TEST(DriverLines, BadQueueLinesQueueNothing) {
  Session s;
  auto deck = DeckStartingWith({"D4", "S9", "K12", "M1"});
  auto shortDeck = DeckLine({deck.begin(), deck.end() - 1});
  auto twice = DeckLine(deck) + " D4";
  twice.erase(twice.find(" M13"), 4);  // 52 codes, D4 twice
  auto spaced = DeckLine(deck);
  spaced.replace(spaced.find(" S9"), 1, "  ");
  std::vector<std::string> bad = {
      "deck K1",    shortDeck + " X1", shortDeck + " K14", shortDeck + " K01", twice,
      spaced,       "random 0.25 1",   "random 0.1 1e-3",  "random",           "random 0.5 ",
      "random nan", "answer maybe",    "answer",           "unstore"};
  s.Run({"start"});
  auto printed = s.Run(bad);
  ASSERT_EQ(printed.size(), bad.size());
  for (const auto& line : printed) EXPECT_TRUE(line.starts_with("error: ")) << line;
  EXPECT_EQ(s.driver.platform().random.QueuedValues(), 0u);
  EXPECT_TRUE(s.driver.platform().dialogs.answers.empty());

  // The good lines after them are the ones served.
  EXPECT_TRUE(s.Run({DeckLine(deck), "answer yes", "menu mnuYeni", "random 0 .5 0.999 0.",
                     "reply Kemal Sunal", "reply", "click Player1_Name", "click Player1_Name",
                     "store CpuIsim  Ali Veli ", "store Deste", "unstore Sesler"})
                  .empty());
  EXPECT_EQ(s.driver.ExitStatus(), 1);
  EXPECT_EQ(s.driver.platform().random.QueuedValues(), 4u);
  json after = s.Dump();
  EXPECT_EQ(after["List1"], deck);
  ExpectMembers(after, json::parse(R"json({
    "labels": {"Player1_Name": {"caption": "Kemal Sunal (0)"}},
    "dialogs": ["Bu oyunu iptal edip yeni bir oyuna başlamak istediğinize emin misiniz?",
                "'' Oyuncu '' için isim giriniz...", "'' Oyuncu '' için isim giriniz..."],
    "store": {"OyuncuIsim": "Kemal Sunal", "CpuIsim": " Ali Veli ", "Deste": ""}})json"));
  EXPECT_FALSE(after["store"].contains("Sesler"));
  EXPECT_EQ(s.Dump()["dialogs"], json::array());  // reported once
}

// The first hand from a stacked deck: the deal, the hover frame, a capture
// of the whole first floor, the computer's drawn discard and a tesva.
TEST(DriverLines, FirstHandFromAStackedDeck) {
  auto deck =
      DeckStartingWith({"S7", "K1", "D10", "M4", "K7", "D3", "S12", "M12", "K3", "D5", "S6", "M8"});
  Session s;
  s.Run({DeckLine(deck), "start"});
  json dealt = s.Dump();
  EXPECT_EQ(dealt["List1"], deck);
  ExpectMembers(dealt, json::parse(R"json({
    "state": {"HoverActive": true, "HoverIndex": 0, "Player1_Score": 0, "Player2_Score": 0,
      "Dealer": "Cpu", "DeckPos": 12, "Player1_DealtHand": ["K7", "D3", "S12", "M12"],
      "TopCard": "S7", "BaseCard": "S7", "FloorCount": 4, "FloorPoints": 4,
      "Player1_CardsTaken": 0, "Player2_CardsTaken": 0, "Player1_Hand": ["K7", "D3", "S12", "M12"],
      "Player1_CardsLeft": 4, "Player2_CardsLeft": 4, "HandNo": 1, "HandsPerGame": 11,
      "Level": "1", "CardBack": "Back",
      "PointCards": ["K1", "D1", "S1", "M1", "K11", "D11", "S11", "M11", "S2", "D10"]},
    "List2": ["K3", "D5", "S6", "M8"],
    "Cikanlar": ["1", "0", "0", "1", "0", "0", "1", "0", "0", "1", "0", "0", "0"],
    "window": {"caption": "Tesva 1.5", "background": 32768, "pointer": "default"},
    "pictures": {
      "Player1_Kart": [{"picture": "K7", "enabled": true}, {"picture": "D3", "enabled": true},
                       {"picture": "S12", "enabled": true}, {"picture": "M12", "enabled": true}],
      "Player2_Kart": [{"picture": "Back", "enabled": true}, {"picture": "Back", "enabled": true},
                       {"picture": "Back", "enabled": true}, {"picture": "Back", "enabled": true}],
      "Deste": {"picture": "Back"}, "Player1_Deste": {"picture": "Back"},
      "Player2_Deste": {"picture": "Back"}, "OrtadakiKartlar": {"picture": "Back"},
      "EnAltKart": {"picture": "S7"}},
    "labels": {
      "Label1": {"caption": " Oyuncu (0) oynuyor...", "visible": true, "enabled": true},
      "Label2": {"caption": "Taban", "visible": true}, "Label7": {"caption": "1. El oynanıyor..."},
      "Label8": {"caption": "Deste (40)"}, "Player1_Name": {"caption": "Oyuncu (0)"},
      "Player2_Name": {"caption": "Bilgisayar (0)", "enabled": true}},
    "visible": {"List2": false, "Cikanlar": false, "Picture1": false},
    "Shape1": {"visible": false, "left": 5460, "top": 2400}, "zorder": [1, 2, 3, 4],
    "timers": {"Timer1": {"enabled": false, "interval": 100},
               "Timer2": {"enabled": false, "interval": 500}},
    "menus": {"mnuAmator": {"checked": true}, "mnuPro": {"checked": false},
      "mnuYesil": {"checked": true}, "mnuRenkli": {"checked": true},
      "mnuStandart": {"checked": false}, "mnuSecond": {"checked": true},
      "mnuSesler": {"checked": true, "enabled": true},
      "mnuElSayisi": {"caption": "El sayısı     (11)"}, "mnuYeni": {"caption": "Yeni Oyun"}},
    "store": {"Seviye": "1", "CpuDusunmeHizi": "100", "ElSayisi": "11", "Sesler": "1",
      "OyuncuIsim": "Oyuncu", "CpuIsim": "Bilgisayar", "BackGround": "32768", "Deste": "Back"},
    "sounds": [], "dialogs": []})json"));
  EXPECT_EQ(dealt["menus"].size(), 21u);  // every item of the menu bar, no separator

  s.Run({"hover Player1_Kart(3)"});
  ExpectMembers(s.Dump(), json::parse(R"json({"state": {"HoverActive": true, "HoverIndex": 3},
    "Shape1": {"visible": true, "left": 3840, "top": 4440}, "zorder": [1, 2, 4, 3]})json"));
  s.Run({"hover main"});
  ExpectMembers(s.Dump(), json::parse(R"json({"state": {"HoverActive": false},
    "Shape1": {"visible": false}, "zorder": [1, 2, 3, 4]})json"));

  // K7 on the base card S7 takes the four floor cards: their 4 points, no tesva.
  s.Run({"click Player1_Kart(1)"});
  ExpectMembers(s.Dump(), json::parse(R"json({
    "state": {"Player1_Score": 4, "Player1_CardsTaken": 5, "FloorCount": 0, "FloorPoints": 0,
      "TopCard": "", "BaseCard": "", "Player1_Hand": ["", "D3", "S12", "M12"],
      "Player1_DealtHand": ["", "D3", "S12", "M12"], "Player1_CardsLeft": 3},
    "Cikanlar": ["1", "0", "0", "1", "0", "0", "2", "0", "0", "1", "0", "0", "0"],
    "pictures": {
      "Player1_Kart": [{"picture": "", "enabled": false}, {"picture": "D3", "enabled": false},
                       {"picture": "S12", "enabled": false}, {"picture": "M12", "enabled": false}],
      "Player1_Deste": {"picture": "K7"}, "OrtadakiKartlar": {"picture": ""},
      "EnAltKart": {"picture": ""}},
    "labels": {"Label1": {"caption": " Bilgisayar (0) oynuyor..."},
      "Label2": {"visible": false}, "Player1_Name": {"caption": "Oyuncu (0)"}},
    "timers": {"Timer1": {"enabled": true}}, "sounds": ["Card.voi"]})json"));

  // The empty floor takes nothing: 0.3 draws the first of four cards, K3.
  s.Run({"random 0.3", "tick Timer1"});
  ExpectMembers(s.Dump(), json::parse(R"json({
    "state": {"TopCard": "K3", "FloorCount": 1, "FloorPoints": 0, "Player2_CardsLeft": 3,
      "Player2_Score": 0},
    "List2": ["D5", "S6", "M8"],
    "Cikanlar": ["1", "0", "1", "1", "0", "0", "2", "0", "0", "1", "0", "0", "0"],
    "pictures": {
      "Player1_Kart": [{"enabled": false}, {"enabled": true}, {"enabled": true}, {"enabled": true}],
      "Player2_Kart": [{"picture": "Back"}, {"picture": "Back"}, {"picture": "Back"},
                       {"picture": ""}],
      "OrtadakiKartlar": {"picture": "K3"}},
    "labels": {"Label1": {"caption": " Oyuncu (0) oynuyor..."}},
    "timers": {"Timer1": {"enabled": false}}, "sounds": ["Card.voi"]})json"));

  // D3 on the lone K3 is a tesva: 10 points, two cards taken.
  s.Run({"hover Player1_Kart(2)", "click Player1_Kart(2)"});
  ExpectMembers(s.Dump(), json::parse(R"json({
    "state": {"Player1_Score": 14, "Player1_CardsTaken": 7, "FloorCount": 0, "TopCard": "",
      "HoverActive": true, "HoverIndex": 2},
    "Cikanlar": ["1", "0", "2", "1", "0", "0", "2", "0", "0", "1", "0", "0", "0"],
    "pictures": {"Player1_Deste": {"picture": "D3"}},
    "Shape1": {"visible": false}, "zorder": [1, 3, 4, 2], "sounds": ["Tesva.voi"]})json"));

  // Without sounds the computer's move is silent: 0.5 draws the second of three, S6.
  s.Run({"menu mnuSesler", "random 0.5", "wait"});
  ExpectMembers(s.Dump(), json::parse(R"json({"state": {"TopCard": "S6"}, "List2": ["D5", "M8"],
    "menus": {"mnuSesler": {"checked": false}}, "store": {"Sesler": "0"}, "sounds": []})json"));
  EXPECT_EQ(s.driver.ExitStatus(), 0);
}

// Each of the 52 cards is in exactly one place: the deck not yet dealt, a
// hand, the floor or a captured pile; the tracker counts every card out of
// the deck and out of the hands.
void ExpectCardsConserved(const json& s) {
  const json& st = s["state"];
  auto deck = s["List1"].get<std::vector<std::string>>();
  if (deck.empty()) {
    EXPECT_EQ(st["HandNo"], 0) << "only a finished game has no deck";
    return;
  }
  ASSERT_EQ(std::set<std::string>(deck.begin(), deck.end()).size(), 52u);
  for (const auto& code : deck) EXPECT_TRUE(tesva::IsCardCode(code)) << code;
  int pos = st["DeckPos"];
  ASSERT_TRUE(pos >= 12 && pos <= 52 && (pos - 4) % 8 == 0) << pos;
  EXPECT_EQ(s["labels"]["Label8"]["caption"], "Deste (" + std::to_string(52 - pos) + ")");

  std::multiset<std::string> out(deck.begin(), deck.begin() + pos);  // dealt, not in a hand
  std::vector<std::string> human;
  for (int i = 0; i < 4; ++i) {
    std::string card = st["Player1_Hand"][i];
    EXPECT_EQ(s["pictures"]["Player1_Kart"][i]["picture"], card);
    if (card.empty()) continue;
    human.push_back(card);
    EXPECT_EQ(out.erase(card), 1u) << card << " is no dealt card, or in two places";
  }
  auto computer = s["List2"].get<std::vector<std::string>>();
  for (const auto& card : computer) {
    EXPECT_EQ(out.erase(card), 1u) << card << " is no dealt card, or in two places";
  }
  EXPECT_EQ(st["Player1_CardsLeft"], human.size());
  EXPECT_EQ(st["Player2_CardsLeft"], computer.size());
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(s["pictures"]["Player2_Kart"][i]["picture"],
              i < computer.size() ? st["CardBack"].get<std::string>() : "");
  }
  for (int rank = 1; rank <= 13; ++rank) {
    auto seen =
        std::count_if(out.begin(), out.end(), [&](auto& c) { return tesva::Rank(c) == rank; });
    EXPECT_EQ(s["Cikanlar"][rank - 1], std::to_string(seen)) << "rank " << rank;
  }
  // Until the hand is settled every card out of the hands lies on the floor
  // or in a captured pile.
  if (!s["timers"]["Timer2"]["enabled"].get<bool>()) {
    EXPECT_EQ(st["Player1_CardsTaken"].get<int>() + st["Player2_CardsTaken"].get<int>() +
                  st["FloorCount"].get<int>(),
              static_cast<int>(out.size()));
  }
  EXPECT_EQ(st["FloorCount"] == 0, st["TopCard"] == "");
  bool humanToMove =
      !s["visible"]["Picture1"].get<bool>() && !s["timers"]["Timer1"]["enabled"].get<bool>();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s["pictures"]["Player1_Kart"][i]["enabled"],
              humanToMove && st["Player1_Hand"][i] != "");
  }
}

// Picks the next deliverable line of a random but legal play-through.
std::string NextMove(const json& s, std::mt19937& rng) {
  static const std::vector<std::string> kOptions = {
      "menu mnuPro",    "menu mnuAmator", "menu mnuStandart", "menu mnuRenkli",
      "menu mnuSesler", "menu mnuHelp",   "hover main",       "menu mnuYeni"};
  auto chance = [&](int percent) { return std::uniform_int_distribution(0, 99)(rng) < percent; };
  // The rules panel disables the menus until its Ok button closes it.
  bool panel = s["visible"]["Picture1"].get<bool>();
  if (panel && chance(50)) return "click Command1";
  if (!panel && s["state"]["HandNo"] == 0) return "menu mnuYeni";
  if (!panel && chance(4)) return kOptions[std::uniform_int_distribution<std::size_t>(0, 7)(rng)];
  std::vector<int> playable;
  for (int i = 0; i < 4; ++i) {
    if (s["pictures"]["Player1_Kart"][i]["enabled"].get<bool>()) playable.push_back(i + 1);
  }
  if (!playable.empty()) {
    int card = playable[std::uniform_int_distribution<std::size_t>(0, playable.size() - 1)(rng)];
    return (chance(30) ? "hover" : "click") + std::string(" Player1_Kart(") + std::to_string(card) +
           ")";
  }
  if (s["timers"]["Timer1"]["enabled"].get<bool>()) return "tick Timer1";
  if (s["timers"]["Timer2"]["enabled"].get<bool>()) return "tick Timer2";
  return "click Command1";
}

TEST(DriverLines, RandomPlayThroughKeepsEveryCard) {
  std::mt19937 rng(77);
  Session s(77);
  s.Run({"start", "reply 3", "menu mnuElSayisi"});
  int gamesEnded = 0;
  for (int step = 0; step < 20000 && gamesEnded < 4; ++step) {
    json snapshot = s.Dump();
    ExpectCardsConserved(snapshot);
    if (HasFailure()) FAIL() << "after line " << step << ": " << snapshot.dump();
    if (snapshot["state"]["HandNo"] == 0) ++gamesEnded;
    std::string move = NextMove(snapshot, rng);
    auto printed = s.Run(move == "menu mnuYeni" ? std::vector<std::string>{"answer yes", move}
                                                : std::vector<std::string>{move});
    if (!printed.empty()) ADD_FAILURE() << move << ": " << printed[0];
  }
  EXPECT_EQ(gamesEnded, 4);
  EXPECT_EQ(s.driver.Errors(), 0);
}

// A random line: a command of the driver, or none, with arguments that are
// sometimes right and often not.
std::string RandomLine(std::mt19937& rng) {
  static const std::vector<std::string> kCommands = {
      "store", "unstore", "start", "deck", "random", "reply", "answer", "click", "hover",
      "menu",  "tick",    "wait",  "dump", "echo",   "",      "Click",  "#",     "noise"};
  static const auto kWords = SplitWords(
      "Player1_Kart(1) Player1_Kart(4) Player1_Kart(0) Player1_Name Player2_Name Command1 main "
      "Timer1 Timer2 yes no 0.5 0.99 1 -3 Seviye ElSayisi OyuncuIsim GateKeeper BackGround Deste "
      "CpuDusunmeHizi Sesler 8388608 Back2 2.5 1e400 line2 mnuSecenek K1");
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  if (pick(3) == 0) {  // a good event, so that games get played and menus used
    static const auto kEvents = SplitLines(
        "click Player1_Kart(1)\nclick Player1_Kart(2)\nclick Player1_Kart(3)\n"
        "click Player1_Kart(4)\nclick Command1\nclick Player1_Name\nclick Player2_Name\n"
        "hover Player1_Kart(2)\nhover main\nwait\ntick Timer1\ntick Timer2\nstart");
    if (pick(3) == 0) {
      return "menu " + std::string(tesva::kMenuBar[pick(tesva::kMenuBar.size())].name);
    }
    return kEvents[pick(kEvents.size())];
  }
  std::string line = kCommands[pick(kCommands.size())];
  if (line == "deck" && pick(2)) {
    auto deck = DeckStartingWith({});
    std::shuffle(deck.begin(), deck.end(), rng);
    if (pick(3) == 0) deck[pick(52)] = kWords[pick(kWords.size())];
    return DeckLine(deck);
  }
  for (std::size_t words = pick(4); words > 0; --words) {
    line += ' ';
    if (pick(3) == 0) {
      for (std::size_t bytes = pick(40); bytes > 0; --bytes) {
        char byte = static_cast<char>(pick(256));
        if (byte != '\n') line += byte;
      }
    } else {
      line += kWords[pick(kWords.size())];
    }
  }
  return line;
}

TEST(DriverLines, BadInputNeverBreaksTheDriver) {
  std::mt19937 rng(5);
  auto session = std::make_unique<Session>(5);
  for (int i = 0; i < 5000; ++i) {
    if (session->driver.Finished()) session = std::make_unique<Session>(i);
    std::string line = RandomLine(rng);
    ASSERT_NO_THROW(session->Run({line})) << line;
    // Whatever the lines stored or played, the snapshot is valid JSON.
    if (i % 10 == 0 && !session->driver.Finished()) {
      ASSERT_NO_THROW(session->Dump()) << "after " << line;
    }
  }
}

}  // namespace

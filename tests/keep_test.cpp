// The kept game's and the record's files: read back whole, and every kind
// of damage refused with a reason before anything reaches a game.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <random>

#include "record/kept_game.h"
#include "test_support.h"

namespace tesva::record {
namespace {

using nlohmann::json;

std::string Bytes(const KeptGame& kept) {
  auto written = WriteKeptGame(kept);
  if (auto* refusal = std::get_if<Refusal>(&written)) {
    ADD_FAILURE() << "not written: " << refusal->reason;
    return {};
  }
  return std::get<std::string>(written);
}

std::string Refused(std::string_view bytes) {
  auto read = ReadKeptGame(bytes);
  auto* refusal = std::get_if<Refusal>(&read);
  return refusal ? refusal->reason : std::string();
}

// The `reason` given is `expected`; nullptr expects any reason.
void ExpectReason(const std::string& reason, const char* expected, const std::string& what) {
  if (expected) {
    EXPECT_EQ(reason, expected) << what;
  } else {
    EXPECT_NE(reason, "") << what;
  }
}

// A game in its second hand, mid-deal, with a tesva made.
struct Kept : testing::Test {
  Table t;
  GameTally tally;
  void SetUp() override {
    t.Start();
    for (int events = 0; events < 40; ++events) {
      PlayEvent(t.g);
      FollowGame(t.g, tally);
    }
    ASSERT_EQ(CheckKeptGame(KeepOf(t.g, tally)), "");
  }
  KeptGame Now() const { return KeepOf(t.g, tally); }
  json Doc() const { return json::parse(Bytes(Now())); }
};

TEST_F(Kept, AGameReadBackIsTheGameKept) {
  for (int step = 0; step < 4; ++step) {
    auto kept = Now();
    auto read = ReadKeptGame(Bytes(kept));
    ASSERT_TRUE(std::holds_alternative<KeptGame>(read)) << std::get<Refusal>(read).reason;
    EXPECT_EQ(std::get<KeptGame>(read), kept);
    MemoryPlatform other(99);
    Game fresh(other.services());
    ResumeInto(fresh, std::get<KeptGame>(read));
    EXPECT_TRUE(fresh == t.g);
    // Also with the rules panel open, in watch mode, on a navy table.
    if (step == 0) mnuHelp_Click(t.g);
    if (step == 1) SetWatchMode(t.g, true);
    if (step == 2) mnuLacivert_Click(t.g);
  }
}

// Files that are no whole kept game of this version: cut at any byte, too
// large, of another version or format.
TEST_F(Kept, OtherFilesAreRefused) {
  const std::string bytes = Bytes(Now());
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    ASSERT_NE(Refused(std::string_view(bytes).substr(0, size)), "") << "cut at " << size;
  }
  auto changed = [&](const char* pointer, const json& value) {
    json doc = Doc();
    doc[json::json_pointer(pointer)] = value;
    return doc.dump();
  };
  for (const auto& [what, file, reason] :
       std::vector<std::tuple<const char*, std::string, const char*>>{
           {"whole", bytes, ""},
           {"too large", std::string(kMaxKeptGameBytes + 1, ' '), "larger than a kept game can be"},
           // Blanks that JSON allows do not make a kept game larger than it can be.
           {"with blanks", bytes + std::string(1000, ' '), ""},
           {"newer", changed("/version", kKeptGameVersion + 1),
            "version 2 is newer than this game's"},
           {"version 0", changed("/version", 0), nullptr},
           {"a record", changed("/format", "tesva-record"), "not a tesva-kept-game"},
           {"an array", "[1,2,3]", "not a JSON object"},
           {"empty", "", "not JSON, or cut short"},
       }) {
    ExpectReason(Refused(file), reason, what);
  }
}

// Every value of the file replaced by one of the wrong type, a negative
// number or a huge one: each is refused.
TEST_F(Kept, EveryFieldOutOfRangeIsRefused) {
  const json doc = Doc();
  int leaves = 0;
  const json flat = doc.flatten();
  for (const auto& [path, value] : flat.items()) {
    if (value.is_null()) continue;  // an empty list
    std::vector<json> wrong = {nullptr, json::array(), json::object(), -1, 1LL << 40, 0.5};
    if (!value.is_string()) wrong.push_back("7");
    if (!value.is_boolean()) wrong.push_back(true);
    if (value.is_string()) wrong.push_back(std::string(300, 'x'));
    if (value.is_boolean() || value.is_number()) wrong.push_back("");
    for (const json& bad : wrong) {
      json hostile = doc;
      hostile[json::json_pointer(path)] = bad;
      EXPECT_NE(Refused(hostile.dump()), "") << path << " = " << bad.dump();
    }
    // A member missing.
    json missing = doc.flatten();
    missing.erase(path);
    EXPECT_NE(Refused(missing.unflatten().dump()), "") << path << " missing";
    ++leaves;
  }
  EXPECT_GT(leaves, 200);
}

// Damage that keeps the file readable but breaks the game: each refused,
// with its reason where one rule alone is broken, and not written either
// (the write says why instead of throwing). Names are short UTF-8.
TEST_F(Kept, DamageThatBreaksTheGameIsRefused) {
  auto handSlot = [](const KeptGame& k) { return k.state.Player1_Hand(1).empty() ? 2 : 1; };
  struct Case {
    const char* what;
    std::function<void(KeptGame&)> change;
    const char* reason;  // nullptr: any reason; "": none, the game is whole
  };
  const char* kNotADeck = "the deck does not hold each of the 52 cards once";
  for (const auto& c : std::vector<Case>{
           {"a card twice", [](KeptGame& k) { k.form.List1.items[7] = k.form.List1.items[30]; },
            kNotADeck},
           {"a card missing", [](KeptGame& k) { k.form.List1.items.pop_back(); }, kNotADeck},
           {"no card", [](KeptGame& k) { k.form.List1.items[3] = "K14"; }, kNotADeck},
           {"a card still to deal in hand",
            [&](KeptGame& k) { k.state.Player1_Hand(handSlot(k)) = k.form.List1.items[51]; },
            "the dealt hand mirrors the hand"},
           {"a hand card that is no card, mirrored everywhere",
            [&](KeptGame& k) {
              int slot = handSlot(k);
              k.state.Player1_Hand(slot) = k.state.Player1_DealtHand[slot - 1] = "X9";
              k.form.Player1_Kart(slot).picture = "X9";
            },
            nullptr},
           {"a played card still held",
            [](KeptGame& k) {
              k.form.List2.items.push_back(k.seen.plays.back().card);
              ++k.state.Player2_CardsLeft;
            },
            nullptr},
           {"a play forgotten", [](KeptGame& k) { k.seen.plays.pop_back(); }, nullptr},
           {"a card still to deal in hand, mirrored",
            [&](KeptGame& k) {
              int slot = handSlot(k);
              k.state.Player1_Hand(slot) = k.state.Player1_DealtHand[slot - 1] =
                  k.form.Player1_Kart(slot).picture = k.form.List1.items[51];
            },
            "a hand card is not the one dealt there"},
           {"a play that broke the rules",
            [](KeptGame& k) { k.seen.plays.back().captured = !k.seen.plays.back().captured; },
            "a play that did not follow the rules"},
           {"a total that is no number",
            [](KeptGame& k) { k.form.Player1_Name.caption = "Ali ()"; }, "a name is too long"},
           {"the floor", [](KeptGame& k) { ++k.state.FloorCount; }, "the floor count"},
           {"a score", [](KeptGame& k) { k.state.Player2_Score = -3; }, "a negative score"},
           {"the hands", [](KeptGame& k) { k.state.HandsPerGame = 100; }, "the hands per game"},
           {"the level", [](KeptGame& k) { k.state.Level = "4"; }, "unknown level"},
           {"the pause", [](KeptGame& k) { k.timer2Ticks = 3; }, "the pause's tick counter"},
           {"the tracker", [](KeptGame& k) { k.form.Cikanlar(5).caption = "9"; },
            "the tracker's counts"},
           {"a face", [](KeptGame& k) { k.form.Player2_Kart(1).picture = "S2"; },
            "a computer card shows its face"},
           {"no game", [](KeptGame& k) { k.state.HandNo = 0; }, "the game is not running"},
           {"a name of 30 letters",
            [](KeptGame& k) { k.form.Player1_Name.caption = std::string(30, 'a') + " (12)"; }, ""},
           {"a name of 30 letters, 2 bytes each",
            [](KeptGame& k) {
              k.form.Player1_Name.caption = "ÇağlayanİĞüşöçÇağlayanİĞüşöçÇa (12)";
            },
            ""},
           {"a name of 31 letters",
            [](KeptGame& k) { k.form.Player1_Name.caption = std::string(31, 'a') + " (12)"; },
            "a name is too long"},
           {"a name cut inside a letter",
            [](KeptGame& k) { k.form.Player1_Name.caption = "Oyuncu\xC3 (12)"; },
            "a text is not UTF-8"},
       }) {
    KeptGame kept = Now();
    c.change(kept);
    std::string reason = CheckKeptGame(kept);
    ExpectReason(reason, c.reason, c.what);
    EXPECT_EQ(std::holds_alternative<Refusal>(WriteKeptGame(kept)), !reason.empty()) << c.what;
  }
}

TEST(Utf8, OnlyWellFormedTextsPass) {
  EXPECT_TRUE(IsValidUtf8("Çıkış — 𝄞"));
  EXPECT_TRUE(IsValidUtf8(""));
  for (std::string_view bad : {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                               "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "a\xC3", "\xE2\x82"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
  }
}

// Random damage: bytes flipped, inserted, dropped, and random bytes. Nothing
// throws or crashes; what is read is a game that keeps every rule.
TEST_F(Kept, RandomDamageNeverCrashes) {
  const auto bytes = Bytes(Now());
  auto rng = Seeded(11);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string damaged = bytes;
    int changes = 1 + static_cast<int>(rng() % 4);
    for (int c = 0; c < changes; ++c) {
      auto at = rng() % damaged.size();
      switch (rng() % 3) {
        case 0:
          damaged[at] = static_cast<char>(rng());
          break;
        case 1:
          damaged.insert(at, 1, "{}[]\",:0123456789tfn\\"[rng() % 22]);
          break;
        default:
          damaged.erase(at, 1);
      }
    }
    if (round % 10 == 0) {
      damaged.resize(rng() % 2000);
      for (auto& c : damaged) c = static_cast<char>(rng());
    }
    auto read = ReadKeptGame(damaged);
    if (auto* kept = std::get_if<KeptGame>(&read)) {
      ++accepted;
      EXPECT_EQ(CheckKeptGame(*kept), "");
    }
  }
  // Most damage is caught; the rest changed a blank or a value the rules allow.
  EXPECT_LT(accepted, 1500);
}

TEST(RecordFile, CountsThatDisagreeAreRefused) {
  Record r;
  AddResult(r, {"1", Outcome::kWon, 100, 80, 2, false});
  const json doc = json::parse(WriteRecord(r));
  auto refused = [](const json& d) {
    auto read = ReadRecord(d.dump());
    auto* refusal = std::get_if<Refusal>(&read);
    return refusal ? refusal->reason : std::string();
  };
  for (auto [pointer, value, reason] : {
           std::tuple{"/headings/amator/won", json(2), "amator: won, lost and drawn do not add up"},
           {"/headings/amator/longestStreak", json(2), "amator: streaks too long"},
           {"/headings/amator/hinted", json(2), "amator: more games with a hint than games"},
           {"/headings/amator/finished", json(-1), nullptr},
           {"/headings/..~1..~1etc", doc["headings"]["amator"], "a heading's name is not known"},
           {"/version", json(7), nullptr},
       }) {
    json d = doc;
    d[json::json_pointer(pointer)] = value;
    ExpectReason(refused(d), reason, pointer);
  }
  auto bytes = WriteRecord(r);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    auto read = ReadRecord(std::string_view(bytes).substr(0, size));
    ASSERT_TRUE(std::holds_alternative<Refusal>(read)) << size;
  }
  EXPECT_EQ(refused(doc), "");
}

}  // namespace
}  // namespace tesva::record

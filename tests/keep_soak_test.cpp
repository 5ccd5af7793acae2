// Kept at any moment, played on identically: thousands of the soak's random
// sequences are stopped at a random event, the game is written to bytes and
// read back into a fresh game on a copy of the same services, and both games
// play the rest of the sequence. They must be equal after every event, and
// equal at the end to the same sequence played without a stop. The first
// sequences also replay line for line in the headless driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <sstream>

#include "checked_game.h"
#include "engine/engine.h"
#include "headless/driver.h"
#include "headless/snapshot.h"
#include "record/kept_game.h"
#include "sequence.h"
#include "shell/events.h"

namespace tesva::record {
namespace {

using soak::Event;
using soak::Verb;

// One script line on a game, as tesva-headless carries it out.
void Carry(Game& g, MemoryPlatform& p, const Event& e) {
  switch (e.verb) {
    case Verb::kStore:
      p.store.Write(kStoreApp, kStoreSection, e.target, e.text);
      return;
    case Verb::kReply:
      p.dialogs.replies.emplace_back(e.text);
      return;
    case Verb::kAnswer:
      p.dialogs.answers.push_back(e.target == "yes");
      return;
    case Verb::kStart:
      Form_Load(g);
      return;
    case Verb::kClick:
      DeliverEvent(g, EventKind::kClick, e.target);
      return;
    case Verb::kHover:
      DeliverEvent(g, EventKind::kHover, e.target);
      return;
    case Verb::kMenu:
      DeliverEvent(g, EventKind::kMenu, e.target);
      return;
    case Verb::kTick:
      DeliverEvent(g, EventKind::kTick, e.target);
      return;
  }
}

// A game that the record follows, on services of its own.
struct Followed {
  explicit Followed(const MemoryPlatform& services) : p(services) {
    g.UstaSearch = soak::kSoakUstaSearch;
  }
  MemoryPlatform p;
  Game g{p.services()};
  GameTally tally;
  std::vector<GameResult> results;
  void Carry(const Event& e) {
    // "Yeni Oyun" goes through the record, as the window sends it.
    if (e.verb == Verb::kMenu && e.target == "mnuYeni" &&
        !EventRefusal(g, EventKind::kMenu, e.target)) {
      if (auto r = NewGame(g, tally)) results.push_back(*r);
      return;
    }
    record::Carry(g, p, e);
    if (auto r = FollowGame(g, tally)) results.push_back(*r);
  }
};

std::string LastLine(const std::string& text) {
  auto end = text.find_last_not_of('\n');
  return text.substr(text.rfind('\n', end) + 1, end - text.rfind('\n', end));
}

bool SameResults(const std::vector<GameResult>& a, const std::vector<GameResult>& b) {
  auto key = [](const GameResult& r) {
    return std::tuple(r.level, r.outcome, r.humanTotal, r.computerTotal, r.tesvas, r.hintUsed);
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](auto& x, auto& y) { return key(x) == key(y); });
}

TEST(KeptGame, KeptAtAnyMomentPlaysOnIdentically) {
  constexpr std::uint64_t kSequences = 2000;
  constexpr std::uint64_t kReplayed = 60;
  int kept = 0, notRunning = 0, unkeepable = 0, events = 0, refused = 0, ended = 0, exited = 0;
  for (std::uint64_t seed = 1; seed <= kSequences; ++seed) {
    soak::CheckedGame whole(seed);
    auto run = soak::RunSequence(whole, seed);
    ASSERT_FALSE(run.failure) << soak::ReplayScript(run);
    if (seed <= kReplayed) {
      // The driver with the same seed ends in the same snapshot, having
      // refused the same events.
      std::ostringstream out;
      Driver driver(out, seed);
      driver.SetUstaSearch(soak::kSoakUstaSearch);
      std::istringstream replay(soak::ReplayScript(run));
      driver.Run(replay);
      auto core = SnapshotLine(Snapshot(whole.game(), whole.platform()));
      // The script ends with a dump, unless the sequence left the program.
      auto replayed = driver.Finished() ? SnapshotLine(driver.Dump()) : LastLine(out.str());
      ASSERT_EQ(replayed, core) << "seed " << seed;
      ASSERT_EQ(driver.Errors(), whole.Refused()) << "seed " << seed;
      refused += whole.Refused();
      ended += whole.GamesEnded();
      exited += whole.Exited();
    }
    const auto& script = run.script;
    auto start = std::find_if(script.begin(), script.end(),
                              [](const Event& e) { return e.verb == Verb::kStart; }) -
                 script.begin();
    ASSERT_LT(static_cast<std::size_t>(start), script.size());
    std::mt19937_64 rng(seed);
    std::size_t stop = start + 1 + rng() % (script.size() - start);

    Followed played{MemoryPlatform(seed)};
    for (std::size_t line = 0; line < stop; ++line) played.Carry(script[line]);

    auto written = WriteKeptGame(KeepOf(played.g, played.tally));
    if (auto* refusal = std::get_if<Refusal>(&written)) {
      // An ended game is not kept; nor is one whose hostile stored names no
      // kept game may hold.
      if (played.g.HandNo == 0) {
        ASSERT_EQ(refusal->reason, "the game is not running");
        ++notRunning;
      } else {
        static const std::set<std::string> kHostile = {"a name is too long", "a text is not UTF-8",
                                                       "a caption is too long",
                                                       "the hand count's caption"};
        ASSERT_EQ(kHostile.count(refusal->reason), 1u) << refusal->reason << ", seed " << seed;
        ++unkeepable;
      }
      continue;
    }
    auto read = ReadKeptGame(std::get<std::string>(written));
    ASSERT_TRUE(std::holds_alternative<KeptGame>(read))
        << std::get<Refusal>(read).reason << ", seed " << seed << ", line " << stop;
    Followed resumed(played.p);  // the same store, random stream and queued replies
    ResumeInto(resumed.g, std::get<KeptGame>(read));
    resumed.tally = std::get<KeptGame>(read).tally;
    resumed.results = played.results;
    ASSERT_TRUE(resumed.g == played.g) << "seed " << seed << ", line " << stop;
    ASSERT_EQ(resumed.tally, played.tally);
    ++kept;

    for (std::size_t line = stop; line < script.size(); ++line) {
      played.Carry(script[line]);
      resumed.Carry(script[line]);
      ASSERT_TRUE(resumed.g == played.g) << "seed " << seed << ", line " << line;
      ++events;
    }
    // Both end as the sequence played without a stop.
    ASSERT_TRUE(played.g == whole.game()) << "seed " << seed;
    ASSERT_TRUE(SameResults(resumed.results, played.results)) << "seed " << seed;
  }
  std::printf("%d kept and resumed, %d ended, %d with names no kept game holds; %d events after\n",
              kept, notRunning, unkeepable, events);
  EXPECT_GT(kept, static_cast<int>(kSequences) * 3 / 4);
  EXPECT_GT(notRunning + unkeepable, 0);
  EXPECT_GT(events, 100000);
  // The replayed sequences reach the corners worth replaying.
  EXPECT_GT(refused, 500);
  EXPECT_GT(ended, 10);
  EXPECT_GT(exited, 0);
}

}  // namespace
}  // namespace tesva::record

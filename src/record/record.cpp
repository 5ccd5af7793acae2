#include "record/record.h"

#include <algorithm>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva::record {
namespace {

void Add(Heading& h, const GameResult& r) {
  if (r.outcome == Outcome::kGivenUp) {
    ++h.givenUp;
    h.currentStreak = 0;
    return;
  }
  ++h.finished;
  switch (r.outcome) {
    case Outcome::kWon:
      ++h.won;
      ++h.currentStreak;
      h.longestStreak = std::max(h.longestStreak, h.currentStreak);
      h.bestMargin = std::max<std::int64_t>(h.bestMargin, r.humanTotal - r.computerTotal);
      break;
    case Outcome::kLost:
      ++h.lost;
      h.currentStreak = 0;
      break;
    default:
      ++h.drawn;
      h.currentStreak = 0;
      break;
  }
  h.bestTotal = std::max<std::int64_t>(h.bestTotal, r.humanTotal);
  h.tesvas += r.tesvas;
  h.points += r.humanTotal;
  h.hinted += r.hintUsed ? 1 : 0;
}

std::string_view LevelName(std::string_view level) {
  if (level == kAmateur) return "Amatör";
  if (level == kProfessional) return "Profesyonel";
  if (level == kMaster) return "Usta";
  return "";
}

}  // namespace

std::string_view HeadingOfLevel(std::string_view level) {
  if (level == kAmateur) return kAmateurHeading;
  if (level == kProfessional) return kProfessionalHeading;
  if (level == kMaster) return kMasterHeading;
  return "";
}

void AddResult(Record& record, const GameResult& result) {
  auto heading = HeadingOfLevel(result.level);
  if (!heading.empty()) Add(record.headings[std::string(heading)], result);
  Add(record.headings[std::string(kComputerHeading)], result);
}

void AddFriendResult(Record& record, const GameResult& result) {
  Add(record.headings[std::string(kFriendHeading)], result);
}

int WinRate(const Heading& h) {
  if (h.finished <= 0) return 0;
  return static_cast<int>((200 * h.won + h.finished) / (2 * h.finished));  // rounded half up
}

std::int64_t MeanPointsTenths(const Heading& h) {
  if (h.finished <= 0) return 0;
  return (20 * h.points + h.finished) / (2 * h.finished);
}

std::string RecordLine(const Record& record, std::string_view level) {
  Heading h;
  auto it = record.headings.find(HeadingOfLevel(level));
  if (it != record.headings.end()) h = it->second;
  auto n = [](std::int64_t v) { return std::to_string(v); };
  return std::string(LevelName(level)) + ": " + n(h.finished) + " oyun, " + n(h.won) +
         " kazanılan (%" + n(WinRate(h)) + "), seri " + n(h.currentStreak) + ", en uzun seri " +
         n(h.longestStreak);
}

std::vector<std::vector<std::string>> StatisticsRows(const Record& record) {
  const std::string_view names[] = {kAmateurHeading, kProfessionalHeading, kMasterHeading,
                                    kComputerHeading};
  std::vector<Heading> columns;
  for (auto name : names) {
    auto it = record.headings.find(name);
    columns.push_back(it == record.headings.end() ? Heading{} : it->second);
  }
  auto friendGames = record.headings.find(kFriendHeading);
  if (friendGames != record.headings.end()) columns.push_back(friendGames->second);
  struct Item {
    std::string_view name;
    std::string (*text)(const Heading&);
  };
  static const Item kItems[] = {
      {"Biten oyun", [](const Heading& h) { return std::to_string(h.finished); }},
      {"Kazanılan", [](const Heading& h) { return std::to_string(h.won); }},
      {"Kaybedilen", [](const Heading& h) { return std::to_string(h.lost); }},
      {"Berabere", [](const Heading& h) { return std::to_string(h.drawn); }},
      {"Yarıda bırakılan", [](const Heading& h) { return std::to_string(h.givenUp); }},
      {"Kazanma oranı", [](const Heading& h) { return "%" + std::to_string(WinRate(h)); }},
      {"Şimdiki seri", [](const Heading& h) { return std::to_string(h.currentStreak); }},
      {"En uzun seri", [](const Heading& h) { return std::to_string(h.longestStreak); }},
      {"En yüksek toplam", [](const Heading& h) { return std::to_string(h.bestTotal); }},
      {"En büyük fark", [](const Heading& h) { return std::to_string(h.bestMargin); }},
      {"Tesva", [](const Heading& h) { return std::to_string(h.tesvas); }},
      {"Oyun başına puan",
       [](const Heading& h) {
         auto tenths = MeanPointsTenths(h);
         return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
       }},
      {"İpucu alınan oyun", [](const Heading& h) { return std::to_string(h.hinted); }},
  };
  std::vector<std::vector<std::string>> rows;
  rows.push_back({"", "Amatör", "Profesyonel", "Usta", "Toplam"});
  if (friendGames != record.headings.end()) rows.back().push_back("Arkadaş");
  for (const Item& item : kItems) {
    std::vector<std::string> row{std::string(item.name)};
    for (const Heading& h : columns) row.push_back(item.text(h));
    rows.push_back(std::move(row));
  }
  return rows;
}

int HumanTesvas(const HandRecord& seen) {
  // The floor as both players saw it: four cards at the start, the base
  // card's rank on top.
  int floorCount = kFloorCards;
  int topRank = Rank(seen.baseCard);
  int tesvas = 0;
  for (const PublicPlay& play : seen.plays) {
    int rank = Rank(play.card);
    if (play.captured) {
      if (play.seat == Seat::kHuman && floorCount == 1 && rank == topRank) ++tesvas;
      floorCount = 0;
      topRank = 0;
    } else {
      ++floorCount;
      topRank = rank;
    }
  }
  return tesvas;
}

std::optional<GameResult> FollowGame(const Game& g, GameTally& tally) {
  if (g.HandNo != 0) {
    if (g.HandNo != tally.handNo) {
      tally.earlierTesvas += tally.handTesvas;
      tally.handNo = g.HandNo;
    }
    tally.handTesvas = HumanTesvas(g.Seen);
    return std::nullopt;
  }
  // The hand number is 0 only once a game has ended; a tally that followed
  // no running game has nothing to count.
  if (tally.handNo == 0) return std::nullopt;
  GameResult result;
  result.level = g.Level;
  result.humanTotal = g.Player1_Score;
  result.computerTotal = g.Player2_Score;
  result.outcome = g.Player1_Score > g.Player2_Score   ? Outcome::kWon
                   : g.Player1_Score < g.Player2_Score ? Outcome::kLost
                                                       : Outcome::kDrawn;
  result.tesvas = tally.earlierTesvas + tally.handTesvas;
  result.hintUsed = tally.hintUsed;
  tally = {};
  return result;
}

namespace {

// A game given up with the scores `at` shows and the tesvas counted so far.
GameResult GivenUp(const std::string& level, const GameState& at, const GameTally& tally) {
  return {level,
          Outcome::kGivenUp,
          at.Player1_Score,
          at.Player2_Score,
          tally.earlierTesvas + tally.handTesvas,
          tally.hintUsed};
}

}  // namespace

std::optional<GameResult> LeaveGame(const Game& g, GameTally& tally) {
  std::optional<GameResult> result;
  // A game the tally followed and that has not ended: hand 0 is an ended
  // game's, whose result FollowGame has counted.
  if (tally.handNo != 0 && g.HandNo != 0) {
    result = GivenUp(g.Level, g, tally);
  }
  tally = {};
  return result;
}

std::optional<GameResult> NewGame(Game& g, GameTally& tally) {
  const GameState state = g;
  const Form form = g;
  const bool running = g.HandNo != 0;
  mnuYeni_Click(g);
  // Answered No, the command changes nothing at all.
  if (static_cast<const GameState&>(g) == state && static_cast<const Form&>(g) == form) {
    return std::nullopt;
  }
  std::optional<GameResult> result;
  if (running) {
    result = GivenUp(g.Level, state, tally);
  }
  tally = {};
  FollowGame(g, tally);
  return result;
}

}  // namespace tesva::record

#include "browser/browser_keeper.h"

#include <ctime>
#include <variant>

#include "browser/local_storage.h"
#include "engine/engine.h"
#include "record/kept_game.h"
#include "record/record_texts.h"

namespace tesva {
namespace {

using record::Refusal;

void Say(const std::string& line) {
  WarnOnConsole("tesva: " + line);
}

// The time a value was set aside, as the desktop names its files.
std::string SetAsideTime() {
  std::time_t now = std::time(nullptr);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", std::localtime(&now));
  return text;
}

void SetAside(const std::string& key, const std::string& value, const std::string& reason) {
  std::string aside = key + std::string(record::kSetAsideMark) + SetAsideTime();
  bool moved = WriteLocalStorage(aside, value);
  if (moved) RemoveLocalStorage(key);
  Say(key + " is not used (" + reason + "); " +
      (moved ? "moved aside as " + aside : std::string("it could not be moved aside")));
}

// The stored value, or nothing after setting a bad one aside: the same
// checks as the desktop's files, size first.
template <typename Read>
auto ReadStored(const std::string& key, std::size_t most, Read read)
    -> std::optional<typename std::variant_alternative_t<0, decltype(read(""))>> {
  auto value = ReadLocalStorage(key);
  if (!value) return std::nullopt;
  if (value->size() > most) {
    SetAside(key, *value, "larger than it can be");
    return std::nullopt;
  }
  auto result = read(*value);
  if (auto* refusal = std::get_if<Refusal>(&result)) {
    SetAside(key, *value, refusal->reason);
    return std::nullopt;
  }
  return std::get<0>(std::move(result));
}

}  // namespace

std::string BrowserKeeper::KeptGameKey() {
  return std::string(kStoreApp) + '/' + record::kKeptGameFile;
}

std::string BrowserKeeper::RecordKey() {
  return std::string(kStoreApp) + '/' + record::kRecordFile;
}

bool BrowserKeeper::Resume(Game& g) {
  bool resumed = false;
  auto kept = ReadStored(KeptGameKey(), record::kMaxKeptGameBytes,
                         [](std::string_view bytes) { return record::ReadKeptGame(bytes); });
  if (kept) {
    record::ResumeInto(g, *kept);
    tally_ = kept->tally;
    keptStored_ = true;
    resumed = true;
  }
  auto stored = ReadStored(RecordKey(), record::kMaxRecordBytes,
                           [](std::string_view bytes) { return record::ReadRecord(bytes); });
  record_ = stored.value_or(record::Record{});
  if (!resumed) record::FollowGame(g, tally_);
  return resumed;
}

void BrowserKeeper::AfterEvent(const Game& g, EventKind kind) {
  if (auto result = record::FollowGame(g, tally_)) Count(*result);
  if (kind != EventKind::kHover) Keep(g);
}

void BrowserKeeper::NewGame(Game& g) {
  if (auto given = record::NewGame(g, tally_)) Count(*given);
}

void BrowserKeeper::HintShown(const Game& g) {
  if (tally_.hintUsed) return;
  tally_.hintUsed = true;
  Keep(g);
}

void BrowserKeeper::ResetRecord() {
  record_ = {};
  SaveRecord();
}

void BrowserKeeper::Keep(const Game& g) {
  if (!writing_) return;
  if (g.HandNo == 0) {
    // A game that has ended is no longer kept.
    if (keptStored_) RemoveLocalStorage(KeptGameKey());
    keptStored_ = false;
    return;
  }
  auto bytes = record::WriteKeptGame(record::KeepOf(g, tally_));
  if (auto* refusal = std::get_if<Refusal>(&bytes)) {
    // A game that no kept game may hold (a name edited by hand into the
    // options): the older kept game must not come back in its place.
    if (!toldUnkeepable_) Say("the game cannot be kept: " + refusal->reason);
    toldUnkeepable_ = true;
    RemoveLocalStorage(KeptGameKey());
    keptStored_ = false;
    return;
  }
  toldUnkeepable_ = false;
  if (!WriteLocalStorage(KeptGameKey(), std::get<std::string>(bytes))) {
    if (!toldCannotWrite_) Say("cannot keep the game; the game plays on without keeping it");
    toldCannotWrite_ = true;
    return;
  }
  keptStored_ = true;
}

void BrowserKeeper::Count(const record::GameResult& result) {
  record::AddResult(record_, result);
  SaveRecord();
  if (result.outcome != record::Outcome::kGivenUp)
    recordLine_ = record::RecordLine(record_, result.level);
}

void BrowserKeeper::SaveRecord() {
  if (!writing_) return;
  if (!WriteLocalStorage(RecordKey(), record::WriteRecord(record_)) && !toldCannotWrite_) {
    Say("cannot keep the record; the game plays on without keeping it");
    toldCannotWrite_ = true;
  }
}

}  // namespace tesva

#include "browser/table_session.h"

#include <random>

#include "browser/table_view.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

std::uint64_t FreshSeed() {
  std::random_device device;  // the browser's crypto.getRandomValues
  return (std::uint64_t{device()} << 32) | device();
}

}  // namespace

TableSession::TableSession(std::optional<std::uint64_t> seed)
    : random_(seed.value_or(FreshSeed())) {
  game_ = std::make_unique<Game>(Platform{store_, sound_, random_, dialogs_, host_});
  Form_Load(*game_);
  keeper_.Resume(*game_);  // a kept game takes the place of the one just dealt
  story_.Follow(*game_);   // a resumed hand's past takes are not told again
}

std::optional<std::string> TableSession::Deliver(std::string_view kind, std::string_view target) {
  auto event = EventKindOf(kind);
  if (!event) return "unknown event " + std::string(kind);
  if (Exited()) return std::string("the game has ended");
  if (asked_ && *event != EventKind::kTick) return std::string("a box waits for an answer");
  return Run(*event, std::string(target));
}

std::optional<std::string> TableSession::Answer(const std::string& reply) {
  if (!asked_ || !asking_) return std::string("no box waits for an answer");
  auto [kind, target] = *asking_;
  asked_.reset();
  asking_.reset();
  dialogs_.Answer(reply);
  auto refusal = Run(kind, target);
  dialogs_.Forget();  // an event the window now refuses leaves no answer behind
  return refusal;
}

std::optional<std::string> TableSession::Run(EventKind kind, const std::string& target) {
  try {
    auto refusal = EventRefusal(*game_, kind, target);
    if (refusal) return refusal;
    if (kind == EventKind::kMenu && target == "mnuYeni") {
      keeper_.NewGame(*game_);  // a replaced game counts as given up
    } else {
      DeliverEvent(*game_, kind, target);
    }
    keeper_.AfterEvent(*game_, kind);
    Followed(kind);
    return {};
  } catch (const DialogAsked& asked) {
    asked_ = asked;
    asking_ = {kind, target};
    return {};
  }
}

void TableSession::Followed(EventKind kind) {
  story_.SetRecordLine(keeper_.RecordLine());  // counted by the keeper just now
  story_.Follow(*game_);
  hint_.AfterEvent(kind == EventKind::kHover);
}

bool TableSession::HintFound(int generation, int slot) {
  if (!hint_.Found(generation, slot)) return false;
  keeper_.HintShown(*game_);
  return true;
}

nlohmann::json TableSession::State() const {
  nlohmann::json view = TableView(*game_, nullptr, {});
  view.erase("motion");
  view["dialog"] = asked_ ? DialogView(*asked_) : nlohmann::json(nullptr);
  view["exited"] = host_.exited;
  view["gameEnd"] = story_.GameEnd();
  view["hint"] = hint_.Marked(*game_);
  view["recordLine"] = keeper_.RecordLine();
  return view;
}

nlohmann::json TableSession::View() {
  nlohmann::json view = State();
  view.update(TableView(*game_, drawnOnce_ ? &drawn_ : nullptr, sound_.played));
  sound_.played.clear();
  view["story"] = story_.Told();
  drawn_ = static_cast<const Form&>(*game_);
  drawnOnce_ = true;
  return view;
}

}  // namespace tesva

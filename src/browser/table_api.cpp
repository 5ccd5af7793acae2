// The functions the page calls: one table session, events in, JSON out.
// Every returned text stays valid until the next call.
#include <emscripten.h>

#include <charconv>
#include <memory>
#include <string>

#include "browser/table_session.h"
#include "browser/table_view.h"
#include "record/hint_position.h"

namespace {

std::unique_ptr<tesva::TableSession> session;
std::string answer;

const char* Hand(std::string text) {
  answer = std::move(text);
  return answer.c_str();
}

// Compact JSON; a stored name need not be UTF-8, so bad bytes are replaced.
const char* HandJson(const nlohmann::json& data) {
  return Hand(data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

const char* Result(const std::optional<std::string>& refusal) {
  return Hand(refusal.value_or(""));
}

}  // namespace

tesva::TableSession* tesva::OpenTable() {
  return session.get();
}

extern "C" {

// A new game; `seed` is a decimal seed for a replayable game, or "" for a
// fresh one. The previous game, ended or not, is gone.
EMSCRIPTEN_KEEPALIVE void tesva_new_game(const char* seed) {
  std::optional<std::uint64_t> fixed;
  std::string_view text(seed);
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size()) fixed = value;
  session = std::make_unique<tesva::TableSession>(fixed);
}

// Delivers an event; "" when delivered, else why not.
EMSCRIPTEN_KEEPALIVE const char* tesva_deliver(const char* kind, const char* target) {
  if (!session) return Hand("no game");
  return Result(session->Deliver(kind, target));
}

EMSCRIPTEN_KEEPALIVE const char* tesva_answer(const char* reply) {
  if (!session) return Hand("no game");
  return Result(session->Answer(reply));
}

EMSCRIPTEN_KEEPALIVE const char* tesva_view() {
  if (!session) return Hand("null");
  return HandJson(session->View());
}

EMSCRIPTEN_KEEPALIVE const char* tesva_state() {
  if (!session) return Hand("null");
  return HandJson(session->State());
}

// The hint: the position to look in ("null" when no hint is due), then the
// worker's card for it; 1 when marked, 0 when the game moved on meanwhile.
EMSCRIPTEN_KEEPALIVE const char* tesva_hint_ask() {
  if (!session) return Hand("null");
  return HandJson(session->AskHint());
}

EMSCRIPTEN_KEEPALIVE int tesva_hint_found(int generation, int slot) {
  return session && session->HintFound(generation, slot) ? 1 : 0;
}

// In the hint's worker, which holds no game: the master's slot (1 to 4) in
// a position that tesva_hint_ask handed out; 0 for a position no game gives.
EMSCRIPTEN_KEEPALIVE int tesva_hint(const char* position) {
  return tesva::record::HintSlotIn(position);
}

EMSCRIPTEN_KEEPALIVE const char* tesva_layout() {
  return HandJson(tesva::TableLayout());
}

}  // extern "C"

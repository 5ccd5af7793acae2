// The functions the page calls: one table session, events in, JSON out.
// Every returned text stays valid until the next call.
#include <emscripten.h>

#include <charconv>
#include <memory>
#include <string>

#include "browser/table_session.h"
#include "browser/table_view.h"

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

EMSCRIPTEN_KEEPALIVE const char* tesva_layout() {
  return HandJson(tesva::TableLayout());
}

}  // extern "C"

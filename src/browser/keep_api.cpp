// The functions the page calls for the record and the kept game: the
// statistics dialog's table and words, "Sıfırla", and handing the game
// over between tabs. Every returned text stays valid until the next call.
#include <emscripten.h>

#include <string>

#include <nlohmann/json.hpp>

#include "browser/table_session.h"
#include "record/record.h"
#include "record/record_texts.h"

namespace {

std::string answer;

const char* Hand(const nlohmann::json& data) {
  answer = data.dump();
  return answer.c_str();
}

}  // namespace

extern "C" {

// The words around the record and the tabs, for the page's menu and boxes.
EMSCRIPTEN_KEEPALIVE const char* tesva_record_texts() {
  using namespace tesva::record;
  return Hand({{"command", kStatisticsCommand},
               {"title", kStatisticsTitle},
               {"reset", kResetButton},
               {"close", kCloseButton},
               {"resetTitle", kResetTitle},
               {"resetQuestion", kResetQuestion},
               {"openElsewhere", kOpenElsewhere},
               {"takeOver", kTakeOverButton}});
}

// The statistics table's rows, the heading row first; null before a game.
EMSCRIPTEN_KEEPALIVE const char* tesva_statistics() {
  auto* table = tesva::OpenTable();
  if (!table) return Hand(nullptr);
  return Hand(tesva::record::StatisticsRows(table->Keeper().Record()));
}

// "Sıfırla" answered Yes.
EMSCRIPTEN_KEEPALIVE void tesva_reset_record() {
  if (auto* table = tesva::OpenTable()) table->Keeper().ResetRecord();
}

// 0 once another tab has taken the game over: this one writes nothing more.
EMSCRIPTEN_KEEPALIVE void tesva_keep(int on) {
  if (auto* table = tesva::OpenTable()) table->Keeper().SetWriting(on != 0);
}

}  // extern "C"

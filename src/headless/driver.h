// Runs the game from a script of lines, as the window would run it from its
// events: set-up lines fill the options store and the queues of the in-memory
// platform, event lines call the window's handlers, `dump` prints the whole
// observable state. The commands are those of the headless program
// `tesva-headless`; a test or a benchmark can drive the game the same way in
// process.
//
//   std::ostringstream out;
//   tesva::Driver driver(out, 42);
//   driver.Line("start");
//   driver.Line("click Player1_Kart(1)");
//   driver.Line("wait");
//   driver.Line("dump");
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/game_state.h"
#include "platform/memory.h"

namespace tesva {

class Driver {
 public:
  // Output goes to `out`; `seed` seeds the random source for the draws that
  // find no queued value.
  Driver(std::ostream& out, std::uint64_t seed);
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Carries out one line (a trailing '\r' is dropped). Once the program has
  // exited, lines are no longer read and this does nothing.
  void Line(std::string_view line);
  // Every line of `in`, until its end or until the program exits.
  void Run(std::istream& in);

  // True after `menu mnuCikis`: the program has ended.
  bool Finished() const { return platform_.host.exited; }
  // True after `start`.
  bool Loaded() const { return loaded_; }
  int Errors() const { return errors_; }
  // 0 when every line was carried out, 1 when any printed an error.
  int ExitStatus() const { return errors_ == 0 ? 0 : 1; }

  // The snapshot that `dump` prints, sounds and dialogs since the previous
  // dump included; like `dump` it forgets them.
  nlohmann::json Dump();

  const Game& game() const { return game_; }
  // The master level's search size (Game::UstaSearch).
  void SetUstaSearch(int search) { game_.UstaSearch = search; }
  MemoryPlatform& platform() { return platform_; }

 private:
  // Why a line could not be carried out; nothing when it was.
  using Failure = std::optional<std::string>;
  using Command = Failure (Driver::*)(const std::string& text);

  static Command FindCommand(std::string_view word);
  Failure Carry(std::string_view line);

  // Set-up and queues.
  Failure Store(const std::string& text);
  Failure Unstore(const std::string& text);
  Failure Start(const std::string& text);
  Failure Deck(const std::string& text);
  Failure Random(const std::string& text);
  Failure Reply(const std::string& text);
  Failure Answer(const std::string& text);
  // Ticks until no timer runs; the other window events go through
  // DeliverEvent.
  Failure Wait(const std::string& text);
  // Output.
  Failure DumpLine(const std::string& text);
  Failure Echo(const std::string& text);

  std::ostream& out_;
  MemoryPlatform platform_;
  Game game_{platform_.services()};  // after platform_: it holds references into it
  bool loaded_ = false;
  bool exitReported_ = false;
  int errors_ = 0;
};

}  // namespace tesva

// libFuzzer target for the two files the game reads at start-up: the kept
// game and the record. Whatever the bytes, reading must end without a crash,
// undefined behaviour or a leak; a file that passes the checks must write
// back to a file that reads as the same game; and the game it resumes must
// play on, every state it reaches passing the same checks, so that nothing
// a file says can lead the game anywhere its own rules could not.
//
// An input that starts with '{' is read as it is. Any other input is taken
// as edits to a real kept game (three bytes each: a position in the file,
// two bytes, and the byte to put there), so that random inputs reach the
// checks deep inside a well-formed file as well as the parser.
//
//   tesva-fuzz-kept [libFuzzer options] [CORPUS...]
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "platform/memory.h"
#include "record/kept_game.h"

namespace {

using namespace tesva;

// A game some moves into its first hand, kept.
std::string RealKeptGame() {
  MemoryPlatform io(7);
  Game g(io.services());
  Form_Load(g);
  record::GameTally tally;
  for (int events = 0; events < 9; ++events) {
    if (g.Timer1.enabled) {
      Timer1_Timer(g);
    } else {
      for (int i = 1; i <= kHandSize; ++i) {
        if (g.Player1_Kart(i).enabled) {
          Player1_Kart_Click(g, i);
          break;
        }
      }
    }
    record::FollowGame(g, tally);
  }
  return std::get<std::string>(record::WriteKeptGame(record::KeepOf(g, tally)));
}

std::string Edited(const std::uint8_t* data, std::size_t size) {
  static const std::string real = RealKeptGame();
  std::string bytes = real;
  for (std::size_t i = 0; i + 3 <= size; i += 3) {
    std::size_t at = (std::size_t{data[i]} << 8 | data[i + 1]) % bytes.size();
    bytes[at] = static_cast<char>(data[i + 2]);
  }
  return bytes;
}

void Fail(const char* why) {
  std::fprintf(stderr, "kept_game_fuzz: %s\n", why);
  std::abort();
}

// The resumed game plays on: the human's first playable card, the timers.
void PlayOn(const record::KeptGame& kept) {
  MemoryPlatform io(11);
  Game g(io.services());
  g.UstaSearch = 2;
  record::ResumeInto(g, kept);
  record::GameTally tally = kept.tally;
  for (int events = 0; events < 60 && g.HandNo != 0; ++events) {
    if (g.Timer1.enabled) {
      Timer1_Timer(g);
    } else if (g.Timer2.enabled) {
      Timer2_Timer(g);
    } else {
      int slot = 0;
      for (int i = 1; i <= kHandSize && slot == 0; ++i) {
        if (g.Player1_Kart(i).enabled) slot = i;
      }
      if (slot == 0) return;  // waits for a dialog's answer
      Player1_Kart_Click(g, slot);
    }
    record::FollowGame(g, tally);
    if (g.HandNo != 0) {
      std::string broken = record::CheckKeptGame(record::KeepOf(g, tally));
      if (!broken.empty()) {
        std::fprintf(stderr, "after %d events: %s\n", events + 1, broken.c_str());
        Fail("a game resumed from an accepted file broke a rule");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes = size > 0 && data[0] == '{'
                          ? std::string(reinterpret_cast<const char*>(data), size)
                          : Edited(data, size);
  auto read = record::ReadKeptGame(bytes);
  if (auto* kept = std::get_if<record::KeptGame>(&read)) {
    auto again = record::WriteKeptGame(*kept);
    auto* text = std::get_if<std::string>(&again);
    if (!text) Fail("an accepted kept game cannot be written");
    auto back = record::ReadKeptGame(*text);
    auto* same = std::get_if<record::KeptGame>(&back);
    if (!same || !(*same == *kept)) Fail("an accepted kept game does not read back whole");
    PlayOn(*kept);
  }
  auto record = record::ReadRecord(std::string_view(reinterpret_cast<const char*>(data), size));
  if (auto* r = std::get_if<record::Record>(&record)) {
    auto back = record::ReadRecord(record::WriteRecord(*r));
    auto* same = std::get_if<record::Record>(&back);
    if (!same || !(*same == *r)) Fail("an accepted record does not read back whole");
  }
  return 0;
}

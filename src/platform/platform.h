// The services the game needs from the machine it runs on. The game logic
// talks only to these interfaces; the window program plugs in real ones
// (Qt), the tests and the headless driver plug in the in-memory ones of
// memory.h.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tesva {

// Per-user options: text values addressed by application, section and key.
class OptionsStore {
 public:
  virtual ~OptionsStore() = default;
  // The stored text, or "" when the key is absent.
  virtual std::string Read(std::string_view app, std::string_view section,
                           std::string_view key) = 0;
  virtual void Write(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};

// Starts a sound file by its full path and returns at once; a sound still
// playing is cut off by the next. Failure is silent.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void Play(const std::string& path) = 0;
};

// The generator behind the random sources: Knuth's 64-bit linear
// congruential engine. Only its top 53 bits are used, which are well mixed;
// a shuffle takes some 700 draws, so a cheap step matters.
using FastEngine = std::linear_congruential_engine<std::uint64_t, 6364136223846793005ULL,
                                                   1442695040888963407ULL, 0>;

// The only source of chance in the game. Seeded once when it is made.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform value u with 0 <= u < 1.
  virtual double Uniform() = 0;
  // n such values, drawn in order: the shuffle draws two for every card it
  // tries, some 700 a hand, and one call for both is cheaper.
  virtual void Uniforms(double* values, int n) {
    for (int i = 0; i < n; ++i) values[i] = Uniform();
  }
  // A deck order laid out in place of the next shuffle, for replaying a
  // recorded hand; none by default.
  virtual std::optional<std::vector<std::string>> TakeStackedDeck() { return std::nullopt; }
};

// The two modal boxes of the game, both titled with the application title.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A one-line text box, empty to start; "" when cancelled. maxLength limits
  // the reply in characters (0: no limit).
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               int maxLength) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& prompt, const std::string& title) = 0;
};

// The running program itself.
class Host {
 public:
  virtual ~Host() = default;
  // The folder that holds the program, without a trailing separator.
  virtual std::string ProgramFolder() = 0;
  // Ends the program at once.
  virtual void Exit() = 0;
};

struct Platform {
  OptionsStore& store;
  SoundPlayer& sound;
  RandomSource& random;
  Dialogs& dialogs;
  Host& host;
};

}  // namespace tesva

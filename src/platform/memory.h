// In-memory versions of the platform services: for tests, the headless
// driver and the benchmark. Nothing here touches the machine.
#pragma once

#include <deque>
#include <map>
#include <random>
#include <tuple>

#include "platform/platform.h"

namespace tesva {

class MemoryStore : public OptionsStore {
 public:
  using Key = std::tuple<std::string, std::string, std::string>;

  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
  void Remove(std::string_view app, std::string_view section, std::string_view key);
  // Every key of one section with its text, in key order.
  std::map<std::string, std::string> Section(std::string_view app, std::string_view section) const;

 private:
  std::map<Key, std::string> values_;
};

// Records what was played instead of playing it.
class RecordingSound : public SoundPlayer {
 public:
  void Play(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

// Queued values first, then a generator of its own seeded once.
class ScriptedRandom final : public RandomSource {
 public:
  explicit ScriptedRandom(std::uint64_t seed = std::random_device{}()) : engine_(seed) {}

  double Uniform() override;
  void Uniforms(double* values, int n) override;
  std::optional<std::vector<std::string>> TakeStackedDeck() override;

  void Queue(double u) { values_.push_back(u); }
  void QueueDeck(std::vector<std::string> deck) { decks_.push_back(std::move(deck)); }
  std::size_t QueuedValues() const { return values_.size(); }

 private:
  FastEngine engine_;
  std::deque<double> values_;
  std::deque<std::vector<std::string>> decks_;
};

// Replies queued in advance; an empty queue gives "" and No.
class ScriptedDialogs : public Dialogs {
 public:
  std::string InputBox(const std::string& prompt, const std::string& title, int maxLength) override;
  bool AskYesNo(const std::string& prompt, const std::string& title) override;

  std::deque<std::string> replies;
  std::deque<bool> answers;
  std::vector<std::string> shown;  // prompts, in the order the boxes opened
};

class MemoryHost : public Host {
 public:
  explicit MemoryHost(std::string folder = "/opt/tesva") : folder_(std::move(folder)) {}
  std::string ProgramFolder() override { return folder_; }
  void Exit() override { exited = true; }
  bool exited = false;

 private:
  std::string folder_;
};

// All five in-memory services in one place, ready to hand to a game.
struct MemoryPlatform {
  explicit MemoryPlatform(std::uint64_t seed = std::random_device{}()) : random(seed) {}
  MemoryStore store;
  RecordingSound sound;
  ScriptedRandom random;
  ScriptedDialogs dialogs;
  MemoryHost host;
  Platform services() { return {store, sound, random, dialogs, host}; }
};

}  // namespace tesva

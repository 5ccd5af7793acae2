#include "platform/memory.h"

namespace tesva {

std::string MemoryStore::Read(std::string_view app, std::string_view section,
                              std::string_view key) {
  auto it = values_.find(Key{app, section, key});
  return it == values_.end() ? std::string() : it->second;
}

void MemoryStore::Write(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
  values_[Key{app, section, key}] = std::string(value);
}

void MemoryStore::Remove(std::string_view app, std::string_view section, std::string_view key) {
  values_.erase(Key{app, section, key});
}

std::map<std::string, std::string> MemoryStore::Section(std::string_view app,
                                                        std::string_view section) const {
  std::map<std::string, std::string> keys;
  for (const auto& [key, value] : values_) {
    if (std::get<0>(key) == app && std::get<1>(key) == section) keys[std::get<2>(key)] = value;
  }
  return keys;
}

double ScriptedRandom::Uniform() {
  if (!values_.empty()) {
    double u = values_.front();
    values_.pop_front();
    return u;
  }
  // 53 random bits give every double of the form k / 2^53 in [0, 1).
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void ScriptedRandom::Uniforms(double* values, int n) {
  for (int i = 0; i < n; ++i) values[i] = ScriptedRandom::Uniform();  // called directly
}

std::optional<std::vector<std::string>> ScriptedRandom::TakeStackedDeck() {
  if (decks_.empty()) return std::nullopt;
  auto deck = std::move(decks_.front());
  decks_.pop_front();
  return deck;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string&, int) {
  shown.push_back(prompt);
  if (replies.empty()) return {};
  auto reply = std::move(replies.front());
  replies.pop_front();
  return reply;
}

bool ScriptedDialogs::AskYesNo(const std::string& prompt, const std::string&) {
  shown.push_back(prompt);
  if (answers.empty()) return false;
  bool yes = answers.front();
  answers.pop_front();
  return yes;
}

}  // namespace tesva

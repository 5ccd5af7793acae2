// The player's own option store, through which, while a friend game runs,
// the other seat's name ("CpuIsim") reads as the friend's and is never
// written: the user's own computer name stays as it was.
#pragma once

#include <optional>
#include <string>

#include "engine/engine.h"
#include "platform/platform.h"

class FriendNames : public tesva::OptionsStore {
 public:
  explicit FriendNames(tesva::OptionsStore& own) : own_(own) {}

  std::string Read(std::string_view app, std::string_view section, std::string_view key) override {
    if (friendName && IsOtherSeat(app, section, key)) return *friendName;
    return own_.Read(app, section, key);
  }
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override {
    if (friendName && IsOtherSeat(app, section, key)) return;
    own_.Write(app, section, key, value);
  }

  std::optional<std::string> friendName;  // set during a friend game

 private:
  static bool IsOtherSeat(std::string_view app, std::string_view section, std::string_view key) {
    return app == tesva::kStoreApp && section == tesva::kStoreSection &&
           key == tesva::kKeyComputerName;
  }
  tesva::OptionsStore& own_;
};

// The options' menu commands, one table for the core's menus and the
// window's: the item chosen and the option it stores, in an order that
// chooses every item, and a checked one again, at least once.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tesva {

struct OptionCommand {
  const char* item;
  const char* key;
  const char* value;
};

inline constexpr OptionCommand kOptionCommands[] = {
    {"mnuAmator", "Seviye", "1"},
    {"mnuPro", "Seviye", "2"},
    {"mnuUsta", "Seviye", "3"},
    {"mnuAmator", "Seviye", "1"},
    {"mnuSecond", "CpuDusunmeHizi", "100"},
    {"mnuFirst", "CpuDusunmeHizi", "10"},
    {"mnuTherd", "CpuDusunmeHizi", "500"},
    {"mnuLast", "CpuDusunmeHizi", "1000"},
    {"mnuYesil", "BackGround", "32768"},
    {"mnuLacivert", "BackGround", "8388608"},
    {"mnuSiyah", "BackGround", "0"},
    {"mnuRenkli", "Deste", "Back"},
    {"mnuStandart", "Deste", "Back2"},
    {"mnuSesler", "Sesler", "0"},
    {"mnuSesler", "Sesler", "1"},
};

// The items that should be checked: the first run's, then one of each group
// as chosen; the sounds' item turns on and off.
class OptionMarks {
 public:
  void Choose(std::string_view item) {
    if (item == "mnuSesler") {
      if (!checked.erase("mnuSesler")) checked.insert("mnuSesler");
      return;
    }
    for (const auto& group : kGroups) {
      if (std::find(group.begin(), group.end(), item) == group.end()) continue;
      for (const auto& other : group) checked.erase(other);
    }
    checked.insert(std::string(item));
  }
  // Every item of the groups, to compare each with what is shown.
  static std::vector<std::string> Items() {
    std::vector<std::string> items{"mnuSesler"};
    for (const auto& group : kGroups) items.insert(items.end(), group.begin(), group.end());
    return items;
  }
  bool Checked(const std::string& item) const { return checked.count(item) != 0; }

  std::set<std::string> checked{"mnuAmator", "mnuSecond", "mnuYesil", "mnuRenkli", "mnuSesler"};

 private:
  static inline const std::vector<std::vector<std::string>> kGroups = {
      {"mnuAmator", "mnuPro", "mnuUsta"},
      {"mnuFirst", "mnuSecond", "mnuTherd", "mnuLast"},
      {"mnuYesil", "mnuLacivert", "mnuSiyah"},
      {"mnuStandart", "mnuRenkli"}};
};

}  // namespace tesva

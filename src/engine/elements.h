// The window's elements as plain data. The game reads and changes these; a
// window only draws them, and a test compares them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace tesva {

// An element array indexed from 1, as the window's arrays are:
// Player1_Kart(1) ... (4), Cikanlar(1) ... (13).
template <class T, std::size_t N>
struct OneBased {
  std::array<T, N> items{};

  T& operator()(int index) { return items.at(static_cast<std::size_t>(index - 1)); }
  const T& operator()(int index) const { return items.at(static_cast<std::size_t>(index - 1)); }
  static constexpr int size() { return static_cast<int>(N); }
  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
  bool operator==(const OneBased&) const = default;
};

// A picture element shows a picture by name: a card code, a card-back name
// or "" when cleared.
struct Picture {
  std::string picture;
  bool enabled = true;
  bool visible = true;
  bool operator==(const Picture&) const = default;
};

struct Label {
  std::string caption;
  bool visible = true;
  bool enabled = true;
  bool operator==(const Label&) const = default;
};

// A hidden text list that the game uses as a container.
struct TextList {
  std::vector<std::string> items;
  bool visible = false;
  bool operator==(const TextList&) const = default;
};

struct Timer {
  bool enabled = false;
  int interval = 0;  // milliseconds
  bool operator==(const Timer&) const = default;
};

struct MenuItem {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  bool operator==(const MenuItem&) const = default;
};

// The hover frame, positioned in twips.
struct Frame {
  bool visible = false;
  int left = 0;
  int top = 0;
  bool operator==(const Frame&) const = default;
};

enum class Pointer { kDefault, kHourglass };

}  // namespace tesva

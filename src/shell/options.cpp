// The stored options: first-run defaults and applying them at start-up.
#include <algorithm>
#include <charconv>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "platform/plain_decimal.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

struct Choice {
  std::string_view value;
  MenuItem Form::*item;
};

constexpr std::array<Choice, 4> kDelays = {{{"10", &Form::mnuFirst},
                                            {"100", &Form::mnuSecond},
                                            {"500", &Form::mnuTherd},
                                            {"1000", &Form::mnuLast}}};
constexpr std::array<Choice, 3> kBackgrounds = {
    {{"32768", &Form::mnuYesil}, {"8388608", &Form::mnuLacivert}, {"0", &Form::mnuSiyah}}};

// Checks the item of `value` in its group and unchecks the others; false
// (and nothing changed) when no item of the group has that value.
template <std::size_t N>
bool CheckChoice(Game& g, const std::array<Choice, N>& group, std::string_view value) {
  auto match = std::find_if(group.begin(), group.end(), [&](auto& c) { return c.value == value; });
  if (match == group.end()) return false;
  for (const auto& choice : group) (g.*choice.item).checked = (&choice == &*match);
  return true;
}

std::string HandsCaption(std::string_view count) {
  return "El sayısı     (" + std::string(count) + ")";
}

}  // namespace

std::optional<int> ParseThinkingDelay(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < 1 || value > 65535) return std::nullopt;
  return value;
}

namespace {

// A sign, digits and at most one decimal point ("." or ","), with a digit
// on at least one side of the point: "7", "-3", "2,5", ".5", "5.".
bool IsPlainNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  auto point = text.find_first_of(".,");
  auto whole = text.substr(0, point);
  auto fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  return std::all_of(whole.begin(), whole.end(), isDigit) &&
         std::all_of(fraction.begin(), fraction.end(), isDigit) &&
         !(whole.empty() && fraction.empty());
}

}  // namespace

std::optional<int> ParseHandCount(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!IsPlainNumber(text)) return std::nullopt;
  std::string number(text);
  std::replace(number.begin(), number.end(), ',', '.');
  if (number.front() == '+') number.erase(0, 1);
  double value = 0;
  FromCharsDecimal(number.data(), number.data() + number.size(), value);
  if (!(value > -1000 && value < 1000)) return std::nullopt;  // far out of range, or overflow
  auto rounded = RoundHalfEven(value);
  if (rounded < 1 || rounded > 99) return std::nullopt;
  return static_cast<int>(rounded);
}

void WriteFirstRunDefaults(Game& g) {
  // Only the level tells whether this is the first run.
  if (!ReadOption(g, kKeyLevel).empty()) return;
  WriteOption(g, kKeyLevel, "1");
  WriteOption(g, kKeyDelay, "100");
  WriteOption(g, kKeyHands, "11");
  WriteOption(g, kKeySounds, "1");
  WriteOption(g, kKeyHumanName, "Oyuncu");
  WriteOption(g, kKeyComputerName, "Bilgisayar");
  WriteOption(g, kKeyBackground, "32768");
  WriteOption(g, kKeyCardBack, "Back");
}

void AyarlariUygula(Game& g) {
  // The amateur and the master are named; any other level plays the
  // professional's game.
  auto level = ReadOption(g, kKeyLevel);
  g.Level = level == kAmateur || level == kMaster ? level : std::string(kProfessional);
  g.mnuAmator.checked = g.Level == kAmateur;
  g.mnuPro.checked = g.Level == kProfessional;
  g.mnuUsta.checked = g.Level == kMaster;

  auto delay = ReadOption(g, kKeyDelay);
  g.Timer1.interval = ParseThinkingDelay(delay).value_or(kDefaultThinkingDelay);
  CheckChoice(g, kDelays, delay);

  auto hands = ReadOption(g, kKeyHands);
  if (auto count = ParseHandCount(hands)) {
    g.HandsPerGame = static_cast<std::int16_t>(*count);
    g.mnuElSayisi.caption = HandsCaption(hands);
  } else {
    g.HandsPerGame = kDefaultHandsPerGame;
    g.mnuElSayisi.caption = HandsCaption(std::to_string(kDefaultHandsPerGame));
  }

  g.mnuSesler.checked = ReadOption(g, kKeySounds) == "1";

  auto background = ReadOption(g, kKeyBackground);
  if (CheckChoice(g, kBackgrounds, background)) g.BackColor = std::stoi(background);

  // Only the two backs are ever named: anything but the coloured one is the
  // standard back that the menu then shows checked.
  bool coloured = ReadOption(g, kKeyCardBack) == kColouredBack;
  g.mnuRenkli.checked = coloured;
  g.mnuStandart.checked = !coloured;

  auto human = ReadOption(g, kKeyHumanName);
  if (human == kWatchModeName) SetWatchMode(g, true);  // nothing is hidden otherwise
  g.CardBack = coloured ? kColouredBack : kStandardBack;
  g.Player1_Name.caption = NameCaption(human, g.Player1_Score);
  g.Player2_Name.caption = NameCaption(ReadOption(g, kKeyComputerName), g.Player2_Score);
}

void mnuElSayisi_Click(Game& g) {
  auto reply = g.io.dialogs.InputBox("Lütfen kaç el oynamak istediğinizi belirleyin...",
                                     std::string(kAppTitle), 0);
  // Anything that is not a count of 1 to 99 plays 11 hands, and the menu and
  // the store say so too.
  int count = ParseHandCount(reply).value_or(kDefaultHandsPerGame);
  g.HandsPerGame = static_cast<std::int16_t>(count);
  g.mnuElSayisi.caption = HandsCaption(std::to_string(count));
  WriteOption(g, kKeyHands, std::to_string(count));
}

}  // namespace tesva

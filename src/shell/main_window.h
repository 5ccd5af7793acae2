// The main window's event handlers, its menu bar and the places of its
// elements. Everything here works on the game's data; a window toolkit only
// draws that data and forwards events to these handlers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/game_state.h"

namespace tesva {

inline constexpr std::string_view kAppTitle = "Tesva";
inline constexpr std::string_view kWatchModeName = "GateKeeper";
inline constexpr int kMaxNameLength = 30;  // characters, not bytes
inline constexpr int kOuterHeight = 7500;  // twips

// --- Start-up, new game and exit (startup.cpp) ----------------------------
void Form_Load(Game& g);
void mnuYeni_Click(Game& g);
void mnuCikis_Click(Game& g);

// --- Stored options (options.cpp) -----------------------------------------
void WriteFirstRunDefaults(Game& g);
void AyarlariUygula(Game& g);
// A thinking delay that the timer accepts: plain digits worth 1 to 65535.
std::optional<int> ParseThinkingDelay(std::string_view text);
// A hand count: a number (blanks around it allowed, "." or "," as the
// decimal point) that rounds half to even to 1 ... 99.
std::optional<int> ParseHandCount(std::string_view text);

// --- The table's size (table_scale.cpp) -----------------------------------
// A window option of its own, beside the game's eight in the same section:
// the table drawn at 100, 150 or 200 percent.
inline constexpr std::string_view kKeyTableScale = "MasaBuyuklugu";
inline constexpr std::array<int, 3> kTableScales = {100, 150, 200};
inline constexpr int kDefaultTableScale = 100;
// A stored table size: exactly "100", "150" or "200"; nothing else.
std::optional<int> ParseTableScale(std::string_view text);
// The largest size whose window, `windowHeights[i]` pixels tall at
// kTableScales[i], fits in three quarters of `availableHeight`; the
// smallest when none does.
int FittingTableScale(const std::array<int, 3>& windowHeights, int availableHeight);
// The size the window opens at: on the first run (no options stored yet)
// the fitting one, later the stored one, 100 when that is absent or unusable.
int OpeningTableScale(bool firstRun, std::string_view stored,
                      const std::array<int, 3>& windowHeights, int availableHeight);
// The menu that chooses it, last under "Seçenekler", and its items: "%100",
// "%150", "%200" (Turkish writes the percent sign first).
inline constexpr std::string_view kTableScaleMenu = "Masa büyüklüğü";
std::string TableScaleCaption(int percent);

// --- Option menus (menus.cpp) ---------------------------------------------
void mnuAmator_Click(Game& g);
void mnuPro_Click(Game& g);
void mnuUsta_Click(Game& g);
void mnuFirst_Click(Game& g);
void mnuSecond_Click(Game& g);
void mnuTherd_Click(Game& g);
void mnuLast_Click(Game& g);
void mnuElSayisi_Click(Game& g);
void mnuSesler_Click(Game& g);
void mnuYesil_Click(Game& g);
void mnuLacivert_Click(Game& g);
void mnuSiyah_Click(Game& g);
void mnuStandart_Click(Game& g);
void mnuRenkli_Click(Game& g);

// --- Names, watch mode and rules panel (names.cpp) -------------------------
void Player1_Name_Click(Game& g);
void Player2_Name_Click(Game& g);
void mnuHelp_Click(Game& g);
void Command1_Click(Game& g);
// The first maxChars characters of a UTF-8 text.
std::string CutToCharacters(std::string_view text, int maxChars);
bool WatchModeOn(const Game& g);
// Watch mode shows the computer's hand and the played-cards tracker.
void SetWatchMode(Game& g, bool on);

// --- The menu bar (menus.cpp) ---------------------------------------------
// One entry per menu item or separator, in the order of the menu bar.
struct MenuEntry {
  std::string_view name;
  std::string_view parent;  // "" for the items of the bar itself
  MenuItem Form::*item;     // nullptr for a separator
  void (*click)(Game&);     // nullptr for an item that only opens a submenu
};
extern const std::array<MenuEntry, 24> kMenuBar;
const MenuEntry* FindMenu(std::string_view name);
// An item can be chosen when it and every menu above it are enabled.
bool MenuReachable(const Game& g, const MenuEntry& entry);

// --- Places of the elements (layout.cpp) -----------------------------------
// In twips, relative to the client area, or to the rules panel for the
// panel's own elements.
struct Place {
  int left, top, width, height;
};
inline constexpr int kClientWidth = 7875;
inline constexpr int kClientHeight = 6840;

// A colour value: red + 256 * green + 65536 * blue.
inline constexpr int kNavy = 8388608;
inline constexpr int kBlack = 0;
inline constexpr int kLightGrey = 12632256;
inline constexpr int kWhite = 16777215;
inline constexpr int kFrameColour = 8454143;
inline constexpr int kPink = 12632319;
inline constexpr int kPeach = 12640511;
inline constexpr int kButtonFace = 16761024;

// The window's elements that stand at one place.
struct ElementPlace {
  std::string_view name;
  Place place;
};
extern const std::array<ElementPlace, 16> kElementPlaces;
Place Player1KartPlace(int index);
Place Player2KartPlace(int index);
Place CikanlarPlace(int index);
std::optional<Place> FindPlace(std::string_view name);

// The rules panel's texts, as they stand.
struct PanelText {
  std::string_view name;
  Place place;
  std::string_view caption;
  int colour;
  bool bold;
  std::string_view font;  // "" for the window's default font
  double pointSize;       // 0 for the default size
  bool wordWrap;
};
extern const std::array<PanelText, 12> kRulesPanelTexts;
inline constexpr Place kCommand1Place{1560, 4380, 735, 315};
inline constexpr std::string_view kCommand1Caption = "Ok";

}  // namespace tesva

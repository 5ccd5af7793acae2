#include <algorithm>

#include "shell/main_window.h"

namespace tesva {

const std::array<ElementPlace, 16> kElementPlaces = {{
    {"Player2_Name", {3555, 120, 915, 195}},
    {"List2", {6420, 480, 1215, 840}},
    {"Player2_Deste", {240, 1140, 960, 1560}},
    {"Player1_Deste", {240, 3720, 960, 1560}},
    {"EnAltKart", {2340, 2400, 960, 1560}},
    {"Label2", {2550, 4020, 495, 195}},
    {"OrtadakiKartlar", {3540, 2400, 960, 1560}},
    {"Shape1", {5460, 2400, 975, 1575}},
    {"Deste", {6660, 2400, 960, 1560}},
    {"Label8", {6660, 4020, 975, 195}},
    {"List1", {6240, 4620, 1335, 1620}},
    {"Player1_Name", {3615, 6180, 795, 195}},
    {"Label1", {0, 6540, 8295, 315}},
    {"Label7", {6645, 6600, 1170, 195}},
    {"Picture1", {2040, 900, 3915, 4815}},
    {"Command1", kCommand1Place},
}};

Place Player1KartPlace(int index) {
  return {kHumanCardLeftOf(index), kHumanCardTop, kCardWidth, kCardHeight};
}

Place Player2KartPlace(int index) {
  return {2820 + 480 * (index - 1), 480, kCardWidth, kCardHeight};
}

Place CikanlarPlace(int index) {
  return {1320, 360 + 300 * (index - 1), 675, 255};
}

std::optional<Place> FindPlace(std::string_view name) {
  auto it = std::find_if(kElementPlaces.begin(), kElementPlaces.end(),
                         [&](const ElementPlace& e) { return e.name == name; });
  if (it == kElementPlaces.end()) return std::nullopt;
  return it->place;
}

const std::array<PanelText, 12> kRulesPanelTexts = {{
    {"Label3", {1320, 60, 1200, 270}, "KURALLAR", kPink, true, "Arial", 11.25, false},
    {"Label4",
     {120, 360, 4065, 390},
     "** Vale - oyun başında veya oyun esnasında olmak farketmez - yerdeki kağıtların hepsini alır",
     kWhite,
     false,
     "",
     0,
     true},
    {"Label5",
     {120, 840, 3645, 390},
     "** Yerde 1 tane kağıt varsa aynı rakamlı kağıt atıldı ğında TESVA olur.",
     kWhite,
     false,
     "",
     0,
     true},
    {"Label6",
     {120, 1380, 3600, 390},
     "** Yerdeki kağıtlardan en üsttekiyle aynı rakamlı ka ğıdı atan yerdekilerin hepsini alır",
     kWhite,
     false,
     "",
     0,
     true},
    {"Label9", {120, 2040, 720, 195}, "Puanlar:", kPink, true, "MS Sans Serif", 8.25, false},
    {"Label10",
     {420, 2280, 2145, 195},
     "AS 'lar ve VALE 'ler  \"1\"  puan",
     kWhite,
     false,
     "",
     0,
     false},
    {"Label11",
     {420, 2520, 2250, 195},
     "Sinek 2  \"2\", Karo 10  \"3\" puan",
     kWhite,
     false,
     "",
     0,
     false},
    {"Label12", {420, 2760, 1530, 195}, "Kağıt fazlası \"3\" puan", kWhite, false, "", 0, false},
    {"Label13", {420, 3240, 1650, 195}, "Vale ile tesva  \"15\" puan", kWhite, false, "", 0, false},
    {"Label14", {420, 3480, 1515, 195}, "As ile tesva  \"30\" puan", kWhite, false, "", 0, false},
    {"Label15",
     {420, 3720, 3075, 195},
     "Diğer kağıtlarla yapılan tesvaler  \"10\" ar puan",
     kWhite,
     false,
     "",
     0,
     false},
    {"Label16", {2760, 4080, 1020, 195}, "İyi eğlenceler..", kPeach, false, "", 0, false},
}};

}  // namespace tesva

#include "headless/snapshot.h"

#include <algorithm>

#include "engine/engine.h"
#include "shell/main_window.h"

namespace tesva {
namespace {

using nlohmann::json;

json StateOf(const GameState& s) {
  return {{"HoverActive", s.HoverActive},
          {"HoverIndex", s.HoverIndex},
          {"Player1_Score", s.Player1_Score},
          {"Player2_Score", s.Player2_Score},
          {"Dealer", s.Dealer},
          {"DeckPos", s.DeckPos},
          {"Player1_DealtHand", s.Player1_DealtHand},
          {"TopCard", s.TopCard},
          {"BaseCard", s.BaseCard},
          {"FloorCount", s.FloorCount},
          {"FloorPoints", s.FloorPoints},
          {"Player1_CardsTaken", s.Player1_CardsTaken},
          {"Player2_CardsTaken", s.Player2_CardsTaken},
          {"Player1_Hand", s.Player1_Hand.items},
          {"Player1_CardsLeft", s.Player1_CardsLeft},
          {"Player2_CardsLeft", s.Player2_CardsLeft},
          {"HandNo", s.HandNo},
          {"HandsPerGame", s.HandsPerGame},
          {"Level", s.Level},
          {"CardBack", s.CardBack},
          {"PointCards", s.PointCards}};
}

json HandCards(const OneBased<Picture, kHandSize>& cards) {
  json list = json::array();
  for (const auto& card : cards)
    list.push_back({{"picture", card.picture}, {"enabled", card.enabled}});
  return list;
}

json PictureOf(const Picture& p) {
  return {{"picture", p.picture}};
}

json LabelOf(const Label& l) {
  return {{"caption", l.caption}, {"visible", l.visible}, {"enabled", l.enabled}};
}

json TimerOf(const Timer& t) {
  return {{"enabled", t.enabled}, {"interval", t.interval}};
}

json Pictures(const Form& f) {
  return {{"Player1_Kart", HandCards(f.Player1_Kart)},
          {"Player2_Kart", HandCards(f.Player2_Kart)},
          {"Deste", PictureOf(f.Deste)},
          {"Player1_Deste", PictureOf(f.Player1_Deste)},
          {"Player2_Deste", PictureOf(f.Player2_Deste)},
          {"OrtadakiKartlar", PictureOf(f.OrtadakiKartlar)},
          {"EnAltKart", PictureOf(f.EnAltKart)}};
}

json Labels(const Form& f) {
  return {{"Label1", LabelOf(f.Label1)},
          {"Label2", LabelOf(f.Label2)},
          {"Label7", LabelOf(f.Label7)},
          {"Label8", LabelOf(f.Label8)},
          {"Player1_Name", LabelOf(f.Player1_Name)},
          {"Player2_Name", LabelOf(f.Player2_Name)}};
}

json Menus(const Form& f) {
  json menus = json::object();
  for (const MenuEntry& entry : kMenuBar) {
    if (!entry.item) continue;  // a separator has no caption or state
    const MenuItem& item = f.*(entry.item);
    menus[std::string(entry.name)] = {
        {"caption", item.caption}, {"checked", item.checked}, {"enabled", item.enabled}};
  }
  return menus;
}

json Captions(const OneBased<Label, kRanks>& labels) {
  json list = json::array();
  for (const auto& label : labels) list.push_back(label.caption);
  return list;
}

// The game plays sounds by full path; the file name is what tells them apart.
json SoundFiles(const std::vector<std::string>& paths) {
  json files = json::array();
  for (const auto& path : paths) files.push_back(path.substr(path.find_last_of("/\\") + 1));
  return files;
}

}  // namespace

json Snapshot(const Game& g, const MemoryPlatform& platform) {
  bool trackerShown =
      std::all_of(g.Cikanlar.begin(), g.Cikanlar.end(), [](const Label& l) { return l.visible; });
  return {
      {"state", StateOf(g)},
      {"List1", g.List1.items},
      {"List2", g.List2.items},
      {"Cikanlar", Captions(g.Cikanlar)},
      {"window",
       {{"caption", g.Caption},
        {"background", g.BackColor},
        {"pointer", g.MousePointer == Pointer::kHourglass ? "hourglass" : "default"}}},
      {"pictures", Pictures(g)},
      {"labels", Labels(g)},
      {"visible",
       {{"List2", g.List2.visible}, {"Cikanlar", trackerShown}, {"Picture1", g.Picture1Visible}}},
      {"Shape1", {{"visible", g.Shape1.visible}, {"left", g.Shape1.left}, {"top", g.Shape1.top}}},
      {"zorder", g.ZOrder},
      {"timers", {{"Timer1", TimerOf(g.Timer1)}, {"Timer2", TimerOf(g.Timer2)}}},
      {"menus", Menus(g)},
      {"store", platform.store.Section(kStoreApp, kStoreSection)},
      {"sounds", SoundFiles(platform.sound.played)},
      {"dialogs", platform.dialogs.shown},
  };
}

std::string SnapshotLine(const nlohmann::json& snapshot) {
  return snapshot.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace tesva

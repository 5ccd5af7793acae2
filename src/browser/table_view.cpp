#include "browser/table_view.h"

#include "engine/cards.h"
#include "motion/table_motion.h"
#include "record/record_texts.h"
#include "shell/card_names.h"
#include "shell/deck_element.h"
#include "shell/main_window.h"
#include "story/pile_depth.h"
#include "story/story_places.h"

namespace tesva {
namespace {

using nlohmann::json;

// The window's motion layer: a step of a slide lasts 200 ms, 80 ms while
// later moves wait behind it.
constexpr int kStepMs = 200;
constexpr int kHurriedStepMs = 80;

constexpr std::array<std::string_view, kPacedCaptions> kCaptionElements = {
    "Label1", "Label2", "Label7", "Label8", "Player1_Name", "Player2_Name"};

json PictureData(std::string_view picture) {
  auto element = DeckElementOf(picture);
  if (!element) return nullptr;
  return {{"deck", element->deck}, {"id", element->id}};
}

json PictureOf(const Game& g, const Picture& p, std::string_view element, int index) {
  return {
      {"element", element},   {"index", index},       {"picture", PictureData(p.picture)},
      {"enabled", p.enabled}, {"visible", p.visible}, {"name", AccessibleName(g, element, index)}};
}

// A pile as thick as it is: the edges of the cards under its top card, as
// the window draws them; none where no card shows.
json PileOf(const Game& g, const Picture& p, std::string_view element) {
  json pile = PictureOf(g, p, element, 0);
  bool shown = !p.picture.empty() && p.visible;
  pile["edges"] = shown && element != "EnAltKart" ? story::PileEdges(PileCount(g, element)) : 0;
  return pile;
}

json Pictures(const Game& g) {
  json list = json::array();
  for (int i = 1; i <= kHandSize; ++i) {
    list.push_back(PictureOf(g, g.Player1_Kart(i), "Player1_Kart", i));
    list.push_back(PictureOf(g, g.Player2_Kart(i), "Player2_Kart", i));
  }
  for (auto [name, picture] : {std::pair{"Deste", &Form::Deste},
                               {"Player1_Deste", &Form::Player1_Deste},
                               {"Player2_Deste", &Form::Player2_Deste},
                               {"EnAltKart", &Form::EnAltKart},
                               {"OrtadakiKartlar", &Form::OrtadakiKartlar}}) {
    list.push_back(PileOf(g, g.*picture, name));
  }
  return list;
}

json LabelOf(const Label& l) {
  return {{"caption", l.caption}, {"enabled", l.enabled}};
}

// Only the captions the window shows; the played-cards tracker only in
// watch mode, when it is shown.
json Labels(const Game& g) {
  json labels = json::object();
  for (auto [name, label] : {std::pair{"Label1", &Form::Label1},
                             {"Label2", &Form::Label2},
                             {"Label7", &Form::Label7},
                             {"Label8", &Form::Label8},
                             {"Player1_Name", &Form::Player1_Name},
                             {"Player2_Name", &Form::Player2_Name}}) {
    if ((g.*label).visible) labels[name] = LabelOf(g.*label);
  }
  for (int rank = 1; rank <= kRanks; ++rank) {
    const Label& count = g.Cikanlar(rank);
    if (count.visible) labels["Cikanlar(" + std::to_string(rank) + ")"] = LabelOf(count);
  }
  return labels;
}

json Lists(const Form& f) {
  json lists = json::object();
  if (f.List1.visible) lists["List1"] = f.List1.items;
  if (f.List2.visible) lists["List2"] = f.List2.items;
  return lists;
}

json Menus(const Game& g) {
  json menus = json::array();
  for (const MenuEntry& entry : kMenuBar) {
    if (!entry.item) continue;
    const MenuItem& item = g.*(entry.item);
    menus.push_back({{"name", entry.name},
                     {"caption", item.caption},
                     {"checked", item.checked},
                     {"enabled", item.enabled},
                     {"reachable", MenuReachable(g, entry)}});
  }
  return menus;
}

json SpotOf(Spot spot) {
  auto [name, index] = ElementOf(spot);
  return {{"element", name}, {"index", index}};
}

json StepOf(const MotionStep& step) {
  json flights = json::array();
  for (const Flight& flight : step.flights) {
    flights.push_back({{"picture", PictureData(flight.picture)},
                       {"shown", PictureData(flight.Shown())},
                       {"from", SpotOf(flight.from)},
                       {"to", SpotOf(flight.to)}});
  }
  json shown = json::array();
  for (Spot spot : kAllSpots) {
    json place = SpotOf(spot);
    place["picture"] = PictureData(At(step.shown, spot));
    shown.push_back(place);
  }
  json captions = json::object();
  for (std::size_t i = 0; i < kPacedCaptions; ++i) {
    if (step.captions[i].visible)
      captions[std::string(kCaptionElements[i])] = step.captions[i].caption;
  }
  // While a deal slides, the deck is as thick as its caption still says.
  auto deck = DeckCountIn(At(step.captions, Caption::kDeck).caption);
  return {{"flights", flights},
          {"shown", shown},
          {"captions", captions},
          {"deckEdges", deck ? json(story::PileEdges(*deck)) : json(nullptr)}};
}

json MotionOf(const Form* before, const Form& after) {
  if (!before) return {{"snap", true}, {"steps", json::array()}};
  MotionPlan plan = PlanMotion(*before, after);
  json steps = json::array();
  for (const MotionStep& step : plan.steps) steps.push_back(StepOf(step));
  return {{"snap", plan.snap}, {"steps", steps}};
}

json SoundFiles(const std::vector<std::string>& paths) {
  json files = json::array();
  for (const auto& path : paths) files.push_back(path.substr(path.find_last_of("/\\") + 1));
  return files;
}

json PlaceOf(const Place& p) {
  return {{"left", p.left}, {"top", p.top}, {"width", p.width}, {"height", p.height}};
}

}  // namespace

json TableView(const Game& g, const Form* before, const std::vector<std::string>& sounds) {
  return {
      {"caption", g.Caption},
      {"background", g.BackColor},
      {"pointer", g.MousePointer == Pointer::kHourglass ? "hourglass" : "default"},
      {"pictures", Pictures(g)},
      {"labels", Labels(g)},
      {"lists", Lists(g)},
      {"menus", Menus(g)},
      {"hover", {{"visible", g.Shape1.visible}, {"left", g.Shape1.left}, {"top", g.Shape1.top}}},
      {"zorder", g.ZOrder},
      {"rulesPanel", g.Picture1Visible},
      {"timers",
       {{"Timer1", {{"enabled", g.Timer1.enabled}, {"interval", g.Timer1.interval}}},
        {"Timer2", {{"enabled", g.Timer2.enabled}, {"interval", g.Timer2.interval}}}}},
      {"motion", MotionOf(before, g)},
      {"sounds", SoundFiles(sounds)},
  };
}

json DialogView(const DialogAsked& asked) {
  return {{"question", asked.question},
          {"prompt", asked.prompt},
          {"title", asked.title},
          {"maxLength", asked.maxLength}};
}

json TableLayout() {
  json places = json::object();
  for (const ElementPlace& element : kElementPlaces)
    places[std::string(element.name)] = PlaceOf(element.place);
  for (int i = 1; i <= kHandSize; ++i) {
    places["Player1_Kart(" + std::to_string(i) + ")"] = PlaceOf(Player1KartPlace(i));
    places["Player2_Kart(" + std::to_string(i) + ")"] = PlaceOf(Player2KartPlace(i));
  }
  for (int rank = 1; rank <= kRanks; ++rank) {
    places["Cikanlar(" + std::to_string(rank) + ")"] = PlaceOf(CikanlarPlace(rank));
  }
  json menus = json::array();
  for (const MenuEntry& entry : kMenuBar) {
    menus.push_back({{"name", entry.name},
                     {"parent", entry.parent},
                     {"separator", entry.item == nullptr},
                     {"command", entry.click != nullptr}});
  }
  json panel = json::array();
  for (const PanelText& text : kRulesPanelTexts) {
    panel.push_back({{"name", text.name},
                     {"place", PlaceOf(text.place)},
                     {"caption", text.caption},
                     {"colour", text.colour},
                     {"bold", text.bold},
                     {"font", text.font},
                     {"pointSize", text.pointSize},
                     {"wordWrap", text.wordWrap}});
  }
  return {{"title", kAppTitle},
          {"client", {{"width", kClientWidth}, {"height", kClientHeight}}},
          {"places", places},
          {"menus", menus},
          {"rulesPanel", panel},
          {"command1", {{"caption", kCommand1Caption}, {"place", PlaceOf(kCommand1Place)}}},
          {"colours",
           {{"frame", kFrameColour},
            {"panel", kNavy},
            {"button", kButtonFace},
            {"text", kWhite},
            {"status", kLightGrey},
            {"statusText", kNavy},
            {"handNumber", kBlack}}},
          {"motion", {{"stepMs", kStepMs}, {"hurriedStepMs", kHurriedStepMs}}},
          {"story",
           {{"handBoard", PlaceOf(story::kHandBoardPlace)},
            {"gameEnd", PlaceOf(story::kGameEndPlace)}}},
          {"hintCommand", record::kHintCommand},
          {"sounds", kSoundFiles}};
}

}  // namespace tesva

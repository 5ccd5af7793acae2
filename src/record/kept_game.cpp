// Writing a kept game and the record to bytes, and reading them back.
#include "record/kept_game.h"

#include <nlohmann/json.hpp>

#include "record/json_reader.h"
#include "shell/main_window.h"

namespace tesva::record {
namespace {

using nlohmann::json;

constexpr std::string_view kKeptGameFormat = "tesva-kept-game";
constexpr std::string_view kRecordFormat = "tesva-record";

json PictureJson(const Picture& p) {
  return {{"picture", p.picture}, {"enabled", p.enabled}, {"visible", p.visible}};
}
json LabelJson(const Label& l) {
  return {{"caption", l.caption}, {"visible", l.visible}, {"enabled", l.enabled}};
}
json TimerJson(const Timer& t) {
  return {{"enabled", t.enabled}, {"interval", t.interval}};
}
template <class T, std::size_t N, class F>
json ArrayJson(const std::array<T, N>& items, F each) {
  json out = json::array();
  for (const auto& item : items) out.push_back(each(item));
  return out;
}

// The named pictures of the table, in one list for writing and reading.
struct NamedPicture {
  std::string_view name;
  Picture Form::*picture;
};
constexpr NamedPicture kPiles[] = {{"Deste", &Form::Deste},
                                   {"Player1_Deste", &Form::Player1_Deste},
                                   {"Player2_Deste", &Form::Player2_Deste},
                                   {"OrtadakiKartlar", &Form::OrtadakiKartlar},
                                   {"EnAltKart", &Form::EnAltKart}};
struct NamedLabel {
  std::string_view name;
  Label Form::*label;
};
constexpr NamedLabel kLabels[] = {{"Label1", &Form::Label1},
                                  {"Label2", &Form::Label2},
                                  {"Label7", &Form::Label7},
                                  {"Label8", &Form::Label8},
                                  {"Player1_Name", &Form::Player1_Name},
                                  {"Player2_Name", &Form::Player2_Name}};

json StateJson(const GameState& s) {
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

json FormJson(const Form& f) {
  json out;
  out["BackColor"] = f.BackColor;
  out["MousePointer"] = f.MousePointer == Pointer::kHourglass ? "hourglass" : "default";
  out["Player1_Kart"] = ArrayJson(f.Player1_Kart.items, PictureJson);
  out["Player2_Kart"] = ArrayJson(f.Player2_Kart.items, PictureJson);
  for (const auto& pile : kPiles) out[std::string(pile.name)] = PictureJson(f.*pile.picture);
  for (const auto& label : kLabels) out[std::string(label.name)] = LabelJson(f.*label.label);
  out["Cikanlar"] = ArrayJson(f.Cikanlar.items, LabelJson);
  out["List1"] = {{"items", f.List1.items}, {"visible", f.List1.visible}};
  out["List2"] = {{"items", f.List2.items}, {"visible", f.List2.visible}};
  out["Shape1"] = {{"visible", f.Shape1.visible}, {"left", f.Shape1.left}, {"top", f.Shape1.top}};
  out["ZOrder"] = f.ZOrder;
  out["Picture1Visible"] = f.Picture1Visible;
  out["Timer1"] = TimerJson(f.Timer1);
  out["Timer2"] = TimerJson(f.Timer2);
  json menus;
  for (const MenuEntry& entry : kMenuBar) {
    if (!entry.item) continue;
    const MenuItem& item = f.*entry.item;
    menus[std::string(entry.name)] = {{"checked", item.checked}, {"enabled", item.enabled}};
  }
  // The only caption a command changes.
  menus["mnuElSayisi"]["caption"] = f.mnuElSayisi.caption;
  out["menus"] = menus;
  return out;
}

json SeenJson(const HandRecord& seen) {
  json plays = json::array();
  for (const PublicPlay& play : seen.plays) {
    plays.push_back({{"card", play.card},
                     {"seat", play.seat == Seat::kHuman ? kHuman : kComputer},
                     {"captured", play.captured}});
  }
  return {{"baseCard", seen.baseCard}, {"plays", plays}};
}

json TallyJson(const GameTally& t) {
  return {{"handNo", t.handNo},
          {"earlierTesvas", t.earlierTesvas},
          {"handTesvas", t.handTesvas},
          {"hintUsed", t.hintUsed}};
}

// --- Reading -------------------------------------------------------------------

void ReadPicture(JsonReader& in, const json& j, Picture& p) {
  p.picture = in.Text(j, "picture", 5);
  p.enabled = in.Bool(j, "enabled");
  p.visible = in.Bool(j, "visible");
}
void ReadLabel(JsonReader& in, const json& j, Label& l) {
  l.caption = in.Text(j, "caption", kMaxCaptionCharacters);
  l.visible = in.Bool(j, "visible");
  l.enabled = in.Bool(j, "enabled");
}
void ReadTimer(JsonReader& in, const json& j, Timer& t) {
  t.enabled = in.Bool(j, "enabled");
  t.interval = static_cast<int>(in.Int(j, "interval", 1, 65535));
}
template <class T, std::size_t N, class F>
void ReadArray(JsonReader& in, const json& j, std::string_view key, std::array<T, N>& items,
               F each) {
  const json& list = in.Array(j, key, N);
  for (std::size_t i = 0; i < N && in.Ok(); ++i) each(in, list[i], items[i]);
}
void ReadCode(JsonReader& in, const json& j, std::string& out) {
  out = in.TextValue(j, 3);
}
template <std::size_t N>
void ReadCodes(JsonReader& in, const json& j, std::string_view key,
               std::array<std::string, N>& out) {
  ReadArray(in, j, key, out, ReadCode);
}
std::int16_t Small(JsonReader& in, const json& j, std::string_view key, int low, int high) {
  return static_cast<std::int16_t>(in.Int(j, key, low, high));
}

void ReadState(JsonReader& in, const json& j, GameState& s) {
  s.HoverActive = in.Bool(j, "HoverActive");
  s.HoverIndex = Small(in, j, "HoverIndex", 0, kHandSize);
  s.Player1_Score = static_cast<std::int32_t>(in.Int(j, "Player1_Score", 0, 1 << 30));
  s.Player2_Score = static_cast<std::int32_t>(in.Int(j, "Player2_Score", 0, 1 << 30));
  s.Dealer = in.Text(j, "Dealer", 3);
  s.DeckPos = Small(in, j, "DeckPos", 0, kDeckSize);
  ReadCodes(in, j, "Player1_DealtHand", s.Player1_DealtHand);
  s.TopCard = in.Text(j, "TopCard", 3);
  s.BaseCard = in.Text(j, "BaseCard", 3);
  s.FloorCount = Small(in, j, "FloorCount", 0, kDeckSize);
  s.FloorPoints = Small(in, j, "FloorPoints", 0, 13);
  s.Player1_CardsTaken = Small(in, j, "Player1_CardsTaken", 0, kDeckSize);
  s.Player2_CardsTaken = Small(in, j, "Player2_CardsTaken", 0, kDeckSize);
  ReadCodes(in, j, "Player1_Hand", s.Player1_Hand.items);
  s.Player1_CardsLeft = Small(in, j, "Player1_CardsLeft", 0, kHandSize);
  s.Player2_CardsLeft = Small(in, j, "Player2_CardsLeft", 0, kHandSize);
  s.HandNo = Small(in, j, "HandNo", 1, 32767);
  s.HandsPerGame = Small(in, j, "HandsPerGame", 1, 99);
  s.Level = in.Text(j, "Level", 1);
  s.CardBack = in.Text(j, "CardBack", 5);
  ReadCodes(in, j, "PointCards", s.PointCards);
}

void ReadMenus(JsonReader& in, const json& j, Form& f) {
  const json& menus = in.Object(j, "menus");
  for (const MenuEntry& entry : kMenuBar) {
    if (!entry.item || !in.Ok()) continue;
    const json& item = in.Object(menus, entry.name);
    (f.*entry.item).checked = in.Bool(item, "checked");
    (f.*entry.item).enabled = in.Bool(item, "enabled");
  }
  if (in.Ok())
    f.mnuElSayisi.caption =
        in.Text(in.Object(menus, "mnuElSayisi"), "caption", kMaxHandsCaptionCharacters);
}

void ReadList(JsonReader& in, const json& j, std::string_view key, TextList& list,
              std::size_t most) {
  const json& object = in.Object(j, key);
  const json& items = in.ArrayUpTo(object, "items", most);
  list.items.clear();
  for (std::size_t i = 0; in.Ok() && i < items.size(); ++i) {
    list.items.push_back(in.TextValue(items[i], 3));
  }
  list.visible = in.Bool(object, "visible");
}

void ReadForm(JsonReader& in, const json& j, Form& f) {
  f.BackColor = static_cast<int>(in.Int(j, "BackColor", 0, 0xFFFFFF));
  auto pointer = in.Text(j, "MousePointer", 9);
  if (pointer != "default" && pointer != "hourglass") in.Fail("MousePointer is not known");
  f.MousePointer = pointer == "hourglass" ? Pointer::kHourglass : Pointer::kDefault;
  ReadArray(in, j, "Player1_Kart", f.Player1_Kart.items, ReadPicture);
  ReadArray(in, j, "Player2_Kart", f.Player2_Kart.items, ReadPicture);
  for (const auto& pile : kPiles) {
    if (in.Ok()) ReadPicture(in, in.Object(j, pile.name), f.*pile.picture);
  }
  for (const auto& label : kLabels) {
    if (in.Ok()) ReadLabel(in, in.Object(j, label.name), f.*label.label);
  }
  ReadArray(in, j, "Cikanlar", f.Cikanlar.items, ReadLabel);
  ReadList(in, j, "List1", f.List1, kDeckSize);
  ReadList(in, j, "List2", f.List2, kHandSize);
  const json& frame = in.Object(j, "Shape1");
  f.Shape1.visible = in.Bool(frame, "visible");
  f.Shape1.left = static_cast<int>(in.Int(frame, "left", 0, kClientWidth));
  f.Shape1.top = static_cast<int>(in.Int(frame, "top", 0, kClientHeight));
  const json& order = in.Array(j, "ZOrder", kHandSize);
  for (std::size_t i = 0; in.Ok() && i < kHandSize; ++i) {
    f.ZOrder[i] = static_cast<int>(in.IntValue(order[i], 1, kHandSize));
  }
  f.Picture1Visible = in.Bool(j, "Picture1Visible");
  if (in.Ok()) ReadTimer(in, in.Object(j, "Timer1"), f.Timer1);
  if (in.Ok()) ReadTimer(in, in.Object(j, "Timer2"), f.Timer2);
  ReadMenus(in, j, f);
}

void ReadSeen(JsonReader& in, const json& j, HandRecord& seen) {
  seen.baseCard = in.Text(j, "baseCard", 3);
  const json& plays = in.ArrayUpTo(j, "plays", kDeckSize);
  seen.plays.clear();
  for (std::size_t i = 0; in.Ok() && i < plays.size(); ++i) {
    PublicPlay play;
    play.card = in.Text(plays[i], "card", 3);
    auto seat = in.Text(plays[i], "seat", 3);
    if (seat != kHuman && seat != kComputer) in.Fail("a play's seat is not known");
    play.seat = seat == kHuman ? Seat::kHuman : Seat::kComputer;
    play.captured = in.Bool(plays[i], "captured");
    seen.plays.push_back(play);
  }
}

void ReadTally(JsonReader& in, const json& j, GameTally& t) {
  t.handNo = static_cast<int>(in.Int(j, "handNo", 0, 32767));
  t.earlierTesvas = static_cast<int>(in.Int(j, "earlierTesvas", 0, 1 << 30));
  t.handTesvas = static_cast<int>(in.Int(j, "handTesvas", 0, kDeckSize));
  t.hintUsed = in.Bool(j, "hintUsed");
}

// Opens the bytes as the given format's JSON object of a version this
// reader takes.
const json* OpenDocument(JsonReader& in, const json& doc, std::string_view format, int version) {
  if (!in.Ok()) return nullptr;
  if (!doc.is_object()) {
    in.Fail("not a JSON object");
    return nullptr;
  }
  if (in.Text(doc, "format", 32) != format && in.Ok()) in.Fail("not a " + std::string(format));
  auto v = in.Int(doc, "version", 1, 1 << 20);
  if (in.Ok() && v > version)
    in.Fail("version " + std::to_string(v) + " is newer than this game's");
  return in.Ok() ? &doc : nullptr;
}

}  // namespace

KeptGame KeepOf(const Game& g, const GameTally& tally) {
  return {g, g, g.Timer2Ticks, g.Seen, tally};
}

void ResumeInto(Game& g, const KeptGame& kept) {
  static_cast<GameState&>(g) = kept.state;
  static_cast<Form&>(g) = kept.form;
  g.Timer2Ticks = kept.timer2Ticks;
  g.Seen = kept.seen;
}

std::variant<std::string, Refusal> WriteKeptGame(const KeptGame& kept) {
  if (auto broken = CheckKeptGame(kept); !broken.empty()) return Refusal{broken};
  json doc = {{"format", kKeptGameFormat},       {"version", kKeptGameVersion},
              {"state", StateJson(kept.state)},  {"elements", FormJson(kept.form)},
              {"Timer2Ticks", kept.timer2Ticks}, {"seen", SeenJson(kept.seen)},
              {"tally", TallyJson(kept.tally)}};
  return doc.dump(1);
}

std::variant<KeptGame, Refusal> ReadKeptGame(std::string_view bytes) {
  if (bytes.size() > kMaxKeptGameBytes) return Refusal{"larger than a kept game can be"};
  JsonReader in;
  json doc = in.Parse(bytes);
  const json* top = OpenDocument(in, doc, kKeptGameFormat, kKeptGameVersion);
  if (!top) return Refusal{in.Error()};
  KeptGame kept;
  if (in.Ok()) ReadState(in, in.Object(*top, "state"), kept.state);
  if (in.Ok()) ReadForm(in, in.Object(*top, "elements"), kept.form);
  kept.timer2Ticks = Small(in, *top, "Timer2Ticks", 0, 2);
  if (in.Ok()) ReadSeen(in, in.Object(*top, "seen"), kept.seen);
  if (in.Ok()) ReadTally(in, in.Object(*top, "tally"), kept.tally);
  if (!in.Ok()) return Refusal{in.Error()};
  if (auto broken = CheckKeptGame(kept); !broken.empty()) return Refusal{broken};
  return kept;
}

// --- The record -------------------------------------------------------------------

namespace {

struct Counter {
  std::string_view name;
  std::int64_t Heading::*value;
};
constexpr Counter kCounters[] = {{"finished", &Heading::finished},
                                 {"won", &Heading::won},
                                 {"lost", &Heading::lost},
                                 {"drawn", &Heading::drawn},
                                 {"givenUp", &Heading::givenUp},
                                 {"currentStreak", &Heading::currentStreak},
                                 {"longestStreak", &Heading::longestStreak},
                                 {"bestTotal", &Heading::bestTotal},
                                 {"bestMargin", &Heading::bestMargin},
                                 {"tesvas", &Heading::tesvas},
                                 {"points", &Heading::points},
                                 {"hinted", &Heading::hinted}};
// Far more games than anyone plays, far below where the sums could overflow.
constexpr std::int64_t kMaxCount = 1'000'000'000;
constexpr std::size_t kMaxHeadings = 16;

bool IsHeadingName(std::string_view name) {
  if (name.empty() || name.size() > 24) return false;
  for (char c : name) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

// What a heading's counters must agree on; "" when they do.
std::string CheckHeading(const Heading& h) {
  if (h.won + h.lost + h.drawn != h.finished) return "won, lost and drawn do not add up";
  if (h.currentStreak > h.longestStreak || h.longestStreak > h.won) return "streaks too long";
  if (h.hinted > h.finished) return "more games with a hint than games";
  if (h.bestMargin > h.bestTotal || (h.won == 0 && h.bestMargin != 0)) return "margin too wide";
  if (h.bestTotal > h.points) return "best total above the points of all games";
  return "";
}

}  // namespace

std::string WriteRecord(const Record& record) {
  json headings = json::object();
  for (const auto& [name, heading] : record.headings) {
    json counters;
    for (const auto& c : kCounters) counters[std::string(c.name)] = heading.*c.value;
    headings[name] = counters;
  }
  json doc = {{"format", kRecordFormat}, {"version", kRecordVersion}, {"headings", headings}};
  return doc.dump(1);
}

std::variant<Record, Refusal> ReadRecord(std::string_view bytes) {
  if (bytes.size() > kMaxRecordBytes) return Refusal{"larger than a record can be"};
  JsonReader in;
  json doc = in.Parse(bytes);
  const json* top = OpenDocument(in, doc, kRecordFormat, kRecordVersion);
  if (!top) return Refusal{in.Error()};
  const json& headings = in.Object(*top, "headings");
  if (in.Ok() && headings.size() > kMaxHeadings) in.Fail("too many headings");
  Record record;
  for (auto it = headings.begin(); in.Ok() && it != headings.end(); ++it) {
    if (!IsHeadingName(it.key())) {
      in.Fail("a heading's name is not known");
      break;
    }
    Heading h;
    for (const auto& c : kCounters) h.*c.value = in.Int(it.value(), c.name, 0, kMaxCount);
    if (!in.Ok()) break;
    if (auto broken = CheckHeading(h); !broken.empty()) in.Fail(it.key() + ": " + broken);
    record.headings[it.key()] = h;
  }
  if (!in.Ok()) return Refusal{in.Error()};
  return record;
}

}  // namespace tesva::record

#include "record/hint_position.h"

#include "engine/cards.h"
#include "record/hint.h"
#include "record/json_reader.h"

namespace tesva::record {
namespace {

using nlohmann::json;

// Larger than any total a game reaches, small enough for every sum.
constexpr int kMostPoints = 1'000'000;
constexpr int kMostHands = 1000;

// A card's code, or "" where `maybeEmpty`; anything else fails `in`.
std::string Card(JsonReader& in, const json& value, bool maybeEmpty) {
  std::string code = in.TextValue(value, 3);
  if (in.Ok() && !(IsCardCode(code) || (maybeEmpty && code.empty()))) in.Fail("not a card");
  return code;
}

int Number(JsonReader& in, const json& data, std::string_view key, int least, int most) {
  return static_cast<int>(in.Int(data, key, least, most));
}

Seat SeatOf(JsonReader& in, const json& data, std::string_view key) {
  return in.Bool(data, key) ? Seat::kHuman : Seat::kComputer;
}

// Read with the record's checks: a fraction, a huge number or a
// value of another type is refused before it is converted, never cut to fit.
std::optional<SeatView> ReadSeatView(JsonReader& in, const json& data) {
  SeatView v{};
  v.seat = SeatOf(in, data, "human");
  const json& hand = in.ArrayUpTo(data, "hand", kHandSize);
  const json& positions = in.Array(data, "positions", hand.size());
  for (std::size_t i = 0; in.Ok() && i < hand.size(); ++i) {
    v.hand.push_back(Card(in, hand[i], false));
    v.positions.push_back(static_cast<int>(in.IntValue(positions[i], 1, kHandSize)));
  }
  v.opponentCards = Number(in, data, "opponentCards", 0, kHandSize);
  v.baseCard = Card(in, in.Member(data, "baseCard"), true);
  v.baseOnFloor = in.Bool(data, "baseOnFloor");
  v.topCard = Card(in, in.Member(data, "topCard"), true);
  v.floorCount = Number(in, data, "floorCount", 0, kDeckSize);
  for (const json& play : in.ArrayUpTo(data, "plays", kDeckSize)) {
    std::string card = Card(in, in.Member(play, "card"), false);
    Seat seat = SeatOf(in, play, "human");
    v.plays.push_back({std::move(card), seat, in.Bool(play, "captured")});
  }
  v.ownScore = Number(in, data, "ownScore", 0, kMostPoints);
  v.opponentScore = Number(in, data, "opponentScore", 0, kMostPoints);
  v.ownTaken = Number(in, data, "ownTaken", 0, kDeckSize);
  v.opponentTaken = Number(in, data, "opponentTaken", 0, kDeckSize);
  v.handNo = Number(in, data, "handNo", 0, kMostHands);
  v.handsPerGame = Number(in, data, "handsPerGame", 1, kMostHands);
  v.deckLeft = Number(in, data, "deckLeft", 0, kDeckSize);
  v.ownDeal = in.Bool(data, "ownDeal");
  if (!in.Ok()) return std::nullopt;
  return v;
}

}  // namespace

json SeatViewJson(const SeatView& v) {
  json plays = json::array();
  for (const PublicPlay& play : v.plays) {
    plays.push_back(
        {{"card", play.card}, {"human", play.seat == Seat::kHuman}, {"captured", play.captured}});
  }
  return {{"human", v.seat == Seat::kHuman},
          {"hand", v.hand},
          {"positions", v.positions},
          {"opponentCards", v.opponentCards},
          {"baseCard", v.baseCard},
          {"baseOnFloor", v.baseOnFloor},
          {"topCard", v.topCard},
          {"floorCount", v.floorCount},
          {"plays", plays},
          {"ownScore", v.ownScore},
          {"opponentScore", v.opponentScore},
          {"ownTaken", v.ownTaken},
          {"opponentTaken", v.opponentTaken},
          {"handNo", v.handNo},
          {"handsPerGame", v.handsPerGame},
          {"deckLeft", v.deckLeft},
          {"ownDeal", v.ownDeal}};
}

std::optional<SeatView> SeatViewFromJson(std::string_view text) {
  JsonReader in;
  json data = in.Parse(text);
  return ReadSeatView(in, data);
}

json HintPositionJson(const SeatView& view, int search) {
  return {{"view", SeatViewJson(view)}, {"search", search}};
}

int HintSlotIn(std::string_view position) {
  JsonReader in;
  json data = in.Parse(position);
  int search = Number(in, data, "search", 1, kUstaFullSearch);
  auto view = ReadSeatView(in, in.Object(data, "view"));
  if (!view || view->seat != Seat::kHuman) return 0;
  return HintSlot(*view, search);
}

}  // namespace tesva::record

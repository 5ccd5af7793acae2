#include "record/hint_position.h"

#include <cstdint>
#include <stdexcept>

#include "engine/cards.h"
#include "record/hint.h"

namespace tesva::record {
namespace {

using nlohmann::json;

// Larger than any total a game reaches, small enough for every sum.
constexpr int kMostPoints = 1'000'000;
constexpr int kMostHands = 1000;

// A whole number from `least` to `most`: a fraction, a huge number or
// anything else is refused before it is converted, never cut to fit.
int Whole(const json& value, int least, int most) {
  if (value.is_number_unsigned()) {
    if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(most)) throw std::out_of_range("");
  } else if (!value.is_number_integer()) {
    throw std::invalid_argument("not a whole number");
  }
  std::int64_t number = value.get<std::int64_t>();
  if (number < least || number > most) throw std::out_of_range("");
  return static_cast<int>(number);
}

int Number(const json& data, const char* key, int least, int most) {
  return Whole(data.at(key), least, most);
}

std::string Card(const json& data, bool maybeEmpty) {
  std::string code = data.get<std::string>();
  if (!(IsCardCode(code) || (maybeEmpty && code.empty()))) throw std::invalid_argument(code);
  return code;
}

std::vector<PublicPlay> Plays(const json& list) {
  if (list.size() > kDeckSize) throw std::out_of_range("plays");
  std::vector<PublicPlay> plays;
  for (const json& play : list) {
    plays.push_back({Card(play.at("card"), false),
                     play.at("human").get<bool>() ? Seat::kHuman : Seat::kComputer,
                     play.at("captured").get<bool>()});
  }
  return plays;
}

void ReadHand(const json& data, SeatView& view) {
  const json& hand = data.at("hand");
  const json& positions = data.at("positions");
  if (hand.size() > kHandSize || positions.size() != hand.size()) throw std::out_of_range("hand");
  for (std::size_t i = 0; i < hand.size(); ++i) {
    view.hand.push_back(Card(hand[i], false));
    view.positions.push_back(Whole(positions[i], 1, kHandSize));
  }
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
  try {
    json data = json::parse(text);
    SeatView v{};
    v.seat = data.at("human").get<bool>() ? Seat::kHuman : Seat::kComputer;
    ReadHand(data, v);
    v.opponentCards = Number(data, "opponentCards", 0, kHandSize);
    v.baseCard = Card(data.at("baseCard"), true);
    v.baseOnFloor = data.at("baseOnFloor").get<bool>();
    v.topCard = Card(data.at("topCard"), true);
    v.floorCount = Number(data, "floorCount", 0, kDeckSize);
    v.plays = Plays(data.at("plays"));
    v.ownScore = Number(data, "ownScore", 0, kMostPoints);
    v.opponentScore = Number(data, "opponentScore", 0, kMostPoints);
    v.ownTaken = Number(data, "ownTaken", 0, kDeckSize);
    v.opponentTaken = Number(data, "opponentTaken", 0, kDeckSize);
    v.handNo = Number(data, "handNo", 0, kMostHands);
    v.handsPerGame = Number(data, "handsPerGame", 1, kMostHands);
    v.deckLeft = Number(data, "deckLeft", 0, kDeckSize);
    v.ownDeal = data.at("ownDeal").get<bool>();
    return v;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

json HintPositionJson(const SeatView& view, int search) {
  return {{"view", SeatViewJson(view)}, {"search", search}};
}

int HintSlotIn(std::string_view position) {
  json data = json::parse(position, nullptr, false);
  if (!data.is_object() || !data.contains("view") || !data.contains("search")) return 0;
  int search = 0;
  try {
    search = Whole(data["search"], 1, kUstaFullSearch);
  } catch (const std::exception&) {
    return 0;
  }
  auto view = SeatViewFromJson(data["view"].dump());
  if (!view || view->seat != Seat::kHuman) return 0;
  return HintSlot(*view, search);
}

}  // namespace tesva::record

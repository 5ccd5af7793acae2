// A hand's breakdown, replayed from the record the table keeps of it.
#include "engine/hand_summary.h"

namespace tesva {
namespace {

// The four cards laid at the hand's start: the base card under the three
// face-down ones, which only the deck list knows.
std::vector<std::string> FirstFloor(const Game& g) {
  std::vector<std::string> floor{g.Seen.baseCard};
  for (std::size_t k = 1; k < static_cast<std::size_t>(kFloorCards); ++k) {
    floor.push_back(k < g.List1.items.size() ? g.List1.items[k] : std::string());
  }
  return floor;
}

// The floor pile's cards go to `seat`: a lone card taken by one of its
// rank is a tesva, worth its fixed value instead of the cards' points.
Take TakePile(std::vector<std::string>& floor, std::string_view topRank, const PublicPlay& play,
              std::size_t index) {
  Take take{index, play.seat, play.card};
  floor.push_back(play.card);
  take.cards = static_cast<int>(floor.size());
  take.tesva = take.cards == 2 && Rank(play.card) != 0 && RankText(play.card) == topRank;
  if (take.tesva) {
    take.points = TesvaPoints(topRank);
  } else {
    for (const std::string& card : floor) take.points += PointValue(card);
  }
  floor.clear();
  return take;
}

void Count(SeatSummary& seat, const Take& take) {
  seat.cardsTaken += take.cards;
  if (take.tesva) {
    seat.tesvas.push_back(take);
  } else {
    seat.cardPoints += take.points;
  }
  seat.handPoints += take.points;
}

}  // namespace

HandSummary SummariseHand(const Game& g) {
  HandSummary summary;
  summary.handNo = g.HandNo;
  if (g.Seen.baseCard.empty() && g.Seen.plays.empty()) return summary;  // no hand yet
  std::vector<std::string> floor = FirstFloor(g);
  std::string top = g.Seen.baseCard;
  for (std::size_t i = 0; i < g.Seen.plays.size(); ++i) {
    const PublicPlay& play = g.Seen.plays[i];
    if (play.captured) {
      Take take = TakePile(floor, RankText(top), play, i);
      Count(play.seat == Seat::kHuman ? summary.human : summary.computer, take);
      summary.takes.push_back(std::move(take));
      top.clear();
    } else {
      floor.push_back(play.card);
      top = play.card;
    }
  }
  summary.floor = std::move(floor);

  summary.settled = g.DeckPos >= kDeckSize && g.Player1_CardsLeft == 0 &&
                    g.Player2_CardsLeft == 0 && g.Seen.plays.size() + kFloorCards == kDeckSize;
  if (summary.settled) {
    SeatSummary& human = summary.human;
    SeatSummary& computer = summary.computer;
    if (human.cardsTaken > computer.cardsTaken) human.majorityPoints = kMajorityPoints;
    if (human.cardsTaken < computer.cardsTaken) computer.majorityPoints = kMajorityPoints;
    human.handPoints += human.majorityPoints;
    computer.handPoints += computer.majorityPoints;
  }
  summary.human.total = g.Player1_Score;
  summary.computer.total = g.Player2_Score;
  return summary;
}

}  // namespace tesva

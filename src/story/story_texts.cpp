#include "story/story_texts.h"

#include "engine/engine.h"
#include "shell/card_names.h"

namespace tesva::story {

namespace {

std::string Joined(const std::vector<std::string>& parts, std::string_view between) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += between;
    joined += part;
  }
  return joined;
}

std::vector<HandRow> FigureRows(const HandSummary& summary) {
  const SeatSummary& human = summary.human;
  const SeatSummary& computer = summary.computer;
  std::vector<HandRow> rows{
      {"Alınan kağıt", std::to_string(human.cardsTaken), std::to_string(computer.cardsTaken)},
      {"Kağıt fazlası", PointsText(human.majorityPoints), PointsText(computer.majorityPoints)},
      {"Kağıt puanları", PointsText(human.cardPoints), PointsText(computer.cardPoints)},
  };
  // A row per tesva, its points under the one who made it.
  for (const Take& take : summary.takes) {
    if (!take.tesva) continue;
    std::string points = PointsText(take.points);
    bool mine = take.seat == Seat::kHuman;
    rows.push_back({"Tesva: " + CardName(take.card), mine ? points : "", mine ? "" : points});
  }
  rows.push_back({"El puanı", PointsText(human.handPoints), PointsText(computer.handPoints), true});
  rows.push_back({"Toplam", std::to_string(human.total), std::to_string(computer.total), true});
  return rows;
}

std::string LeftOverLine(const std::vector<std::string>& floor) {
  if (floor.empty()) return "Yerde kağıt kalmadı.";
  std::vector<std::string> names;
  for (const std::string& card : floor) names.push_back(CardName(card));
  return "Yerde kalan, kimseye: " + Joined(names, ", ");
}

}  // namespace

std::string PointsText(int points) {
  return points > 0 ? "+" + std::to_string(points) : "–";
}

std::string TakeAnnouncement(const Take& take) {
  // A take that won nothing still says so: "+0" rather than the board's "–".
  std::string points = take.points > 0 ? PointsText(take.points) : "+0";
  return take.tesva ? "Tesva! " + points : points;
}

HandBoard HandBoardOf(const HandSummary& summary, std::string_view human,
                      std::string_view computer) {
  HandBoard board;
  board.title = std::to_string(summary.handNo) + ". El bitti";
  board.rows.push_back({"", std::string(human), std::string(computer), true});
  for (HandRow& row : FigureRows(summary)) board.rows.push_back(std::move(row));
  board.leftOver = LeftOverLine(summary.floor);
  board.names = std::string(human) + " – " + std::string(computer);
  return board;
}

GameEndLines GameEndOf(int humanScore, int computerScore, std::string_view human,
                       std::string_view computer) {
  GameEndLines lines;
  if (humanScore > computerScore) {
    lines.result = "Kazandınız!";
  } else if (humanScore < computerScore) {
    lines.result = std::string(computer) + " kazandı";
  } else {
    lines.result = "Berabere";
  }
  lines.totals = std::string(human) + ": " + std::to_string(humanScore) + " – " +
                 std::string(computer) + ": " + std::to_string(computerScore);
  return lines;
}

GameEndLines GameEndOf(Game& game) {
  return GameEndOf(game.Player1_Score, game.Player2_Score, ReadOption(game, kKeyHumanName),
                   ReadOption(game, kKeyComputerName));
}

bool GameEnded(const Game& game) {
  // The status line the game writes at its end (hand_end.cpp).
  return game.HandNo == 0 && game.Label1.caption.starts_with(" Oyun bitti.");
}

}  // namespace tesva::story

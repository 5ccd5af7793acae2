// The human's move: a click on a hand card captures the floor pile or is
// laid on it.
#include <charconv>

#include "engine/engine.h"

namespace tesva {
namespace {

void PlayCard(Game& g, int index, std::string_view topRank) {
  const std::string card = g.Player1_DealtHand[index - 1];
  if (TakesFloor(g, card)) {
    TakeFloor(g, card, topRank, Seat::kHuman);
  } else {
    LayOnFloor(g, card, Seat::kHuman);
  }
  g.Player1_Kart(index).picture.clear();
  g.Player1_Hand(index).clear();
  g.Player1_DealtHand[index - 1].clear();  // the mirror of the slots
}

void HandOverToComputer(Game& g) {
  for (auto& card : g.Player1_Kart) card.enabled = false;
  ShowTurn(g, g.Player2_Name);
  --g.Player1_CardsLeft;
  if (g.Player1_CardsLeft == 0 && g.Player2_CardsLeft == 0) {
    KagitDagitimi(g);
  } else {
    g.Timer1.enabled = true;
  }
}

}  // namespace

bool TakesFloor(const Game& g, std::string_view card) {
  // A jack takes everything, a card of the top card's rank takes the pile;
  // on an empty floor even a jack is only laid down.
  return g.FloorCount != 0 && (IsJack(card) || RankText(card) == RankText(g.TopCard));
}

void TakeFloor(Game& g, const std::string& card, std::string_view topRank, Seat seat) {
  bool human = seat == Seat::kHuman;
  auto& cardsTaken = human ? g.Player1_CardsTaken : g.Player2_CardsTaken;
  auto& score = human ? g.Player1_Score : g.Player2_Score;
  g.Seen.plays.push_back(PublicPlay{card, seat, true});
  CountPlayedCard(g, card);
  g.FloorPoints += PointValue(card);
  ++g.FloorCount;  // the played card joins the pile it takes
  cardsTaken += g.FloorCount;
  // Only a card of the same rank on a lone card is a tesva, a jack on a lone
  // jack included; a jack on a lone card of another rank is a plain capture.
  // A tesva scores its fixed value instead of the cards' points.
  if (g.FloorCount == 2 && RankText(card) == topRank) {
    score += TesvaPoints(topRank);
    PlaySound(g, Sound::kTesva);
  } else {
    score += g.FloorPoints;
    PlaySound(g, Sound::kCard);
  }
  g.FloorCount = 0;
  g.FloorPoints = 0;
  g.OrtadakiKartlar.picture.clear();
  g.TopCard.clear();
  (human ? g.Player1_Deste : g.Player2_Deste).picture = card;
  g.Shape1.visible = false;
  TakeBaseCard(g);
}

void LayOnFloor(Game& g, const std::string& card, Seat seat) {
  g.Seen.plays.push_back(PublicPlay{card, seat, false});
  CountPlayedCard(g, card);
  PlaySound(g, Sound::kCard);
  ++g.FloorCount;
  g.FloorPoints += PointValue(card);
  g.OrtadakiKartlar.picture = card;
  g.TopCard = card;
  g.Shape1.visible = false;
}

void CountPlayedCard(Game& g, std::string_view code) {
  int rank = Rank(code);
  if (rank == 0) return;
  // The count is kept in the label's caption: read it, add one, write it.
  auto& caption = g.Cikanlar(rank).caption;
  // A single digit below 9, by far the usual caption, is raised in place:
  // 61,000 instructions fewer a benchmark game than reading and writing it.
  if (caption.size() == 1 && caption[0] >= '0' && caption[0] < '9') {
    ++caption[0];
    return;
  }
  int count = 0;
  std::from_chars(caption.data(), caption.data() + caption.size(), count);
  char digits[12];
  auto end = std::to_chars(digits, digits + sizeof digits, count + 1).ptr;
  caption.assign(digits, end);
}

void PlaySound(Game& g, Sound sound) {
  // The menu's check mark is the live switch, read before every sound.
  if (g.mnuSesler.checked) g.io.sound.Play(g.soundPaths[static_cast<std::size_t>(sound)]);
}

void TakeBaseCard(Game& g) {
  // Only the first capture of a hand finds the base card still set.
  if (g.BaseCard.empty()) return;
  g.BaseCard.clear();
  g.EnAltKart.picture.clear();
  g.Label2.visible = false;
}

void Player1_Kart_Click(Game& g, int index) {
  // A disabled or empty card ignores the click: it is not the human's turn.
  if (index < 1 || index > kHandSize) return;
  if (!g.Player1_Kart(index).enabled || g.Player1_Hand(index).empty()) return;

  PlayCard(g, index, std::string(RankText(g.TopCard)));
  HandOverToComputer(g);
}

}  // namespace tesva

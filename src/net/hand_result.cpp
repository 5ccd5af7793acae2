// A hand's end between two programs: the reveal that lets each side check
// the whole deal and credit the face-down floor cards, then the Result by
// which both confirm that they settled the hand alike.
#include <sodium.h>

#include <algorithm>

#include "engine/engine.h"
#include "net/net_game.h"

namespace tesva::net {

void NetGame::HandleReveal(ByteView body) {
  if (auto bad = deal_->TakeReveal(body)) return Fail(*bad);
  // The three face-down floor cards are known now: their points go where
  // the hand's first capture took them, or stay on the floor for the last
  // move to take.
  int hidden = 0;
  for (int p = 1; p < kFloorCards; ++p) hidden += PointValue(deal_->Card(p));
  const auto& plays = game_.Seen.plays;
  auto first =
      std::find_if(plays.begin(), plays.end(), [](const PublicPlay& p) { return p.captured; });
  if (first == plays.end()) {
    game_.FloorPoints = static_cast<std::int16_t>(game_.FloorPoints + hidden);
  } else {
    (first->seat == Seat::kHuman ? game_.Player1_Score : game_.Player2_Score) += hidden;
  }
  game_.List1.items = KnownDeck();
  phase_ = Phase::kPlaying;
  if (heldLocal_) ApplyLocal(*std::exchange(heldLocal_, std::nullopt));
  if (heldRemote_) ApplyRemote(*std::exchange(heldRemote_, std::nullopt));
  Event("hand end " + Totals());
  // Both sides say what they settled before the next hand begins.
  phase_ = Phase::kConfirm;
  settled_ = SettledHash();
  Send(kResultMessage, settled_);
}

NetGame::ResultHash NetGame::SettledHash() const {
  // Everything both sides must hold alike once the hand is settled, in the
  // host's terms: the hand, the revealed deck, the public plays, the
  // totals and what is left on the floor.
  const bool host = role_ == Role::kHost;
  Bytes state(ViewOf("tesva hand result").begin(), ViewOf("tesva hand result").end());
  ByteWriter write(state);
  write.U16(static_cast<std::uint16_t>(hand_));
  for (const auto& card : game_.List1.items) write.Text(card);
  for (const auto& play : game_.Seen.plays) {
    write.U8((play.seat == Seat::kHuman) == host ? 1 : 2);
    write.U8(play.captured ? 1 : 0);
    write.Text(play.card);
  }
  const int hostScore = host ? game_.Player1_Score : game_.Player2_Score;
  const int guestScore = host ? game_.Player2_Score : game_.Player1_Score;
  for (int value : {hostScore, guestScore, int{game_.FloorCount}, int{game_.FloorPoints}})
    write.U16(static_cast<std::uint16_t>(value));
  ResultHash hash{};
  crypto_generichash(hash.data(), hash.size(), state.data(), state.size(), nullptr, 0);
  return hash;
}

void NetGame::HandleResult(ByteView body) {
  if (body.size() != kResultBytes) return Fail(MakeFailure(Fault::kBadMessage));
  // Two programs that settled the same hand differently must not go on
  // with two different scores: the game ends on both sides.
  if (sodium_memcmp(body.data(), settled_.data(), settled_.size()) != 0)
    return Fail(MakeFailure(Fault::kMismatch));
  phase_ = Phase::kPause;
  if (game_.HandNo < game_.HandsPerGame) StartDeal();
}

}  // namespace tesva::net

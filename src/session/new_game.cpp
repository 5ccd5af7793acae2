// A new game offered, answered and begun on the link the old one used.
#include "session/session.h"

namespace tesva::net {

bool Session::CanOffer() const {
  return link_->Ready() && !link_->Ended() && !Waiting() && offer_ == Offer::kNone && !draining_;
}

bool Session::OfferNewGame(Millis now) {
  if (!CanOffer()) return false;
  now_ = now;
  offer_ = Offer::kSent;
  SendSessionMessage(kOfferMessage);
  return true;
}

void Session::AnswerOffer(bool yes, Millis now) {
  if (offer_ != Offer::kCame || !link_->Ready() || link_->Ended()) return;
  now_ = now;
  offer_ = Offer::kNone;
  SendSessionMessage(kAnswerMessage, yes ? 1 : 0);
  if (!yes) return;
  // The other side's old game may still be sending: drop it until Began.
  draining_ = true;
  StartNewGame();
  Flush();
}

void Session::SendSessionMessage(std::uint8_t type, std::optional<std::uint8_t> value) {
  Bytes message{type};
  if (value) message.push_back(*value);
  link_->Send(message, now_);
}

void Session::TakeOfferMessage(ByteView message) {
  const std::uint8_t type = message[0];
  const std::size_t size = type == kAnswerMessage ? 2 : 1;
  const bool yes = type == kAnswerMessage && message.size() == 2 && message[1] == 1;
  if (message.size() != size || (type == kAnswerMessage && message[1] > 1)) {
    return link_->Close(MakeFailure(Fault::kBadMessage));
  }
  switch (type) {
    case kOfferMessage:
      // Offered before it heard this side's yes: the old game's, dropped.
      if (draining_) return;
      if (offer_ == Offer::kCame) return link_->Close(MakeFailure(Fault::kUnexpected));
      // Two offers crossed: the host's stands.
      if (offer_ == Offer::kSent && link_->role() == Role::kHost) return;
      offer_ = Offer::kCame;
      return;
    case kAnswerMessage:
      if (offer_ != Offer::kSent) return link_->Close(MakeFailure(Fault::kUnexpected));
      offer_ = Offer::kNone;
      answer_ = yes;
      if (!yes) return;
      // Began goes before anything of the new game.
      SendSessionMessage(kBeganMessage);
      StartNewGame();
      return;
    case kBeganMessage:
      if (!draining_) return link_->Close(MakeFailure(Fault::kUnexpected));
      draining_ = false;
      return;
  }
}

void Session::StartNewGame() {
  // A game whose last hand has ended is finished first, so that its result
  // stands on both sides whoever answered sooner.
  game_->EndLastPause();
  // What the old game still had to say is not said.
  game_->TakeOutgoing();
  const int hands = game_->game().HandsPerGame;
  previous_ = std::move(game_);
  game_ = std::make_unique<NetGame>(previous_->role(), services_, makeDeal_);
  ++gameNumber_;
  if (game_->role() == Role::kHost) {
    game_->game().HandsPerGame = static_cast<std::int16_t>(hands);
    game_->Begin();
  }
}

}  // namespace tesva::net

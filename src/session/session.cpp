// The session: a link and a game joined, what a transport drives.
#include "session/session.h"

namespace tesva::net {

Session::Session(Role role, Platform services, DealMaker makeDeal, Millis now)
    : now_(now),
      services_(services),
      makeDeal_(std::move(makeDeal)),
      game_(std::make_unique<NetGame>(role, services, makeDeal_)),
      link_(std::make_unique<Link>(role, Link::Versions{TESVA_PROGRAM_VERSION, kProtocolVersion},
                                   *this, now)) {}

void Session::Flush() {
  auto out = game_->TakeOutgoing();
  // While the game waits for its friend, what it sends stays in its log
  // and goes once the other side has said what it heard.
  if (!Waiting() && link_->Ready()) {
    for (auto& message : out) link_->Send(message, now_);
  }
  if (game_->failure() && !link_->Ended()) link_->Close(*game_->failure());
}

void Session::Receive(ByteView bytes, Millis now) {
  now_ = now;
  link_->Receive(bytes, now);
  Flush();
}

void Session::Tick(Millis now) {
  now_ = now;
  link_->Tick(now);
  Flush();
}

void Session::ConnectionClosed(Millis now) {
  now_ = now;
  link_->ConnectionClosed(now);
}

bool Session::Play(int slot, Millis now) {
  now_ = now;
  bool played = game_->Play(slot);
  Flush();
  return played;
}

void Session::TickPause(Millis now) {
  now_ = now;
  game_->TickPause();
  Flush();
}

void Session::OnLinkReady() {
  if (!secret_) secret_ = link_->SessionSecret();
  if (!relinked_) return game_->Begin();
  awaitingResume_ = true;
  SendResume();
}

void Session::OnLinkMessage(ByteView message) {
  bool sessionMessage = !message.empty() && message[0] >= kOfferMessage &&
                        message[0] <= kBeganMessage && !awaitingResume_;
  if (sessionMessage) return TakeOfferMessage(message);
  // What the other side's old game sent before it heard this side's yes.
  if (draining_ && !message.empty() && message[0] != kResumeMessage) return;
  if (!relinked_) return game_->Receive(message);
  bool resume = !message.empty() && message[0] == kResumeMessage;
  // On a new connection the Resume comes first, and only then.
  if (awaitingResume_ && !resume) return link_->Close(MakeFailure(Fault::kResume));
  if (!awaitingResume_ && resume) return game_->Abandon(MakeFailure(Fault::kUnexpected));
  if (resume) return TakeResume(message);
  game_->Receive(message);
}

void Session::OnLinkClosed(const Failure& why) {
  bool lost = why.fault == Fault::kLost || why.fault == Fault::kSilent;
  // A new game is the same friend's from its first moment, begun or not.
  bool begun = game_->Begun() || gameNumber_ > 1;
  bool resumable = resumable_ && secret_ && begun && !game_->Over() && !game_->failure();
  offer_ = Offer::kNone;
  // A new connection that never proved itself, whatever it did, leaves the
  // game paused as it was.
  if (resumable && (lost || (relinked_ && !proven_))) {
    awaitingResume_ = false;
    return game_->Pause();
  }
  game_->LinkEnded(why);
}

}  // namespace tesva::net

// Taking a paused game up on a new connection: the proof that the new
// link joins the same two programs, and the point each side has heard to.
#include <sodium.h>

#include "session/session.h"

namespace tesva::net {

void Session::Relink(Millis now) {
  if (!game_->Paused()) return;
  now_ = now;
  link_ = std::make_unique<Link>(
      game_->role(), Link::Versions{TESVA_PROGRAM_VERSION, kProtocolVersion}, *this, now);
  if (silenceLimit_) link_->SetSilenceLimit(*silenceLimit_);
  relinked_ = true;
  proven_ = false;
  awaitingResume_ = false;
}

void Session::SetSilenceLimit(Millis limit) {
  silenceLimit_ = limit;
  link_->SetSilenceLimit(limit);
}

std::array<std::uint8_t, 32> Session::ResumeProof(Role role) const {
  // Keyed with the first link's secret, which only the two programs know;
  // bound to this link's, so that a proof seen once is worth nothing later.
  Bytes text(ViewOf("tesva resume").begin(), ViewOf("tesva resume").end());
  text.push_back(role == Role::kHost ? 1 : 2);
  const auto& now = link_->SessionSecret();
  text.insert(text.end(), now.begin(), now.end());
  std::array<std::uint8_t, 32> proof{};
  crypto_generichash(proof.data(), proof.size(), text.data(), text.size(), secret_->data(),
                     secret_->size());
  return proof;
}

void Session::SendResume() {
  auto [hand, heard] = game_->HeardPoint();
  Bytes message;
  ByteWriter write(message);
  write.U8(kResumeMessage);
  write.Put(ResumeProof(game_->role()));
  write.U16(static_cast<std::uint16_t>(gameNumber_));
  write.U16(static_cast<std::uint16_t>(hand));
  write.U16(static_cast<std::uint16_t>(heard));
  link_->Send(message, now_);
}

void Session::TakeResume(ByteView message) {
  ByteReader read(message.subspan(1));
  std::uint8_t proof[32];
  std::uint16_t number = 0, hand = 0, heard = 0;
  // Whoever cannot prove it is the friend is sent away; the game stays
  // paused for the one who can.
  if (!read.Fixed(proof) || !read.U16(number) || !read.U16(hand) || !read.U16(heard) ||
      !read.AtEnd()) {
    return link_->Close(MakeFailure(Fault::kResume));
  }
  Role other = game_->role() == Role::kHost ? Role::kGuest : Role::kHost;
  auto expected = ResumeProof(other);
  if (sodium_memcmp(proof, expected.data(), expected.size()) != 0) {
    return link_->Close(MakeFailure(Fault::kResume));
  }
  awaitingResume_ = false;
  proven_ = true;
  // A new game that one side took up while the yes was lost is not the
  // other's: neither can go on.
  if (number != gameNumber_) return game_->Abandon(MakeFailure(Fault::kResume));
  // The other side has begun this same game: its old one says no more.
  draining_ = false;
  game_->ResendFrom(hand, heard);
}

}  // namespace tesva::net

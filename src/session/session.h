// A link and the game played on it, with what lives beside the game: a new
// connection for a paused game (resume.cpp) and a new game offered on the
// same link (new_game.cpp).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "net/link.h"
#include "net/net_game.h"

namespace tesva::net {

// The session's messages, beside the game's (net/net_game.h): the first
// message on a new connection for a paused game, and a new game offered,
// answered (body u8, 1 yes, 0 no) and begun by the side that offered it.
inline constexpr std::uint8_t kResumeMessage = 8;
inline constexpr std::uint8_t kOfferMessage = 9;
inline constexpr std::uint8_t kAnswerMessage = 10;
inline constexpr std::uint8_t kBeganMessage = 11;

// A link and a game joined: what a transport drives.
//
// A new game on the same link: either side may offer one (Offer, no
// body); the other's player answers (Answer). Whoever says yes leaves the
// old game at once and starts the new one; the side that offered does so
// when the yes arrives, and then says so (Began). Until Began comes, the
// side that said yes drops the old game's messages still on their way, so
// that neither game ever sees the other's. Offers that cross: the host's
// stands and the guest's is dropped. These three messages are the
// session's, outside the games' numbering; a lost connection forgets an
// open offer.
class Session : public LinkListener {
 public:
  enum class Offer { kNone, kSent, kCame };

  Session(Role role, Platform services, DealMaker makeDeal, Millis now);
  void Receive(ByteView bytes, Millis now);
  void Tick(Millis now);
  void ConnectionClosed(Millis now);
  bool Play(int slot, Millis now);
  void TickPause(Millis now);
  Bytes TakeOutgoing() { return link_->TakeOutgoing(); }

  // A game that has begun pauses when its connection is lost or silent,
  // instead of ending, so that a new connection can take it up (Relink).
  // Off unless asked: the headless peer ends at once.
  void SetResumable(bool on) { resumable_ = on; }
  // A new connection for a paused game. Once its link is up, each side
  // sends a Resume: a proof, keyed with the first connection's session
  // secret and bound to the new link's, that it is the same program, the
  // game's number, and the point it has heard to; each then sends again
  // what the other missed.
  void Relink(Millis now);
  // The silence limit of this link and every new one (Link::SetSilenceLimit).
  void SetSilenceLimit(Millis limit);
  // The game is paused or its new connection has not yet proved itself.
  bool Waiting() const { return game_->Paused() || awaitingResume_; }

  // Offers the other side a new game; false when none can be offered now
  // (no link, paused, or an offer already open).
  bool OfferNewGame(Millis now);
  bool CanOffer() const;
  // The local player's answer to the other side's offer.
  void AnswerOffer(bool yes, Millis now);
  Offer offer() const { return offer_; }
  // The other side's answer to this side's offer, once.
  std::optional<bool> TakeAnswer() { return std::exchange(answer_, std::nullopt); }
  // 1 for the link's first game, one more for every new game taken up.
  int GameNumber() const { return gameNumber_; }
  // The game the last new game replaced, for its result; null before any.
  const NetGame* PreviousGame() const { return previous_.get(); }

  Link& link() { return *link_; }
  NetGame& game() { return *game_; }

  void OnLinkReady() override;
  void OnLinkMessage(ByteView message) override;
  void OnLinkClosed(const Failure& why) override;

 private:
  void Flush();
  void SendResume();
  void TakeResume(ByteView message);
  std::array<std::uint8_t, 32> ResumeProof(Role role) const;
  void TakeOfferMessage(ByteView message);
  void SendSessionMessage(std::uint8_t type, std::optional<std::uint8_t> value = std::nullopt);
  void StartNewGame();

  Millis now_;
  Platform services_;
  DealMaker makeDeal_;
  std::unique_ptr<NetGame> game_;
  std::unique_ptr<NetGame> previous_;
  std::unique_ptr<Link> link_;
  bool resumable_ = false;
  std::optional<Millis> silenceLimit_;
  bool relinked_ = false;
  bool awaitingResume_ = false;
  bool proven_ = false;                                 // this link's Resume was proven
  std::optional<std::array<std::uint8_t, 32>> secret_;  // the first link's
  Offer offer_ = Offer::kNone;
  std::optional<bool> answer_;
  bool draining_ = false;  // the old game's messages are still coming
  int gameNumber_ = 1;
};

}  // namespace tesva::net

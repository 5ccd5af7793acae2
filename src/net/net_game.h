// The game between two programs: each side owns a Game in which its own
// player sits at the bottom (Player1_), the other side's moves are played
// in the other seat (Player2_) as they arrive, and the deal is made by both
// sides together through a HandDeal.
//
// Messages (inside the link's sealed frames), each
//   type u8, hand u16, step u16, body
// where `hand` is the hand it belongs to (0 before the first) and `step`
// counts the messages its sender has sent in that hand, so that exactly one
// message is expected at any time and any other is refused:
//
//   GameStart host -> guest: hands per game u16, host's name
//   Join      guest -> host: guest's name
//   Setup     the deal's setup messages, in the order the deal gives
//   Shares    at each deal, both ways: what lets the other read its new
//             cards (and, at a hand's first deal, the base card)
//   Play      the mover: the deck position of its card and what lets the
//             other read it; the receiver checks that the mover holds it
//   Reveal    at a hand's end, both ways: the deal's proof of the whole hand
//   Result    after the reveal, both ways: a hash of the hand's settled
//             state; the next hand starts only once both agree, and a
//             mismatch ends the game on both sides (Fault::kMismatch)
//
// Neither Game holds a card its player has not seen: the deck list holds
// "" for every card this side may not read, so the other hand and the
// undealt deck are "" in List1 and List2. The three face-down floor cards
// are "" too, so their points are missing from the floor's value until the
// hand's end; the reveal then credits them where the ordinary game would
// have: to whoever made the hand's first capture, or to the floor when
// nobody has yet. The move that empties both hands is held until its
// exchange (the next deal's cards, or the reveal) is done, so that the
// engine deals or settles with everything it needs, and the totals and
// captions equal the ordinary game's for the same deal. Nothing of a hand
// is played inside the engine's pause tick: its own bookkeeping (the floor
// count) comes after the next hand's start, so a first card that came
// during the pause is played only once the tick is over.
//
// Network state lives here, not in Game, so that a kept game against the
// computer never carries any of it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/game_state.h"
#include "net/hand_deal.h"
#include "net/link.h"

namespace tesva::net {

inline constexpr std::uint8_t kGameStartMessage = 2;
inline constexpr std::uint8_t kJoinMessage = 3;
inline constexpr std::uint8_t kSetupMessage = 4;
inline constexpr std::uint8_t kSharesMessage = 5;
inline constexpr std::uint8_t kPlayMessage = 6;
inline constexpr std::uint8_t kRevealMessage = 7;
// Sent by the session, not the game: the first message on a new connection
// for a paused game (see Session).
inline constexpr std::uint8_t kResumeMessage = 8;
// Also the session's: a new game offered, answered (body u8, 1 yes, 0 no),
// and begun by the side that offered it (see Session::OfferNewGame).
inline constexpr std::uint8_t kOfferMessage = 9;
inline constexpr std::uint8_t kAnswerMessage = 10;
inline constexpr std::uint8_t kBeganMessage = 11;
// The game's again (see NetGame): the hand's settled state, hashed.
inline constexpr std::uint8_t kResultMessage = 12;
inline constexpr std::size_t kResultBytes = 32;
inline constexpr std::size_t kMaxNameBytes = 64;

// Reads the other player's name under "CpuIsim" and passes everything else
// to the player's own store, so that the user's stored "CpuIsim" stays.
class FriendNameStore : public OptionsStore {
 public:
  explicit FriendNameStore(OptionsStore& own) : own_(own) {}
  std::string Read(std::string_view app, std::string_view section, std::string_view key) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
  std::string friendName;

 private:
  OptionsStore& own_;
};

class NetGame {
 public:
  // `services` gives sound, random source, dialogs and host; its store is
  // read through the friend's-name overlay.
  NetGame(Role role, Platform services, DealMaker makeDeal);

  // The link is ready: the host opens the game.
  void Begin();
  // A game message from the other side.
  void Receive(ByteView message);
  // The local player plays hand card `slot` (1 to 4); false when it may not.
  bool Play(int slot);
  // One tick of the end-of-hand pause, when Game's Timer2 runs.
  void TickPause();
  // The link has ended.
  void LinkEnded(const Failure& why);

  std::vector<Bytes> TakeOutgoing();
  std::vector<std::string> TakeEvents();

  // A lost connection pauses a game that has begun instead of ending it:
  // nothing can be played until the other side is back. What this side
  // sent meanwhile waits in its log.
  void Pause();
  bool Paused() const { return paused_; }
  bool Begun() const { return hand_ > 0 || sent_ > 0 || heard_ > 0; }
  // Where this side's hearing stands: the hand, and how many of the other
  // side's messages of it were taken.
  std::pair<int, int> HeardPoint() const;
  // The other side is back and has heard up to (hand, heard): everything
  // this side sent after that goes again, in order, and play goes on.
  // False, and the game ended, when that point is not one this side has
  // reached or still holds.
  bool ResendFrom(int hand, int heard);
  // Ends the game with `why`, as any fault does.
  void Abandon(Failure why) { Fail(std::move(why)); }

  const Game& game() const { return game_; }
  Game& game() { return game_; }
  Role role() const { return role_; }
  bool OurMove() const;
  bool Over() const { return phase_ == Phase::kOver; }
  // The last hand has ended and only its pause is left: a new game taken
  // up now first ends this one, as the pause would have.
  void EndLastPause();
  const std::optional<Failure>& failure() const { return failure_; }

 private:
  enum class Phase {
    kStart,
    kSetup,
    kRound,
    kReady,
    kPlaying,
    kReveal,
    kConfirm,  // the hand is settled; the other side's Result is awaited
    kPause,
    kOver,
    kFailed
  };
  using ResultHash = std::array<std::uint8_t, kResultBytes>;

  void Fail(Failure why);
  void Send(std::uint8_t type, ByteView body);
  void StartDeal();  // the next hand's setup
  void AdvanceSetup();
  void StartRound();
  void FinishRound();
  void StartPlaying();
  void HandleGameStart(ByteView body);
  void HandleJoin(ByteView body);
  void HandlePlay(ByteView body);
  void HandleReveal(ByteView body);
  void HandleResult(ByteView body);
  ResultHash SettledHash() const;
  void TakeEarly();
  void ApplyRemote(int position);
  void ApplyLocal(int slot);
  void AfterDeal(int from);
  bool EmptiesBothHands(bool ourMove) const;
  std::vector<std::string> KnownDeck() const;
  std::vector<int> DealPositions(int from, bool ours) const;
  bool WeLead(int hand) const;
  void Event(std::string text);
  std::string SeatName(Seat seat) const;
  std::string Totals() const;

  Role role_;
  FriendNameStore store_;
  Game game_;
  DealMaker makeDeal_;
  std::unique_ptr<HandDeal> deal_;
  Phase phase_ = Phase::kStart;
  int hand_ = 0;       // the hand the messages are about
  int sent_ = 0;       // messages sent in this hand
  int heard_ = 0;      // messages heard in this hand
  int roundFrom_ = 0;  // the deck position the round's deal starts at
  // The move held until the exchange it needs is done: our slot, or the
  // other side's deck position.
  std::optional<int> heldLocal_;
  std::optional<int> heldRemote_;
  std::array<int, 4> ourSlots_{-1, -1, -1, -1};  // deck positions by slot
  std::vector<int> theirs_;                      // their cards' positions, in List2's order
  std::optional<Bytes> early_;  // the other side's first card, come during our pause
  ResultHash settled_{};        // this side's hash of the hand just settled
  std::vector<Bytes> outgoing_;
  // Every message of the last two hands, for sending again after a lost
  // connection: the other side can be at most one hand behind.
  std::vector<Bytes> sentLog_;
  bool paused_ = false;
  std::vector<std::string> events_;
  std::optional<Failure> failure_;
  std::string ourName_;
};

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

// The deal every real game uses.
DealMaker DefaultDealMaker();

}  // namespace tesva::net

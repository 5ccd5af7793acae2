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
#include "friend_name/friend_name_store.h"
#include "net/hand_deal.h"
#include "net/link.h"

namespace tesva::net {

inline constexpr std::uint8_t kGameStartMessage = 2;
inline constexpr std::uint8_t kJoinMessage = 3;
inline constexpr std::uint8_t kSetupMessage = 4;
inline constexpr std::uint8_t kSharesMessage = 5;
inline constexpr std::uint8_t kPlayMessage = 6;
inline constexpr std::uint8_t kRevealMessage = 7;
// 8 to 11 are the session's (session/session.h). After the reveal, the
// hand's settled state, hashed:
inline constexpr std::uint8_t kResultMessage = 12;
inline constexpr std::size_t kResultBytes = 32;
inline constexpr std::size_t kMaxNameBytes = 64;

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

// The deal every real game uses.
DealMaker DefaultDealMaker();

}  // namespace tesva::net

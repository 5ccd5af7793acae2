// Everything that can go wrong between two programs, each with the one
// message the player reads. A broken or hostile peer gets the same answer
// for every fault: this message, the connection closed, the game ended.
#pragma once

#include <string>
#include <string_view>

namespace tesva::net {

enum class Fault {
  // The connection.
  kLost,      // the connection closed without a goodbye
  kSilent,    // nothing whole arrived for kSilenceLimit
  kFlood,     // frames faster than any game sends them
  kLeft,      // the other side said goodbye
  kFrame,     // a frame the reader refused (see FrameFault)
  kTampered,  // a sealed frame changed, dropped, replayed or reordered
  // The handshake.
  kNotTesva,    // no Tesva magic
  kVersion,     // another protocol or program version
  kCommitment,  // the key is not the one committed to
  kBadKey,      // a key that makes no shared secret
  // The game's messages.
  kBadMessage,  // fields that do not parse or are out of range
  kUnexpected,  // a message the game does not expect now
  kWrongHand,   // a message for another hand
  kOutOfTurn,   // a card played out of turn
  kNotHeld,     // a card played that the player does not hold
  kDeal,        // the deal's checks failed (detail from the deal)
  kNoReveal,    // the other side left before revealing its key
  kResume,      // a new connection that cannot prove it is the same game
  kMismatch,    // the two sides settled a hand differently
};

struct Failure {
  Fault fault;
  std::string text;  // Turkish, for the player
  bool operator==(const Failure&) const = default;
};

// The player's message for a fault; `detail` completes kFrame, kVersion
// and kDeal.
Failure MakeFailure(Fault fault, std::string_view detail = {});

// "kTampered": for test names and logs.
std::string_view FaultName(Fault fault);

}  // namespace tesva::net

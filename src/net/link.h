// The link between two programs: a handshake, then sealed frames both ways.
//
// The handshake (plain frames):
//
//   guest -> host   Hello: magic, protocol and program version, and a hash
//                   of the guest's fresh key (a commitment)
//   host  -> guest  Hello: magic, versions, the host's fresh key
//   guest -> host   Key: the guest's key, which the host checks against the
//                   hash; the header of the guest's sealed stream
//   host  -> guest  Ready: the header of the host's sealed stream
//
// The keys are libsodium's crypto_kx (the host is the server); each way has
// its own crypto_secretstream_xchacha20poly1305 stream, which refuses a
// frame that was changed, dropped, replayed or reordered. The six-digit
// pairing code is a hash of both keys. Because the guest's key is fixed by
// its hash before the host's is known, and the host shows its key before it
// sees the guest's, a man in the middle must choose its own keys on both
// sides before it can know what code either side will show: it gets one
// guess in a million that the two codes agree.
//
// A version mismatch is seen by both sides, since both Hellos carry both
// versions, and both say the same sentence about it. The versions come first
// in a Hello, so that any later protocol can still read them.
//
// Inside the sealed streams the link carries heartbeats (sent after
// kHeartbeatInterval without sending, so an idle link stays alive), a
// goodbye, and the game's messages, which it hands up whole. A peer from
// which nothing whole has come for kSilenceLimit counts as gone: a peer that
// drips bytes without ever finishing a frame is gone too.
//
// Time is given, never read: the caller passes the present time to every
// call, so tests need no sleeping.
#pragma once

#include <sodium.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "net/bytes.h"
#include "net/faults.h"
#include "net/frame.h"

namespace tesva::net {

using Millis = std::chrono::milliseconds;

inline constexpr std::uint16_t kProtocolVersion = 2;
inline constexpr Millis kSilenceLimit{20000};
inline constexpr Millis kHeartbeatInterval{5000};
// The largest game message a sealed frame carries.
inline constexpr std::size_t kMaxMessage =
    kFrameLimit - 1 - crypto_secretstream_xchacha20poly1305_ABYTES - 1;
inline constexpr std::size_t kMaxVersionText = 16;

enum class Role { kHost, kGuest };

// The first byte of a sealed frame's plaintext. The game's messages use
// the others.
inline constexpr std::uint8_t kHeartbeatKind = 0;
inline constexpr std::uint8_t kGoodbyeKind = 1;

class LinkListener {
 public:
  virtual ~LinkListener() = default;
  // The handshake is done: the pairing code is known and messages may go.
  virtual void OnLinkReady() = 0;
  // A game message, whole and authentic, its first byte its type (2 up).
  virtual void OnLinkMessage(ByteView message) = 0;
  // The link has ended; called once. Nothing arrives after it.
  virtual void OnLinkClosed(const Failure& why) = 0;
};

class Link {
 public:
  struct Versions {
    std::string program;
    std::uint16_t protocol = kProtocolVersion;
  };

  Link(Role role, Versions versions, LinkListener& listener, Millis now);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Bytes from the other side, in pieces of any size.
  void Receive(ByteView bytes, Millis now);
  // The connection has closed from the other side or the network.
  void ConnectionClosed(Millis now);
  // Sends heartbeats and notices silence.
  void Tick(Millis now);

  // Seals a game message (first byte its type, 2 up). Only once Ready().
  void Send(ByteView message, Millis now);
  // A goodbye, then the link closes; the listener hears `why`.
  void Close(const Failure& why);

  // What to write to the other side next; the transport takes it all.
  Bytes TakeOutgoing();
  // True once the link has ended: write what is outgoing, then close.
  bool Ended() const { return ended_.has_value(); }
  const std::optional<Failure>& ending() const { return ended_; }
  bool Ready() const { return stage_ == Stage::kReady; }
  Role role() const { return role_; }

  // Six digits, "042917", once Ready(); the same on both sides.
  const std::string& PairingCode() const { return pairingCode_; }
  // A secret both sides share and nobody else knows, for proving on a later
  // connection that it is the same two programs; once Ready().
  const std::array<std::uint8_t, 32>& SessionSecret() const { return sessionSecret_; }
  // When the last whole frame came: the silence is counted from it.
  Millis LastHeard() const { return lastHeard_; }
  // A shorter silence limit than kSilenceLimit (tests of a silent network);
  // heartbeats then go at a quarter of it, so that an idle link is never
  // taken for a silent one.
  void SetSilenceLimit(Millis limit);

 private:
  enum class Stage { kHello, kKey, kReady, kClosed };

  void HandleFrame(const Frame& frame, Millis now);
  void HandleHello(const Frame& frame);
  void HandleKey(const Frame& frame);
  void HandleReady(const Frame& frame);
  void HandleSealed(const Frame& frame, Millis now);
  void SendHello();
  void SendFrame(std::uint8_t type, ByteView body);
  void Seal(ByteView plaintext, std::uint8_t tag);
  bool MakeSessionKeys(const std::uint8_t (&peerKey)[crypto_kx_PUBLICKEYBYTES]);
  void Fail(const Failure& why);
  bool HeartbeatAllowed(Millis now);

  Role role_;
  Versions versions_;
  LinkListener& listener_;
  Stage stage_ = Stage::kHello;
  FrameReader reader_;
  bool anyFrame_ = false;
  Bytes outgoing_;
  std::optional<Failure> ended_;

  std::uint8_t publicKey_[crypto_kx_PUBLICKEYBYTES];
  std::uint8_t secretKey_[crypto_kx_SECRETKEYBYTES];
  std::uint8_t peerCommitment_[crypto_generichash_BYTES];
  std::uint8_t peerKey_[crypto_kx_PUBLICKEYBYTES];
  std::uint8_t rx_[crypto_kx_SESSIONKEYBYTES];
  std::uint8_t tx_[crypto_kx_SESSIONKEYBYTES];
  crypto_secretstream_xchacha20poly1305_state push_;
  crypto_secretstream_xchacha20poly1305_state pull_;
  std::string pairingCode_;
  std::array<std::uint8_t, 32> sessionSecret_{};

  Millis lastHeard_;
  Millis lastSent_;
  Millis silenceLimit_ = kSilenceLimit;
  Millis heartbeatInterval_ = kHeartbeatInterval;
  Millis heartbeatBudget_;
  Millis budgetAt_;
};

// "Tesva 1.5", or "Tesva 1.5 (protokol 2)" when only the protocols differ.
std::string VersionMismatchText(const Link::Versions& ours, const Link::Versions& theirs);

}  // namespace tesva::net

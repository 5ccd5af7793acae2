#include "net/link.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace tesva::net {
namespace {

constexpr std::uint8_t kHelloFrame = 1;
constexpr std::uint8_t kKeyFrame = 2;
constexpr std::uint8_t kReadyFrame = 3;
constexpr std::uint8_t kSealedFrame = 4;

constexpr std::uint8_t kMagic[8] = {'T', 'E', 'S', 'V', 'A', 'N', 'E', 'T'};
constexpr std::size_t kHeaderBytes = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr std::size_t kSealBytes = crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr std::uint32_t kHelloPrefix = sizeof kMagic + 2 + 1;

// A Hello's length is open above its fields, so that a later protocol's
// Hello still parses as far as its versions.
constexpr FrameRule kRules[] = {
    {kHelloFrame, kHelloPrefix, 256},
    {kKeyFrame, crypto_kx_PUBLICKEYBYTES + kHeaderBytes, crypto_kx_PUBLICKEYBYTES + kHeaderBytes},
    {kReadyFrame, kHeaderBytes, kHeaderBytes},
    {kSealedFrame, kSealBytes + 1, kFrameLimit - 1},
};

// Each heartbeat spends this much of a budget that refills with time, up
// to kHeartbeatBurst: a peer keeping to the interval never runs dry.
constexpr Millis kHeartbeatCost{1000};
constexpr Millis kHeartbeatBurst{10000};

// Domain labels, so that no hash made here can stand for another.
constexpr std::string_view kCommitLabel = "tesva/link/key-commitment";
constexpr std::string_view kPairingLabel = "tesva/link/pairing-code";
constexpr std::string_view kSessionLabel = "tesva/link/session-secret";

void Hash(std::uint8_t* out, std::size_t outSize, std::initializer_list<ByteView> parts) {
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, outSize);
  for (ByteView part : parts) crypto_generichash_update(&state, part.data(), part.size());
  crypto_generichash_final(&state, out, outSize);
}

template <std::size_t N>
ByteView View(const std::uint8_t (&bytes)[N]) {
  return {bytes, N};
}

std::string FrameDetail(const FrameError& error) {
  switch (error.fault) {
    case FrameFault::kZeroLength:
      return "uzunluğu 0 olan bir çerçeve";
    case FrameFault::kOverLimit:
      return std::to_string(error.length) + " baytlık, " + std::to_string(kFrameLimit) +
             " bayt sınırını aşan bir çerçeve";
    case FrameFault::kUnknownType:
      return "bilinmeyen türde (" + std::to_string(error.type) + ") bir çerçeve";
    case FrameFault::kBadSize:
      return "türüne uymayan uzunlukta (" + std::to_string(error.length) + " bayt) bir çerçeve";
  }
  return {};
}

// Dotted numbers compared part by part: "1.10" is later than "1.9".
bool EarlierProgram(std::string_view a, std::string_view b) {
  auto parts = [](std::string_view text) {
    std::vector<long> numbers;
    while (true) {
      long n = 0;
      auto dot = text.find('.');
      auto part = text.substr(0, dot);
      std::from_chars(part.data(), part.data() + part.size(), n);
      numbers.push_back(n);
      if (dot == std::string_view::npos) return numbers;
      text.remove_prefix(dot + 1);
    }
  };
  auto pa = parts(a), pb = parts(b);
  if (pa != pb) return pa < pb;
  return a < b;  // the same numbers written differently: any fixed order
}

bool SameVersions(const Link::Versions& a, const Link::Versions& b) {
  return a.program == b.program && a.protocol == b.protocol;
}

// Printable ASCII only: a version text goes into the player's message.
bool PlainText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

}  // namespace

std::string VersionMismatchText(const Link::Versions& ours, const Link::Versions& theirs) {
  bool sameProgram = ours.program == theirs.program;
  auto name = [&](const Link::Versions& v) {
    auto text = "Tesva " + v.program;
    if (sameProgram) text += " (protokol " + std::to_string(v.protocol) + ")";
    return text;
  };
  // Both sides name the later of the two as the one both need, so that both
  // read the same sentence.
  bool theirsLater =
      sameProgram ? theirs.protocol > ours.protocol : EarlierProgram(ours.program, theirs.program);
  const auto& later = theirsLater ? theirs : ours;
  return name(theirs) + "; iki tarafta da " + name(later) + " gerekli.";
}

Link::Link(Role role, Versions versions, LinkListener& listener, Millis now)
    : role_(role),
      versions_(std::move(versions)),
      listener_(listener),
      reader_(kRules),
      lastHeard_(now),
      lastSent_(now),
      heartbeatBudget_(kHeartbeatBurst),
      budgetAt_(now) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
  if (versions_.program.size() > kMaxVersionText || !PlainText(versions_.program)) {
    throw std::invalid_argument("program version text too long or not plain");
  }
  crypto_kx_keypair(publicKey_, secretKey_);
  if (role_ == Role::kGuest) SendHello();
}

Link::~Link() {
  sodium_memzero(secretKey_, sizeof secretKey_);
  sodium_memzero(rx_, sizeof rx_);
  sodium_memzero(tx_, sizeof tx_);
  sodium_memzero(&push_, sizeof push_);
  sodium_memzero(&pull_, sizeof pull_);
}

void Link::SendHello() {
  Bytes body;
  ByteWriter write(body);
  write.Put(View(kMagic));
  write.U16(versions_.protocol);
  write.Text(versions_.program);
  if (role_ == Role::kGuest) {
    std::uint8_t commitment[crypto_generichash_BYTES];
    Hash(commitment, sizeof commitment, {ViewOf(kCommitLabel), View(publicKey_)});
    write.Put(View(commitment));
  } else {
    write.Put(View(publicKey_));
  }
  SendFrame(kHelloFrame, body);
}

void Link::SendFrame(std::uint8_t type, ByteView body) {
  auto frame = EncodeFrame(type, body);
  outgoing_.insert(outgoing_.end(), frame.begin(), frame.end());
}

void Link::Receive(ByteView bytes, Millis now) {
  while (!bytes.empty() && !ended_) {
    bytes = bytes.subspan(reader_.Feed(bytes));
    if (const auto& error = reader_.error()) {
      // A first frame that is no frame at all comes from another program.
      return Fail(anyFrame_ ? MakeFailure(Fault::kFrame, FrameDetail(*error))
                            : MakeFailure(Fault::kNotTesva));
    }
    if (auto frame = reader_.Take()) {
      lastHeard_ = now;
      HandleFrame(*frame, now);
      anyFrame_ = true;
    }
  }
}

void Link::HandleFrame(const Frame& frame, Millis now) {
  // Each stage of the handshake takes exactly one frame type from each side.
  bool guest = role_ == Role::kGuest;
  std::uint8_t expected = kSealedFrame;
  if (stage_ == Stage::kHello) expected = kHelloFrame;
  if (stage_ == Stage::kKey) expected = guest ? kReadyFrame : kKeyFrame;
  if (frame.type != expected) {
    return Fail(MakeFailure(anyFrame_ ? Fault::kUnexpected : Fault::kNotTesva));
  }
  switch (frame.type) {
    case kHelloFrame:
      return HandleHello(frame);
    case kKeyFrame:
      return HandleKey(frame);
    case kReadyFrame:
      return HandleReady(frame);
    default:
      return HandleSealed(frame, now);
  }
}

void Link::HandleHello(const Frame& frame) {
  ByteReader read(frame.body);
  std::uint8_t magic[sizeof kMagic];
  Versions theirs;
  read.Fixed(magic);
  if (!read.ok() || std::memcmp(magic, kMagic, sizeof kMagic) != 0) {
    return Fail(MakeFailure(Fault::kNotTesva));
  }
  if (!read.U16(theirs.protocol) || !read.Text(kMaxVersionText, theirs.program) ||
      !PlainText(theirs.program)) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  if (!SameVersions(versions_, theirs)) {
    // The host answers even so, so that the guest can name its version too.
    if (role_ == Role::kHost) SendHello();
    return Fail(MakeFailure(Fault::kVersion, VersionMismatchText(versions_, theirs)));
  }
  // The guest's hash of its key, or the host's key itself.
  if (role_ == Role::kHost) {
    if (!read.Fixed(peerCommitment_) || !read.AtEnd()) return Fail(MakeFailure(Fault::kBadMessage));
    SendHello();
    stage_ = Stage::kKey;
    return;
  }
  if (!read.Fixed(peerKey_) || !read.AtEnd()) return Fail(MakeFailure(Fault::kBadMessage));
  if (!MakeSessionKeys(peerKey_)) return Fail(MakeFailure(Fault::kBadKey));
  std::uint8_t header[kHeaderBytes];
  crypto_secretstream_xchacha20poly1305_init_push(&push_, header, tx_);
  Bytes body;
  ByteWriter write(body);
  write.Put(View(publicKey_));
  write.Put(View(header));
  SendFrame(kKeyFrame, body);
  stage_ = Stage::kKey;
}

void Link::HandleKey(const Frame& frame) {
  // The host: the guest's key must be the one its Hello committed to.
  ByteReader read(frame.body);
  std::uint8_t header[kHeaderBytes];
  read.Fixed(peerKey_);
  read.Fixed(header);
  if (!read.AtEnd()) return Fail(MakeFailure(Fault::kBadMessage));
  std::uint8_t commitment[crypto_generichash_BYTES];
  Hash(commitment, sizeof commitment, {ViewOf(kCommitLabel), View(peerKey_)});
  if (sodium_memcmp(commitment, peerCommitment_, sizeof commitment) != 0) {
    return Fail(MakeFailure(Fault::kCommitment));
  }
  if (!MakeSessionKeys(peerKey_)) return Fail(MakeFailure(Fault::kBadKey));
  if (crypto_secretstream_xchacha20poly1305_init_pull(&pull_, header, rx_) != 0) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  std::uint8_t ours[kHeaderBytes];
  crypto_secretstream_xchacha20poly1305_init_push(&push_, ours, tx_);
  SendFrame(kReadyFrame, View(ours));
  stage_ = Stage::kReady;
  listener_.OnLinkReady();
}

void Link::HandleReady(const Frame& frame) {
  std::uint8_t header[kHeaderBytes];
  std::copy(frame.body.begin(), frame.body.end(), header);
  if (crypto_secretstream_xchacha20poly1305_init_pull(&pull_, header, rx_) != 0) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  stage_ = Stage::kReady;
  listener_.OnLinkReady();
}

bool Link::MakeSessionKeys(const std::uint8_t (&peerKey)[crypto_kx_PUBLICKEYBYTES]) {
  bool guest = role_ == Role::kGuest;
  int status = guest ? crypto_kx_client_session_keys(rx_, tx_, publicKey_, secretKey_, peerKey)
                     : crypto_kx_server_session_keys(rx_, tx_, publicKey_, secretKey_, peerKey);
  sodium_memzero(secretKey_, sizeof secretKey_);  // needed no more
  if (status != 0) return false;
  // The code and the secret read both keys in one order, the guest's first.
  const auto& guestKey = guest ? publicKey_ : peerKey;
  const auto& hostKey = guest ? peerKey : publicKey_;
  std::uint8_t code[8];
  Hash(code, sizeof code, {ViewOf(kPairingLabel), View(guestKey), View(hostKey)});
  std::uint64_t number = 0;
  for (std::uint8_t byte : code) number = number << 8 | byte;
  // 2^64 is no multiple of a million, but the bias is below 1e-13.
  pairingCode_ = std::to_string(number % 1000000);
  pairingCode_.insert(0, 6 - pairingCode_.size(), '0');
  const auto& toHost = guest ? tx_ : rx_;
  const auto& toGuest = guest ? rx_ : tx_;
  Hash(sessionSecret_.data(), sessionSecret_.size(),
       {ViewOf(kSessionLabel), View(toHost), View(toGuest)});
  return true;
}

void Link::HandleSealed(const Frame& frame, Millis now) {
  // The plaintext buffer is the frame's size, at most the frame limit.
  Bytes plain(frame.body.size() - kSealBytes);
  unsigned long long plainSize = 0;
  std::uint8_t tag = 0;
  if (crypto_secretstream_xchacha20poly1305_pull(&pull_, plain.data(), &plainSize, &tag,
                                                 frame.body.data(), frame.body.size(), nullptr,
                                                 0) != 0) {
    return Fail(MakeFailure(Fault::kTampered));
  }
  plain.resize(plainSize);
  bool final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
  std::uint8_t kind = plain.empty() ? kHeartbeatKind : plain[0];
  if (plain.empty() || final != (kind == kGoodbyeKind) ||
      (kind <= kGoodbyeKind && plain.size() != 1)) {
    return Fail(MakeFailure(Fault::kBadMessage));
  }
  if (kind == kGoodbyeKind) {
    stage_ = Stage::kClosed;
    ended_ = MakeFailure(Fault::kLeft);
    listener_.OnLinkClosed(*ended_);
    return;
  }
  if (kind == kHeartbeatKind) {
    if (!HeartbeatAllowed(now)) Fail(MakeFailure(Fault::kFlood));
    return;
  }
  listener_.OnLinkMessage(plain);
}

bool Link::HeartbeatAllowed(Millis now) {
  heartbeatBudget_ = std::min(kHeartbeatBurst, heartbeatBudget_ + (now - budgetAt_));
  budgetAt_ = now;
  if (heartbeatBudget_ < kHeartbeatCost) return false;
  heartbeatBudget_ -= kHeartbeatCost;
  return true;
}

void Link::Seal(ByteView plaintext, std::uint8_t tag) {
  Bytes sealed(plaintext.size() + kSealBytes);
  crypto_secretstream_xchacha20poly1305_push(&push_, sealed.data(), nullptr, plaintext.data(),
                                             plaintext.size(), nullptr, 0, tag);
  SendFrame(kSealedFrame, sealed);
}

void Link::Send(ByteView message, Millis now) {
  if (ended_) return;  // a link that has ended sends nothing more
  if (stage_ != Stage::kReady) throw std::logic_error("Link::Send before the handshake is done");
  if (message.empty() || message[0] <= kGoodbyeKind || message.size() > kMaxMessage) {
    throw std::invalid_argument("Link::Send: not a game message");
  }
  Seal(message, crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
  lastSent_ = now;
}

void Link::SetSilenceLimit(Millis limit) {
  silenceLimit_ = std::min(limit, kSilenceLimit);
  heartbeatInterval_ = std::min(kHeartbeatInterval, silenceLimit_ / 4);
}

void Link::Tick(Millis now) {
  if (ended_) return;
  if (now - lastHeard_ > silenceLimit_) return Fail(MakeFailure(Fault::kSilent));
  if (stage_ == Stage::kReady && now - lastSent_ >= heartbeatInterval_) {
    const std::uint8_t heartbeat[] = {kHeartbeatKind};
    Seal(heartbeat, crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    lastSent_ = now;
  }
}

void Link::ConnectionClosed(Millis) {
  if (ended_) return;
  stage_ = Stage::kClosed;  // nothing can be sent any more
  Fail(MakeFailure(Fault::kLost));
}

void Link::Close(const Failure& why) {
  Fail(why);
}

void Link::Fail(const Failure& why) {
  if (ended_) return;
  // Tell the other side, when it can still be told, that this is the end.
  if (stage_ == Stage::kReady) {
    const std::uint8_t goodbye[] = {kGoodbyeKind};
    Seal(goodbye, crypto_secretstream_xchacha20poly1305_TAG_FINAL);
  }
  stage_ = Stage::kClosed;
  ended_ = why;
  sodium_memzero(&push_, sizeof push_);
  sodium_memzero(&pull_, sizeof pull_);
  listener_.OnLinkClosed(why);
}

Bytes Link::TakeOutgoing() {
  Bytes out;
  out.swap(outgoing_);
  return out;
}

}  // namespace tesva::net

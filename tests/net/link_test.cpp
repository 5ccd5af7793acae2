// The link: the handshake, the pairing code, sealed frames that refuse any
// change, the heartbeat and the silence limit, all on injected time.
#include <gtest/gtest.h>

#include <functional>

#include "net/link.h"

namespace tesva::net {
namespace {

struct Recorder : LinkListener {
  void OnLinkReady() override { ready = true; }
  void OnLinkMessage(ByteView message) override {
    messages.emplace_back(message.begin(), message.end());
  }
  void OnLinkClosed(const Failure& why) override {
    ++closings;
    closed = why;
  }
  bool ready = false;
  std::vector<Bytes> messages;
  std::optional<Failure> closed;
  int closings = 0;
};

// The frames of a stream, cut apart without judging them.
std::vector<Bytes> SplitFrames(const Bytes& stream) {
  std::vector<Bytes> frames;
  for (std::size_t at = 0; at + kFrameHeader <= stream.size();) {
    std::size_t length = std::size_t{stream[at]} << 24 | std::size_t{stream[at + 1]} << 16 |
                         std::size_t{stream[at + 2]} << 8 | stream[at + 3];
    frames.emplace_back(stream.begin() + at, stream.begin() + at + 4 + length);
    at += 4 + length;
  }
  return frames;
}

struct Pair {
  explicit Pair(Link::Versions hostVersions = {"1.5"}, Link::Versions guestVersions = {"1.5"})
      : host(Role::kHost, hostVersions, hostSide, now),
        guest(Role::kGuest, guestVersions, guestSide, now) {}

  // Carries what each side has written to the other, frame by frame through
  // `meddle` (which may change, drop or add frames), until both are quiet.
  void Pump(const std::function<std::vector<Bytes>(Role from, Bytes frame)>& meddle = {}) {
    for (int round = 0; round < 20; ++round) {
      auto toHost = guest.TakeOutgoing();
      auto toGuest = host.TakeOutgoing();
      if (toHost.empty() && toGuest.empty()) return;
      Deliver(toHost, Role::kGuest, host, meddle);
      Deliver(toGuest, Role::kHost, guest, meddle);
    }
  }
  void Deliver(const Bytes& stream, Role from, Link& to,
               const std::function<std::vector<Bytes>(Role, Bytes)>& meddle) {
    for (auto& frame : SplitFrames(stream)) {
      for (auto& sent : meddle ? meddle(from, frame) : std::vector<Bytes>{frame})
        to.Receive(sent, now);
    }
  }

  Millis now{1000000};
  Recorder hostSide, guestSide;
  Link host, guest;
};

TEST(Link, TheHandshakeGivesBothSidesOneCodeAndOneSecretAndCarriesMessagesBothWays) {
  Pair pair;
  pair.Pump();
  ASSERT_TRUE(pair.hostSide.ready && pair.guestSide.ready);
  EXPECT_EQ(pair.host.PairingCode(), pair.guest.PairingCode());
  EXPECT_EQ(pair.host.PairingCode().size(), 6u);
  EXPECT_EQ(pair.host.PairingCode().find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(pair.host.SessionSecret(), pair.guest.SessionSecret());
  EXPECT_NE(pair.host.SessionSecret(), decltype(pair.host.SessionSecret()){});

  pair.host.Send(Bytes{5, 1, 2}, pair.now);
  pair.host.Send(Bytes{6}, pair.now);
  pair.guest.Send(Bytes(kMaxMessage, 9), pair.now);
  pair.Pump();
  EXPECT_EQ(pair.guestSide.messages, (std::vector<Bytes>{{5, 1, 2}, {6}}));
  ASSERT_EQ(pair.hostSide.messages.size(), 1u);
  EXPECT_EQ(pair.hostSide.messages[0], Bytes(kMaxMessage, 9));
  EXPECT_FALSE(pair.hostSide.closed || pair.guestSide.closed);
  // Heartbeat and goodbye are the link's own; a game message can't be either.
  EXPECT_THROW(pair.host.Send(Bytes{kGoodbyeKind}, pair.now), std::invalid_argument);
  EXPECT_THROW(pair.host.Send(Bytes(kMaxMessage + 1, 9), pair.now), std::invalid_argument);
}

TEST(Link, EveryConnectionHasItsOwnCode) {
  std::set<std::string> codes;
  for (int i = 0; i < 20; ++i) {
    Pair pair;
    pair.Pump();
    codes.insert(pair.host.PairingCode());
  }
  EXPECT_GE(codes.size(), 19u);
}

TEST(Link, AnotherVersionIsToldAlikeOnBothSidesAndAnotherProgramApart) {
  struct Case {
    Link::Versions host, guest;
    std::string hostReads, guestReads;
  };
  const Case cases[] = {
      {{"1.5"},
       {"1.4"},
       "Karşı taraftaki program Tesva 1.4; iki tarafta da Tesva 1.5 gerekli.",
       "Karşı taraftaki program Tesva 1.5; iki tarafta da Tesva 1.5 gerekli."},
      {{"1.9"},
       {"1.10"},
       "Karşı taraftaki program Tesva 1.10; iki tarafta da Tesva 1.10 gerekli.",
       "Karşı taraftaki program Tesva 1.9; iki tarafta da Tesva 1.10 gerekli."},
      {{"1.5", 1},
       {"1.5", 2},
       "Karşı taraftaki program Tesva 1.5 (protokol 2); iki tarafta da Tesva 1.5 (protokol 2) "
       "gerekli.",
       "Karşı taraftaki program Tesva 1.5 (protokol 1); iki tarafta da Tesva 1.5 (protokol 2) "
       "gerekli."},
  };
  for (const auto& c : cases) {
    Pair pair(c.host, c.guest);
    pair.Pump();
    ASSERT_TRUE(pair.hostSide.closed && pair.guestSide.closed);
    EXPECT_EQ(*pair.hostSide.closed, (Failure{Fault::kVersion, c.hostReads}));
    EXPECT_EQ(*pair.guestSide.closed, (Failure{Fault::kVersion, c.guestReads}));
    EXPECT_FALSE(pair.hostSide.ready || pair.guestSide.ready);
    EXPECT_TRUE(pair.host.Ended() && pair.guest.Ended());
  }

  // Whatever is not Tesva at all is told apart at its first bytes.
  const std::string strangers[] = {"GET / HTTP/1.1\r\nHost: x\r\n\r\n", std::string(40, '\0'),
                                   std::string("\0\0\0\x0c\x01NOTTESVA123", 17)};
  for (const auto& text : strangers) {
    Recorder side;
    Link host(Role::kHost, {"1.5"}, side, Millis{0});
    host.Receive(ViewOf(text), Millis{1});
    ASSERT_TRUE(side.closed) << text;
    EXPECT_EQ(side.closed->fault, Fault::kNotTesva);
    EXPECT_EQ(side.closed->text, "Karşı taraftaki program Tesva değil.");
    EXPECT_TRUE(host.TakeOutgoing().empty()) << "nothing is said to a stranger";
  }
}

TEST(Link, AManInTheMiddleShowsOtherCodesOrIsCaughtByTheCommitment) {
  // Two honest ends, each joined to a relay that runs a link of its own
  // toward each: both handshakes succeed, but the codes differ.
  Millis now{0};
  Recorder guestSide, hostSide, relayHostSide, relayGuestSide;
  Link guest(Role::kGuest, {"1.5"}, guestSide, now);
  Link relayAsHost(Role::kHost, {"1.5"}, relayHostSide, now);
  Link relayAsGuest(Role::kGuest, {"1.5"}, relayGuestSide, now);
  Link host(Role::kHost, {"1.5"}, hostSide, now);
  for (int round = 0; round < 5; ++round) {
    relayAsHost.Receive(guest.TakeOutgoing(), now);
    guest.Receive(relayAsHost.TakeOutgoing(), now);
    host.Receive(relayAsGuest.TakeOutgoing(), now);
    relayAsGuest.Receive(host.TakeOutgoing(), now);
  }
  ASSERT_TRUE(guestSide.ready && hostSide.ready);
  EXPECT_NE(guest.PairingCode(), host.PairingCode());

  // A relay that passes the Hellos on but puts its own key into the guest's
  // Key frame is caught: the key is not the one committed to.
  Pair pair;
  Link impostor(Role::kGuest, {"1.5"}, relayGuestSide, pair.now);
  impostor.Receive(pair.host.TakeOutgoing(), pair.now);  // nothing yet
  pair.host.Receive(pair.guest.TakeOutgoing(), pair.now);
  auto hostHello = pair.host.TakeOutgoing();
  pair.guest.Receive(hostHello, pair.now);
  impostor.Receive(hostHello, pair.now);
  auto impostorFrames = SplitFrames(impostor.TakeOutgoing());  // its Hello, then its Key
  ASSERT_EQ(impostorFrames.size(), 2u);
  pair.guest.TakeOutgoing();
  pair.host.Receive(impostorFrames[1], pair.now);
  ASSERT_TRUE(pair.hostSide.closed);
  EXPECT_EQ(pair.hostSide.closed->fault, Fault::kCommitment);
}

// A handshake done, then `meddle` let loose on the game messages that follow.
Failure Meddled(const std::function<std::vector<Bytes>(Role, Bytes)>& meddle,
                std::vector<Bytes>* arrived = nullptr) {
  Pair pair;
  pair.Pump();
  for (std::uint8_t i = 2; i < 8; ++i) pair.host.Send(Bytes{i, i}, pair.now);
  pair.Pump(meddle);
  if (arrived) *arrived = pair.guestSide.messages;
  EXPECT_EQ(pair.guestSide.closings, 1);
  return pair.guestSide.closed.value_or(Failure{Fault::kLost, "not closed"});
}

TEST(Link, AChangedDroppedReplayedOrReorderedFrameIsRefused) {
  const std::string tampered =
      "Bağlantıdan gelen bir mesaj değiştirilmiş, kaybolmuş ya da tekrarlanmış.";
  int seen = 0;
  auto third = [&](Role from) { return from == Role::kHost && ++seen == 3; };
  std::vector<Bytes> held;
  const std::pair<const char*, std::function<std::vector<Bytes>(Role, Bytes)>> meddlers[] = {
      {"a bit flipped",
       [&](Role from, Bytes f) {
         if (third(from)) f[f.size() / 2] ^= 1;
         return std::vector<Bytes>{f};
       }},
      {"dropped",
       [&](Role from, Bytes f) {
         return third(from) ? std::vector<Bytes>{} : std::vector<Bytes>{f};
       }},
      {"replayed",
       [&](Role from, Bytes f) {
         return third(from) ? std::vector<Bytes>{f, f} : std::vector<Bytes>{f};
       }},
      {"reordered",
       [&](Role from, Bytes f) {
         if (third(from)) {
           held.push_back(f);
           return std::vector<Bytes>{};
         }
         if (!held.empty() && from == Role::kHost) {
           std::vector<Bytes> out{f, held.back()};
           held.clear();
           return out;
         }
         return std::vector<Bytes>{f};
       }},
  };
  for (const auto& [what, meddle] : meddlers) {
    seen = 0;
    std::vector<Bytes> arrived;
    EXPECT_EQ(Meddled(meddle, &arrived), (Failure{Fault::kTampered, tampered})) << what;
    // The messages before the meddled one came through, none after it (a
    // replayed frame came through once).
    std::vector<Bytes> before{{2, 2}, {3, 3}};
    if (std::string_view(what) == "replayed") before.push_back({4, 4});
    EXPECT_EQ(arrived, before) << what;
  }
}

TEST(Link, AnIdleLinkStaysAliveAndASilentOrDrippingOneIsGone) {
  Pair pair;
  pair.Pump();
  // Both tick for a minute in steps of a second: heartbeats keep them alive.
  for (int s = 0; s < 60; ++s) {
    pair.now += Millis{1000};
    pair.host.Tick(pair.now);
    pair.guest.Tick(pair.now);
    pair.Pump();
  }
  EXPECT_FALSE(pair.hostSide.closed || pair.guestSide.closed);
  EXPECT_TRUE(pair.guestSide.messages.empty()) << "heartbeats are not game messages";

  // Now the host stops hearing: 20 s are allowed, not a millisecond more.
  auto heard = pair.host.LastHeard();
  pair.host.Tick(heard + kSilenceLimit);
  EXPECT_FALSE(pair.hostSide.closed);
  pair.host.Tick(heard + kSilenceLimit + Millis{1});
  ASSERT_TRUE(pair.hostSide.closed);
  EXPECT_EQ(*pair.hostSide.closed,
            (Failure{Fault::kSilent, "Karşı taraftan 20 saniyedir haber yok."}));
  // Its goodbye tells the guest.
  pair.Pump();
  ASSERT_TRUE(pair.guestSide.closed);
  EXPECT_EQ(pair.guestSide.closed->fault, Fault::kLeft);

  // A handshake that never ends is silence too.
  Recorder side;
  Link waiting(Role::kHost, {"1.5"}, side, Millis{0});
  waiting.Tick(kSilenceLimit + Millis{1});
  ASSERT_TRUE(side.closed);
  EXPECT_EQ(side.closed->fault, Fault::kSilent);

  // Bytes dripped one a second are silence too: only a whole frame is heard.
  Pair drip;
  drip.Pump();
  drip.guest.Send(Bytes(200, 3), drip.now);
  auto frame = drip.guest.TakeOutgoing();
  auto start = drip.now;
  for (std::size_t i = 0; i < frame.size() && !drip.hostSide.closed; ++i) {
    drip.now += Millis{1000};
    drip.host.Receive(ByteView(frame).subspan(i, 1), drip.now);
    drip.host.Tick(drip.now);
  }
  ASSERT_TRUE(drip.hostSide.closed);
  EXPECT_EQ(drip.hostSide.closed->fault, Fault::kSilent);
  EXPECT_EQ(drip.now - start, kSilenceLimit + Millis{1000});
  EXPECT_TRUE(drip.hostSide.messages.empty());
}

TEST(Link, LeavingAndLosingTheConnectionEndTheLinkOnce) {
  Pair pair;
  pair.Pump();
  pair.guest.Close(MakeFailure(Fault::kLeft));
  pair.Pump();
  EXPECT_EQ(pair.hostSide.closed->fault, Fault::kLeft);
  EXPECT_EQ(pair.hostSide.closings, 1);
  EXPECT_TRUE(pair.guest.Ended() && pair.host.Ended());
  pair.host.ConnectionClosed(pair.now);
  EXPECT_EQ(pair.hostSide.closings, 1);

  Pair cut;
  cut.Pump();
  cut.guest.Send(Bytes{4, 4, 4}, cut.now);
  auto half = cut.guest.TakeOutgoing();
  cut.host.Receive(ByteView(half).first(half.size() / 2), cut.now);
  cut.host.ConnectionClosed(cut.now);  // dropped mid-frame
  EXPECT_EQ(*cut.hostSide.closed, (Failure{Fault::kLost, "Bağlantı koptu."}));
  EXPECT_TRUE(cut.hostSide.messages.empty());
  EXPECT_NO_THROW(cut.host.Send(Bytes{4}, cut.now)) << "sending on an ended link is a no-op";
  EXPECT_TRUE(cut.host.TakeOutgoing().empty());
}

TEST(Link, AFrameThatDoesNotFitOrAFloodIsRefusedWithWhatWasWrong) {
  Pair pair;
  pair.Pump();
  Bytes oversized = {0x00, 0x01, 0x11, 0x70, 4};
  pair.host.Receive(oversized, pair.now);
  ASSERT_TRUE(pair.hostSide.closed);
  EXPECT_EQ(pair.hostSide.closed->text,
            "Karşı taraf bozuk bir mesaj gönderdi: 70000 baytlık, 65536 bayt sınırını aşan bir "
            "çerçeve.");
  Pair zero;
  zero.Pump();
  zero.guest.Receive(Bytes{0, 0, 0, 0}, zero.now);
  EXPECT_EQ(zero.guestSide.closed->text,
            "Karşı taraf bozuk bir mesaj gönderdi: uzunluğu 0 olan bir çerçeve.");
  Pair early;
  early.host.Receive(early.guest.TakeOutgoing(), early.now);
  early.host.Receive(EncodeFrame(4, Bytes(40, 0)), early.now);  // sealed before the keys
  EXPECT_EQ(early.hostSide.closed->fault, Fault::kUnexpected);

  // A flood of heartbeats.
  Pair flood;
  flood.Pump();
  // The guest's clock races ahead, so it beats far faster than the host's
  // time allows.
  auto fast = flood.now;
  for (int i = 0; i < 40; ++i) {
    fast += kHeartbeatInterval;
    flood.host.Send(Bytes{2}, flood.now);  // so that the guest hears the host
    flood.guest.Receive(flood.host.TakeOutgoing(), fast);
    flood.guest.Tick(fast);
  }
  flood.host.Receive(flood.guest.TakeOutgoing(), flood.now + Millis{100});
  ASSERT_TRUE(flood.hostSide.closed);
  EXPECT_EQ(*flood.hostSide.closed,
            (Failure{Fault::kFlood, "Karşı taraf çok sık mesaj gönderiyor."}));
}

}  // namespace
}  // namespace tesva::net

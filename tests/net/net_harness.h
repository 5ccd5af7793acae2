// Two sessions joined by an in-memory pipe, with a deal whose deck the
// test knows, so that what each side holds can be judged against the truth.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include "cpu/computer.h"
#include "engine/engine.h"
#include "net/net_game.h"
#include "platform/memory.h"
#include "shell/main_window.h"

namespace tesva::net::testing {

// The deck is the test's; each side may read a position only once the
// other side's share for it has come, as with the real deal.
struct KnownDeck {
  std::vector<std::vector<std::string>> hands;  // the deck of each hand, from hand 1
};

class TestDeal : public HandDeal {
 public:
  TestDeal(std::vector<std::string> deck) : deck_(std::move(deck)) {}
  bool SetupDone() const override { return true; }
  bool OurSetupTurn() const override { return false; }
  Bytes MakeSetup() override { return {}; }
  std::optional<Failure> TakeSetup(ByteView) override { return std::nullopt; }
  Bytes MakeShares(std::span<const int>) override { return {}; }
  std::optional<Failure> TakeShares(std::span<const int> positions, ByteView payload) override {
    if (!payload.empty()) return MakeFailure(Fault::kDeal, "yanlış pay");
    for (int p : positions) readable_.at(static_cast<std::size_t>(p)) = true;
    return std::nullopt;
  }
  std::string Card(int p) const override {
    return p >= 0 && p < 52 && readable_[static_cast<std::size_t>(p)]
               ? deck_[static_cast<std::size_t>(p)]
               : "";
  }
  Bytes MakeReveal() override { return {}; }
  std::optional<Failure> TakeReveal(ByteView payload) override {
    if (!payload.empty()) return MakeFailure(Fault::kDeal, "yanlış açılış");
    readable_.fill(true);
    return std::nullopt;
  }

 private:
  std::vector<std::string> deck_;
  std::array<bool, 52> readable_{};
};

struct Side {
  Side(Role role, std::string name, DealMaker deal, std::uint64_t seed)
      : services(seed), session(role, Named(services, name), std::move(deal), Millis{0}) {}
  static Platform Named(MemoryPlatform& services, const std::string& name) {
    services.store.Write(kStoreApp, kStoreSection, kKeyLevel, "1");
    services.store.Write(kStoreApp, kStoreSection, kKeyHumanName, name);
    return services.services();
  }
  MemoryPlatform services;
  Session session;
  std::vector<std::string> events;
};

struct Pair {
  explicit Pair(std::function<std::vector<std::string>(int)> deckOf, std::uint64_t seed = 1,
                int hands = 11)
      : host(std::make_unique<Side>(Role::kHost, "Ev", MakeDeal(deckOf), seed)),
        guest(std::make_unique<Side>(Role::kGuest, "Konuk", MakeDeal(deckOf), seed + 1)) {
    host->session.game().game().HandsPerGame = static_cast<std::int16_t>(hands);
    Pump();
  }
  static DealMaker MakeDeal(std::function<std::vector<std::string>(int)> deckOf) {
    return [deckOf](Role, int hand) { return std::make_unique<TestDeal>(deckOf(hand)); };
  }
  // Carries bytes both ways until neither side has anything to send.
  void Pump() {
    for (int round = 0; round < 1000; ++round) {
      auto a = host->session.TakeOutgoing();
      auto b = guest->session.TakeOutgoing();
      if (a.empty() && b.empty()) break;
      if (!a.empty()) guest->session.Receive(a, now);
      if (!b.empty()) host->session.Receive(b, now);
    }
    for (auto* side : {host.get(), guest.get()}) {
      for (auto& e : side->session.game().TakeEvents()) side->events.push_back(e);
    }
  }
  Millis now{0};
  std::unique_ptr<Side> host, guest;
};

}  // namespace tesva::net::testing

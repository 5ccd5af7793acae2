// Two sessions joined by an in-memory pipe, with a fair deal whose deck the
// test knows, so that what each side holds can be judged against the truth.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <set>

#include "../test_support.h"
#include "cpu/computer.h"
#include "engine/engine.h"
#include "net/fair_deal.h"
#include "platform/memory.h"
#include "session/session.h"
#include "shell/main_window.h"
#include "support/public_facts.h"

namespace tesva::net::testing {

// The shuffle of a fair deal whose deck the test chooses: the guest's puts
// the cards in the test's order and the host's leaves it, so that the deck
// in dealing order is the test's and each side still reads a card only
// through the other's proven share.
inline FairDeal::Shuffler KnownShuffle(Role role, const std::vector<std::string>& deck) {
  if (role == Role::kHost) {
    return [](std::array<int, kDealCards>& out) { std::iota(out.begin(), out.end(), 0); };
  }
  return [deck](std::array<int, kDealCards>& out) {
    for (int p = 0; p < kDealCards; ++p) {
      const auto& code = deck.at(static_cast<std::size_t>(p));
      int number = -1;
      for (int n = 0; n < kDealCards && number < 0; ++n)
        if (CardCode(n / kRanks, n % kRanks + 1) == code) number = n;
      out[static_cast<std::size_t>(p)] = number;
    }
  };
}

// A whole deck in a random order.
inline std::vector<std::string> ShuffledDeck(std::mt19937_64& rng) {
  auto deck = Deck({});
  std::shuffle(deck.begin(), deck.end(), rng);
  return deck;
}

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

// The hand slot of the first card the player of `game` may play.
inline int FirstEnabled(const NetGame& game) {
  return EnabledSlots(game.game()).front();
}

struct Pair {
  // `guestDeal`, when given, is the guest's instead of the known deck's.
  explicit Pair(std::function<std::vector<std::string>(int)> deckOf, std::uint64_t seed = 1,
                int hands = 11, DealMaker guestDeal = nullptr)
      : host(std::make_unique<Side>(Role::kHost, "Ev", MakeDeal(deckOf), seed)),
        guest(std::make_unique<Side>(Role::kGuest, "Konuk",
                                     guestDeal ? guestDeal : MakeDeal(deckOf), seed + 1)) {
    host->session.game().game().HandsPerGame = static_cast<std::int16_t>(hands);
    Pump();
  }
  static DealMaker MakeDeal(std::function<std::vector<std::string>(int)> deckOf) {
    return [deckOf](Role role, int hand) {
      return std::make_unique<FairDeal>(role, hand, KnownShuffle(role, deckOf(hand)));
    };
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
    TakeEvents();
  }
  // Deliveries held back: what each side sends waits in its direction's
  // queue until Release, so that the two directions cross in any order.
  void Hold() {
    for (auto* side : {host.get(), guest.get()}) {
      Bytes out = side->session.TakeOutgoing();
      Bytes& queue = side == host.get() ? toGuest : toHost;
      queue.insert(queue.end(), out.begin(), out.end());
    }
    TakeEvents();
  }
  // Delivers the first `count` bytes held for the guest (or the host).
  void Release(bool toGuestSide, std::size_t count) {
    Bytes& queue = toGuestSide ? toGuest : toHost;
    count = std::min(count, queue.size());
    Bytes bytes(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    (toGuestSide ? guest : host)->session.Receive(bytes, now);
    Hold();
  }
  // Loses what is in flight, or with `partial` delivers a random piece of
  // it, then closes both ends, as a dropped network does.
  void Cut(std::mt19937_64* partial = nullptr) {
    for (Side* from : {host.get(), guest.get()}) {
      Bytes bytes = from->session.TakeOutgoing();
      Side* to = from == host.get() ? guest.get() : host.get();
      if (partial && !bytes.empty() && (*partial)() % 2) {
        to->session.Receive(ByteView(bytes).first((*partial)() % bytes.size()), now);
      }
    }
    host->session.ConnectionClosed(now);
    guest->session.ConnectionClosed(now);
  }
  // Links both ends again and carries the bytes.
  void Relink() {
    host->session.Relink(now);
    guest->session.Relink(now);
    Pump();
  }
  // The side whose player is to move, or none while both pause.
  Session* Mover() {
    if (host->session.game().OurMove()) return &host->session;
    if (guest->session.game().OurMove()) return &guest->session;
    return nullptr;
  }
  // The mover plays the enabled slot `choose` picks, or both pauses tick;
  // then the bytes are carried. False when the mover's card was refused.
  bool Step(const SlotChoice& choose = FirstSlot) {
    bool played = true;
    if (Session* mover = Mover()) {
      played = mover->Play(choose(EnabledSlots(mover->game().game())), now);
    } else {
      host->session.TickPause(now);
      guest->session.TickPause(now);
    }
    Pump();
    return played;
  }
  void TakeEvents() {
    for (auto* side : {host.get(), guest.get()}) {
      for (auto& e : side->session.game().TakeEvents()) side->events.push_back(e);
    }
  }
  Millis now{0};
  std::unique_ptr<Side> host, guest;
  Bytes toGuest, toHost;
};

}  // namespace tesva::net::testing

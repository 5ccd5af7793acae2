// The fair deal's cost: the work of one hand on each side, a share with its
// proof and its check, the check of the whole hand at its end, and the
// bytes a hand sends between two programs (deal and game messages, sealed).
#include <benchmark/benchmark.h>

#include <chrono>

#include "net/fair_deal.h"
#include "platform/memory.h"
#include "session/session.h"

namespace tesva::net {
namespace {

using Clock = std::chrono::steady_clock;

// The positions each side reads in a hand the host leads: the base card
// and its six deals of four.
std::vector<int> CardsOf(bool host) {
  std::vector<int> out;
  for (int deal = 0; deal < 6; ++deal)
    for (int i = 0; i < 4; ++i) out.push_back(4 + deal * 8 + (host ? 0 : 4) + i);
  return out;
}

// One hand's deal on both sides, with every call timed to the side that
// makes it; range(0) is 0 for the host's time, 1 for the guest's.
void DealWorkPerHand(benchmark::State& state) {
  bool timeHost = state.range(0) == 0;
  for (auto _ : state) {
    Clock::duration spent{};
    auto timed = [&](bool host, auto&& call) {
      auto start = Clock::now();
      auto result = call();
      if (host == timeHost) spent += Clock::now() - start;
      return result;
    };
    FairDeal host(Role::kHost, 1), guest(Role::kGuest, 1);
    auto opening = timed(true, [&] { return host.MakeSetup(); });
    timed(false, [&] { return guest.TakeSetup(opening); });
    auto first = timed(false, [&] { return guest.MakeSetup(); });
    timed(true, [&] { return host.TakeSetup(first); });
    auto final = timed(true, [&] { return host.MakeSetup(); });
    timed(false, [&] { return guest.TakeSetup(final); });
    auto hostCards = CardsOf(true), guestCards = CardsOf(false);
    for (int deal = 0; deal < 6; ++deal) {
      std::vector<int> h(hostCards.begin() + deal * 4, hostCards.begin() + deal * 4 + 4);
      std::vector<int> g(guestCards.begin() + deal * 4, guestCards.begin() + deal * 4 + 4);
      if (deal == 0) h.push_back(0), g.push_back(0);
      auto toGuest = timed(true, [&] { return host.MakeShares(g); });
      auto toHost = timed(false, [&] { return guest.MakeShares(h); });
      timed(false, [&] { return guest.TakeShares(g, toGuest); });
      timed(true, [&] { return host.TakeShares(h, toHost); });
      for (int i = 0; i < 4; ++i) {
        const int ours[] = {h[static_cast<std::size_t>(i)]},
                  theirs[] = {g[static_cast<std::size_t>(i)]};
        auto played = timed(true, [&] { return host.MakeShares(ours); });
        timed(false, [&] { return guest.TakeShares(ours, played); });
        auto answered = timed(false, [&] { return guest.MakeShares(theirs); });
        timed(true, [&] { return host.TakeShares(theirs, answered); });
      }
    }
    auto hostKey = timed(true, [&] { return host.MakeReveal(); });
    auto guestKey = timed(false, [&] { return guest.MakeReveal(); });
    if (timed(true, [&] { return host.TakeReveal(guestKey); }) ||
        timed(false, [&] { return guest.TakeReveal(hostKey); })) {
      state.SkipWithError("an honest hand failed its check");
    }
    state.SetIterationTime(std::chrono::duration<double>(spent).count());
  }
  state.SetLabel(timeHost ? "host" : "guest");
}
BENCHMARK(DealWorkPerHand)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

struct SetUpDeal {
  SetUpDeal() {
    guest.TakeSetup(host.MakeSetup());
    host.TakeSetup(guest.MakeSetup());
    guest.TakeSetup(host.MakeSetup());
  }
  FairDeal host{Role::kHost, 1};
  FairDeal guest{Role::kGuest, 1};
};

void ShareWithProof(benchmark::State& state) {
  SetUpDeal deal;
  const int position[] = {8};
  for (auto _ : state) benchmark::DoNotOptimize(deal.host.MakeShares(position));
}
BENCHMARK(ShareWithProof)->Unit(benchmark::kMicrosecond);

void ShareCheck(benchmark::State& state) {
  SetUpDeal deal;
  const int position[] = {8};
  Bytes share = deal.host.MakeShares(position);
  for (auto _ : state) {
    if (deal.guest.TakeShares(position, share)) state.SkipWithError("refused");
  }
}
BENCHMARK(ShareCheck)->Unit(benchmark::kMicrosecond);

// The check at a hand's end, on each side, after 49 shares each way.
void RevealCheck(benchmark::State& state) {
  bool hostChecks = state.range(0) == 0;
  for (auto _ : state) {
    SetUpDeal deal;
    auto hostCards = CardsOf(true), guestCards = CardsOf(false);
    hostCards.push_back(0), guestCards.push_back(0);
    // Each reads its own cards and the other's played ones.
    deal.host.TakeShares(hostCards, deal.guest.MakeShares(hostCards));
    deal.guest.TakeShares(guestCards, deal.host.MakeShares(guestCards));
    deal.host.TakeShares(guestCards, deal.guest.MakeShares(guestCards));
    deal.guest.TakeShares(hostCards, deal.host.MakeShares(hostCards));
    Bytes key = hostChecks ? deal.guest.MakeReveal() : deal.host.MakeReveal();
    FairDeal& checker = hostChecks ? deal.host : deal.guest;
    auto start = Clock::now();
    if (checker.TakeReveal(key)) state.SkipWithError("an honest hand failed its check");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.SetLabel(hostChecks ? "host" : "guest");
}
BENCHMARK(RevealCheck)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Two sessions over an in-memory pipe play a game of range(0) hands, each
// side its first playable card; the bytes both ways are counted at the link.
void BytesOfAGame(benchmark::State& state) {
  auto hands = static_cast<std::int16_t>(state.range(0));
  double bytes = 0;
  for (auto _ : state) {
    MemoryPlatform hostServices(1), guestServices(2);
    Session host(Role::kHost, hostServices.services(), DefaultDealMaker(), Millis{0});
    Session guest(Role::kGuest, guestServices.services(), DefaultDealMaker(), Millis{0});
    host.game().game().HandsPerGame = hands;
    bytes = 0;
    auto pump = [&] {
      for (int round = 0; round < 1000; ++round) {
        Bytes a = host.TakeOutgoing(), b = guest.TakeOutgoing();
        if (a.empty() && b.empty()) break;
        bytes += static_cast<double>(a.size() + b.size());
        if (!a.empty()) guest.Receive(a, Millis{0});
        if (!b.empty()) host.Receive(b, Millis{0});
      }
    };
    pump();
    for (int step = 0; step < 5000 && !host.game().Over(); ++step) {
      Session* mover = host.game().OurMove() ? &host : guest.game().OurMove() ? &guest : nullptr;
      if (!mover) {
        host.TickPause(Millis{0});
        guest.TickPause(Millis{0});
      } else {
        int slot = 1;
        while (!mover->game().game().Player1_Kart(slot).enabled) ++slot;
        mover->Play(slot, Millis{0});
      }
      pump();
      if (host.game().failure()) state.SkipWithError(host.game().failure()->text.c_str());
      if (host.game().failure()) break;
    }
  }
  state.counters["bytes"] = bytes;
  state.counters["bytes_per_hand"] = bytes / static_cast<double>(hands);
}
BENCHMARK(BytesOfAGame)->Arg(1)->Arg(11)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesva::net

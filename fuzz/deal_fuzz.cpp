// The fair deal's parsers against any bytes.
//
// The first input byte chooses what the rest is taken as: the host's
// opening, the guest's first deck, the host's final deck, shares for two
// positions, or a revealed scalar, each at the point of an honest deal
// where that payload comes. Whatever it is, the deal refuses it or takes it
// without crashing, and a refused payload opens no card.
#include <cstdint>
#include <cstdlib>

#include "net/fair_deal.h"

namespace {

using namespace tesva::net;

bool NothingOpen(const FairDeal& deal) {
  for (int p = 0; p < kDealCards; ++p)
    if (!deal.Card(p).empty()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ByteView payload(data + 1, size - 1);
  FairDeal host(Role::kHost, 1), guest(Role::kGuest, 1);
  Bytes opening = host.MakeSetup();
  switch (data[0] % 5) {
    case 0:
      guest.TakeSetup(payload);
      return 0;
    case 1:
      if (guest.TakeSetup(opening)) std::abort();
      guest.MakeSetup();
      host.TakeSetup(payload);
      if (!NothingOpen(host)) std::abort();
      return 0;
    default:
      break;
  }
  // An honest setup up to the final deck.
  if (guest.TakeSetup(opening) || host.TakeSetup(guest.MakeSetup())) std::abort();
  Bytes finalDeck = host.MakeSetup();
  if (data[0] % 5 == 2) {
    guest.TakeSetup(payload);
    return 0;
  }
  if (guest.TakeSetup(finalDeck)) std::abort();
  const int positions[] = {8, 9};
  if (data[0] % 5 == 3) {
    bool refused = guest.TakeShares(positions, payload).has_value();
    if (refused && !NothingOpen(guest)) std::abort();
    return 0;
  }
  if (guest.TakeReveal(payload) && !NothingOpen(guest)) std::abort();
  return 0;
}

// Who can reach an address of this machine, judged from the address alone:
// no packet is sent and no outside service is asked. A host learns from it
// whether a friend on the internet could call it straight, or whether its
// router must forward the port first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesva::net {

enum class Reach {
  kThisMachine,    // 127.0.0.0/8, ::1
  kLinkLocal,      // 169.254.0.0/16, fe80::/10: this network segment only
  kLocalNetwork,   // 10/8, 172.16/12, 192.168/16, fc00::/7: behind a router
  kSharedNetwork,  // 100.64.0.0/10: the provider's own NAT, not reachable
  kInternet,       // a public IPv4 or global IPv6 address
  kUnknown,        // not an address, or one of no such kind
};

// The reach of a textual IPv4 or IPv6 address ("192.168.1.5", "2a01:…",
// "::ffff:10.0.0.2"); a zone suffix ("%eth0") is ignored.
Reach ReachOf(std::string_view address);

// What the host dialog writes after the address: "yerel ağ", …; empty for
// kUnknown.
std::string_view ReachLabel(Reach reach);

// The sentence under the host's addresses: whether a friend on the internet
// can call one of `reaches` straight on `port`, or what the router needs.
std::string ReachHint(const std::vector<Reach>& reaches, int port);

}  // namespace tesva::net

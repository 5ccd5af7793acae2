#include "net/address_reach.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace tesva::net {
namespace {

Reach ReachOfV4(const std::uint8_t (&a)[4]) {
  if (a[0] == 127) return Reach::kThisMachine;
  if (a[0] == 169 && a[1] == 254) return Reach::kLinkLocal;
  if (a[0] == 10 || (a[0] == 172 && (a[1] & 0xF0) == 16) || (a[0] == 192 && a[1] == 168)) {
    return Reach::kLocalNetwork;
  }
  if (a[0] == 100 && (a[1] & 0xC0) == 64) return Reach::kSharedNetwork;
  // The blocks for documentation and for benchmarks are nobody's on the
  // internet (test networks use them).
  if ((a[0] == 192 && a[1] == 0 && a[2] == 2) || (a[0] == 198 && a[1] == 51 && a[2] == 100) ||
      (a[0] == 203 && a[1] == 0 && a[2] == 113) || (a[0] == 198 && (a[1] & 0xFE) == 18)) {
    return Reach::kUnknown;
  }
  // "This network", multicast and the reserved block reach nobody.
  if (a[0] == 0 || a[0] >= 224) return Reach::kUnknown;
  return Reach::kInternet;
}

Reach ReachOfV6(const std::uint8_t (&a)[16]) {
  static constexpr std::uint8_t kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  static constexpr std::uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  if (std::equal(a, a + 16, kLoopback)) return Reach::kThisMachine;
  if (std::equal(a, a + 12, kMapped)) {
    const std::uint8_t v4[4] = {a[12], a[13], a[14], a[15]};
    return ReachOfV4(v4);
  }
  if (a[0] == 0xFE && (a[1] & 0xC0) == 0x80) return Reach::kLinkLocal;
  if ((a[0] & 0xFE) == 0xFC) return Reach::kLocalNetwork;
  if (a[0] == 0x20 && a[1] == 0x01 && a[2] == 0x0D && a[3] == 0xB8) return Reach::kUnknown;
  if ((a[0] & 0xE0) == 0x20) return Reach::kInternet;  // 2000::/3, the global unicast block
  return Reach::kUnknown;
}

}  // namespace

Reach ReachOf(std::string_view address) {
  address = address.substr(0, address.find('%'));
  // The longest textual IPv6 address is 45 characters.
  // A NUL inside would end the text early for inet_pton.
  if (address.empty() || address.size() > 45 || address.find('\0') != address.npos) {
    return Reach::kUnknown;
  }
  const std::string text(address);
  std::uint8_t v4[4];
  if (inet_pton(AF_INET, text.c_str(), v4) == 1) return ReachOfV4(v4);
  std::uint8_t v6[16];
  if (inet_pton(AF_INET6, text.c_str(), v6) == 1) return ReachOfV6(v6);
  return Reach::kUnknown;
}

std::string_view ReachLabel(Reach reach) {
  switch (reach) {
    case Reach::kThisMachine:
      return "yalnız bu bilgisayar";
    case Reach::kLinkLocal:
      return "yalnız bu ağ kesimi";
    case Reach::kLocalNetwork:
      return "yerel ağ";
    case Reach::kSharedNetwork:
      return "servis sağlayıcının ağı; internetten ulaşılamaz";
    case Reach::kInternet:
      return "internet";
    case Reach::kUnknown:
      break;
  }
  return {};
}

std::string ReachHint(const std::vector<Reach>& reaches, int port) {
  const std::string number = std::to_string(port);
  for (Reach reach : reaches) {
    if (reach == Reach::kInternet) {
      return "İnternetteki bir arkadaşınız \"internet\" yazan adresle katılabilir; "
             "yönlendiriciniz ya da güvenlik duvarınız port " +
             number + " için gelen bağlantıları geçirmelidir.";
    }
  }
  for (Reach reach : reaches) {
    if (reach == Reach::kSharedNetwork) {
      return "Servis sağlayıcınız bu bilgisayarı kendi ağının arkasında tutuyor: internetten "
             "buraya bağlanılamaz. İnternetten oynamak için arkadaşınız oyun açsın.";
    }
  }
  return "Bu bilgisayarın internette görünen bir adresi yok: internetten oynamak için "
         "yönlendiricinizde port " +
         number +
         " bu bilgisayara yönlendirilmeli; arkadaşınıza da yönlendiricinin dış adresini "
         "söyleyin.";
}

}  // namespace tesva::net

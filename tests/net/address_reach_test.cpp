// Which of the host's addresses a friend on the internet could call, from
// the address alone, and the sentence the host reads about it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/address_reach.h"

namespace tesva::net {
namespace {

TEST(AddressReach, EachAddressIsJudgedByItsBlockAndWhatIsNoAddressIsUnknown) {
  const std::pair<Reach, std::vector<std::string>> cases[] = {
      {Reach::kThisMachine, {"127.0.0.1", "127.255.3.4", "::1"}},
      {Reach::kLinkLocal, {"169.254.10.1", "fe80::1%eth0"}},
      {Reach::kLocalNetwork,
       {"10.0.0.2", "172.16.0.1", "172.31.255.255", "192.168.1.5", "fd12:3456::1",
        "::ffff:192.168.0.9"}},
      {Reach::kSharedNetwork, {"100.64.0.1", "100.127.255.254"}},
      // Just outside the private, documentation and benchmark blocks: public.
      {Reach::kInternet,
       {"172.15.255.255", "172.32.0.1", "100.128.0.1", "192.169.0.1", "81.214.3.7", "2a01:4f8::1",
        "::ffff:81.214.3.7", "198.20.0.1", "192.0.3.1", "2001:db9::1"}},
      {Reach::kUnknown,
       {"0.0.0.0", "224.0.0.1", "255.255.255.255", "ff02::1", "::",
        // Documentation and benchmark blocks.
        "192.0.2.2", "198.51.100.7", "203.0.113.9", "198.18.0.1", "198.19.255.1", "2001:db8::1",
        // Not an address at all.
        "", "%", "%eth0", "localhost", "192.168.1", "192.168.1.256", "1.2.3.4.5", " 10.0.0.1",
        "10.0.0.1 ", "2a01::1::2", std::string(46, '1'), std::string(10000, ':'),
        std::string("10.0.0.1\0x", 10)}},
  };
  for (const auto& [reach, addresses] : cases) {
    for (const auto& address : addresses) {
      EXPECT_EQ(ReachOf(address), reach) << address.substr(0, 20);
    }
  }
  EXPECT_TRUE(ReachLabel(Reach::kUnknown).empty());
  EXPECT_EQ(ReachLabel(Reach::kLocalNetwork), "yerel ağ");
}

TEST(AddressReach, TheHintSaysWhatTheRouterNeeds) {
  EXPECT_EQ(ReachHint({Reach::kLocalNetwork, Reach::kInternet}, 45617),
            "İnternetteki bir arkadaşınız \"internet\" yazan adresle katılabilir; yönlendiriciniz "
            "ya da güvenlik duvarınız port 45617 için gelen bağlantıları geçirmelidir.");
  EXPECT_EQ(ReachHint({Reach::kLocalNetwork}, 5000),
            "Bu bilgisayarın internette görünen bir adresi yok: internetten oynamak için "
            "yönlendiricinizde port 5000 bu bilgisayara yönlendirilmeli; arkadaşınıza da "
            "yönlendiricinin dış adresini söyleyin.");
  EXPECT_EQ(ReachHint({}, 5000), ReachHint({Reach::kLocalNetwork}, 5000));
  EXPECT_TRUE(ReachHint({Reach::kSharedNetwork, Reach::kLocalNetwork}, 1)
                  .starts_with("Servis sağlayıcınız"));
}

}  // namespace
}  // namespace tesva::net

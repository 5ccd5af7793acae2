// Which of the host's addresses a friend on the internet could call, from
// the address alone, and the sentence the host reads about it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/address_reach.h"

namespace tesva::net {
namespace {

TEST(AddressReach, EachKindOfAddressIsJudgedByItsBlock) {
  const std::pair<const char*, Reach> cases[] = {
      {"127.0.0.1", Reach::kThisMachine},
      {"127.255.3.4", Reach::kThisMachine},
      {"::1", Reach::kThisMachine},
      {"169.254.10.1", Reach::kLinkLocal},
      {"fe80::1%eth0", Reach::kLinkLocal},
      {"10.0.0.2", Reach::kLocalNetwork},
      {"172.16.0.1", Reach::kLocalNetwork},
      {"172.31.255.255", Reach::kLocalNetwork},
      {"192.168.1.5", Reach::kLocalNetwork},
      {"fd12:3456::1", Reach::kLocalNetwork},
      {"::ffff:192.168.0.9", Reach::kLocalNetwork},
      {"100.64.0.1", Reach::kSharedNetwork},
      {"100.127.255.254", Reach::kSharedNetwork},
      // Just outside the private blocks: public.
      {"172.15.255.255", Reach::kInternet},
      {"172.32.0.1", Reach::kInternet},
      {"100.128.0.1", Reach::kInternet},
      {"192.169.0.1", Reach::kInternet},
      {"81.214.3.7", Reach::kInternet},
      {"2a01:4f8::1", Reach::kInternet},
      {"::ffff:81.214.3.7", Reach::kInternet},
      {"0.0.0.0", Reach::kUnknown},
      {"224.0.0.1", Reach::kUnknown},
      {"255.255.255.255", Reach::kUnknown},
      {"ff02::1", Reach::kUnknown},
      {"::", Reach::kUnknown},
      // Documentation and benchmark blocks.
      {"192.0.2.2", Reach::kUnknown},
      {"198.51.100.7", Reach::kUnknown},
      {"203.0.113.9", Reach::kUnknown},
      {"198.18.0.1", Reach::kUnknown},
      {"198.19.255.1", Reach::kUnknown},
      {"198.20.0.1", Reach::kInternet},
      {"192.0.3.1", Reach::kInternet},
      {"2001:db8::1", Reach::kUnknown},
      {"2001:db9::1", Reach::kInternet},
  };
  for (auto [address, reach] : cases) EXPECT_EQ(ReachOf(address), reach) << address;
}

TEST(AddressReach, WhatIsNoAddressIsUnknown) {
  for (const std::string& text : std::vector<std::string>{
           "", "%", "%eth0", "localhost", "192.168.1", "192.168.1.256", "1.2.3.4.5", " 10.0.0.1",
           "10.0.0.1 ", "2a01::1::2", std::string(46, '1'), std::string(10000, ':'),
           std::string("10.0.0.1\0x", 10)}) {
    EXPECT_EQ(ReachOf(text), Reach::kUnknown) << text.substr(0, 20);
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

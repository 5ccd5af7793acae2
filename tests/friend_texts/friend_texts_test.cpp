// The friend game's sentences that carry what came over the network or
// from the player: a name or an address is put in whole, whatever it
// holds, and never read as part of the sentence's pattern.
#include <gtest/gtest.h>

#include "friend_texts/friend_texts.h"

namespace {

namespace texts = tesva::friend_texts;

TEST(FriendTextsTest, NamesAndAddressesArePutInWholeAndAnOfferMidGameWarns) {
  EXPECT_EQ(texts::FoundGame("Ayşe", "192.168.1.5", 4711), "Ayşe — 192.168.1.5:4711");
  // A name announced on the network may hold anything, markers included.
  EXPECT_EQ(texts::FoundGame("%1 %3", "10.0.0.2", 4711), "%1 %3 — 10.0.0.2:4711");
  EXPECT_EQ(texts::ConnectingTo("%2", 80), "%2:80 adresine bağlanılıyor…");
  EXPECT_EQ(texts::OfferSent("%1"),
            "Yeni oyun öneriniz %1 adlı oyuncuya gönderildi; yanıtı bekleniyor.");
  EXPECT_EQ(texts::AddressLine("10.0.0.2", ""), "10.0.0.2");
  EXPECT_EQ(texts::AddressLine("10.0.0.2", "yerel ağ"), "10.0.0.2 (yerel ağ)");
  // An offer mid-game warns that the game is left.
  EXPECT_EQ(texts::OfferCame("Deniz", true), "Deniz yeni bir oyun öneriyor.");
  EXPECT_EQ(texts::OfferCame("Deniz", false),
            "Deniz yeni bir oyun öneriyor. Kabul ederseniz bu oyun bırakılır ve yenisi başlar.");
}

}  // namespace

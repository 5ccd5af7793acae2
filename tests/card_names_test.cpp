// What a screen reader says for each card and pile, written out in full.
#include <gtest/gtest.h>

#include "shell/card_names.h"
#include "test_support.h"

namespace tesva {
namespace {

TEST(CardNames, EveryKindOfPictureIsNamedInTurkish) {
  for (auto [picture, name] : {std::pair{"K1", "Kupa As"},
                               {"D11", "Karo Vale"},
                               {"S12", "Sinek Kız"},
                               {"M13", "Maça Papaz"},
                               {"K7", "Kupa 7"},
                               {"D10", "Karo 10"},
                               {"", "Boş"},
                               {"Back", "Kapalı kağıt"},
                               {"Back2", "Kapalı kağıt"},
                               {"X9", "X9"}}) {
    EXPECT_EQ(CardName(picture), name) << picture;
  }
}

TEST(CardNames, EachPlaceOnTheTableSaysWhatItHolds) {
  Table t;
  t.Start();
  Game& g = t.g;
  g.Player1_Kart(2).picture = "D7";
  g.Player1_Kart(3).picture = "";
  g.Player2_Kart(1).picture = "Back";
  g.Player2_Kart(4).picture = "";
  g.OrtadakiKartlar.picture = "S12";
  g.FloorCount = 5;
  g.EnAltKart.picture = "M1";
  g.Player1_Deste.picture = "D7";
  g.Player1_CardsTaken = 12;
  g.Player2_Deste.picture = "K13";
  g.Player2_CardsTaken = 1;
  g.Label8.caption = "Deste (28)";
  for (auto [element, index, name] : {
           std::tuple{"Player1_Kart", 2, "Elindeki kağıt 2: Karo 7"},
           {"Player1_Kart", 3, "Elindeki kağıt 3: Boş"},
           {"Player2_Kart", 1, "Bilgisayarın kağıdı 1"},
           {"Player2_Kart", 4, "Bilgisayarın kağıdı 4: Boş"},
           {"OrtadakiKartlar", 0, "Yerdeki kağıtlar (5): en üstte Sinek Kız"},
           {"EnAltKart", 0, "Taban: Maça As"},
           {"Player1_Deste", 0, "Aldığın kağıtlar (12): Karo 7"},
           {"Player2_Deste", 0, "Bilgisayarın aldığı kağıtlar: Kupa Papaz"},
           {"Deste", 0, "Deste (28)"},
       }) {
    EXPECT_EQ(AccessibleName(g, element, index), name) << element << index;
  }
  // A pile counts from two cards on.
  g.Player2_CardsTaken = 2;
  EXPECT_EQ(AccessibleName(g, "Player2_Deste", 0), "Bilgisayarın aldığı kağıtlar (2): Kupa Papaz");
  // A lone floor card may be taken for a tesva: it is named alone.
  g.FloorCount = 1;
  EXPECT_EQ(AccessibleName(g, "OrtadakiKartlar", 0), "Yerdeki kağıt: Sinek Kız");
  g.OrtadakiKartlar.picture = "";
  EXPECT_EQ(AccessibleName(g, "OrtadakiKartlar", 0), "Yerdeki kağıt: Boş");
  g.Player1_Deste.picture = "";
  g.Player1_CardsTaken = 0;
  EXPECT_EQ(AccessibleName(g, "Player1_Deste", 0), "Aldığın kağıtlar: Boş");
}

}  // namespace
}  // namespace tesva

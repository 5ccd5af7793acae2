#include "window/table/table_piles.h"

#include "engine/cards.h"
#include "shell/card_names.h"
#include "window/table/card_picture.h"
#include "window/table/pile_edges.h"

TablePiles::TablePiles(PictureCache& pictures, QWidget* table) : QObject(table) {
  for (Spot spot :
       {Spot::kComputerPile, Spot::kHumanPile, Spot::kFloorBase, Spot::kFloorTop, Spot::kDeck}) {
    // The pile's edges lie under its top card.
    PileEdges* edges = spot != Spot::kFloorBase ? new PileEdges(table) : nullptr;
    auto* card = new CardPicture(pictures, table);
    std::string_view name = ElementOf(spot).name;
    card->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    // A drag that starts on a pile is not a move over the table.
    card->setAttribute(Qt::WA_NoMousePropagation);
    piles_.push_back({spot, card, edges});
  }
}

CardPicture* TablePiles::Top(Spot spot) const {
  for (const Pile& pile : piles_) {
    if (pile.spot == spot) return pile.top;
  }
  return nullptr;
}

void TablePiles::ShowEdges(const tesva::Game& game, const TableCaptions* moving) {
  for (const Pile& pile : piles_) {
    if (!pile.edges) continue;
    CardPicture* top = pile.top;
    int cards = top->ShowsCard() ? tesva::PileCount(game, ElementOf(pile.spot).name) : 0;
    if (pile.spot == Spot::kDeck && moving && top->ShowsCard()) {
      cards = tesva::DeckCountIn(At(*moving, Caption::kDeck).caption).value_or(cards);
    }
    pile.edges->Follow(top->geometry(), cards);
  }
}

// The table's piles: both captured piles, the floor's base and top card and
// the deck, each but the base with the edges of the cards under its top.
#pragma once

#include <QObject>
#include <vector>

#include "engine/game_state.h"
#include "motion/table_motion.h"

class CardPicture;
class PictureCache;
class PileEdges;
class QWidget;

class TablePiles : public QObject {
  Q_OBJECT

 public:
  TablePiles(PictureCache& pictures, QWidget* table);
  // The top card's place of the pile at `spot`.
  CardPicture* Top(Spot spot) const;
  // A place that shows no card shows no edges either; the cards the edges
  // stand for are `game`'s, and while a deal slides (`moving`), the deck is
  // as thick as its caption still says.
  void ShowEdges(const tesva::Game& game, const TableCaptions* moving);

 private:
  struct Pile {
    Spot spot;
    CardPicture* top;
    PileEdges* edges;  // null for the base
  };
  std::vector<Pile> piles_;
};

// The card pictures as the KDE card decks draw them: the build draws the
// "Data" folder with these, and the window draws a card from the decks at
// the size it is shown when that is larger than its "Data" picture (the
// 150 and 200 % tables, dense screens). This part lives in a library of its
// own, libtesva-decks, that the window loads only when it first draws a
// card that large: the program is not linked with Qt Svg, and a 100 %
// table on a plain screen neither loads this library nor reads a deck.
// (Qt's own SVG image plugin, which reading a picture file may load,
// parses no deck.)
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

class QSvgRenderer;

namespace decks {

// Where a picture of the game is in the decks: the element's id, and
// whether it is the coloured back of the nicu deck rather than a card of
// the standard deck.
struct Element {
  QString id;
  bool inBacksDeck = false;
};
// For a card code ("K1" ... "M13") or a back ("Back", "Back2"); nothing
// for any other name.
std::optional<Element> ElementOf(const QString& picture);

// The element `id` of `deck`, stretched to fill `size`: the deck cards are
// about 0.74 as wide as tall, the card place 0.62, and a card that fills
// its place leaves no transparent margin that would still take clicks.
QImage Draw(QSvgRenderer& deck, const QString& id, QSize size);

}  // namespace decks

// What the window looks up in the library: draws `picture` from the decks
// in the files `facesDeck` (svg-standard) and `backsDeck` (svg-nicu-white)
// into `out` at `size` device pixels. False, and `out` untouched, for an
// unknown name, a size out of bounds or a deck that cannot be read. Each
// deck is read once; any thread may call it.
extern "C" bool TesvaDrawPicture(const QString& facesDeck, const QString& backsDeck,
                                 const QString& picture, QSize size, QImage* out);

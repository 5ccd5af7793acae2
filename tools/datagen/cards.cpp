#include "cards.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <array>

namespace datagen {
namespace {

// The game's suit letters beside the decks' suit names: Kupa, Karo, Sinek, Maça.
struct Suit {
  const char* letter;
  const char* deckName;
};
constexpr std::array<Suit, 4> kSuits = {
    {{"K", "heart"}, {"D", "diamond"}, {"S", "club"}, {"M", "spade"}}};

// The standard deck's blue back, and the nicu deck's red back with the four aces.
constexpr const char* kStandardBackId = "back";
constexpr const char* kColouredBackId = "back_c1";

QString deckRankName(int rank) {
  switch (rank) {
    case 11:
      return QStringLiteral("jack");
    case 12:
      return QStringLiteral("queen");
    case 13:
      return QStringLiteral("king");
    default:
      return QString::number(rank);
  }
}

QString faceElementId(const Suit& suit, int rank) {
  return deckRankName(rank) + u'_' + QLatin1String(suit.deckName);
}

// The deck cards are about 0.74 as wide as tall, the card place 0.62. Stretching them to fill
// the place keeps the table tidy: no transparent margin that would still take clicks, and
// edges that line up with the slots; the plain faces take the stretch well.
QImage drawElement(QSvgRenderer& deck, const QString& elementId) {
  QImage picture(kCardWidth, kCardHeight, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  // Smooth scaling matters for the court cards, which embed bitmap figures.
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  deck.render(&painter, elementId, QRectF(0, 0, kCardWidth, kCardHeight));
  return picture;
}

QString writePicture(QSvgRenderer& deck, const QString& elementId, const QString& path) {
  if (!deck.elementExists(elementId)) return QStringLiteral("no element \"%1\"").arg(elementId);
  if (!drawElement(deck, elementId).save(path, "PNG"))
    return QStringLiteral("cannot write %1").arg(path);
  return {};
}

QString writeFaces(QSvgRenderer& deck, const QDir& out) {
  for (const Suit& suit : kSuits) {
    for (int rank = 1; rank <= 13; ++rank) {
      const QString file = QLatin1String(suit.letter) + QString::number(rank) + ".grf";
      QString error = writePicture(deck, faceElementId(suit, rank), out.filePath(file));
      if (!error.isEmpty()) return error;
    }
  }
  return {};
}

QString withDeck(const QString& error, const QString& deck) {
  return error.isEmpty() ? error : deck + QStringLiteral(": ") + error;
}

}  // namespace

QString writeCardPictures(const QString& facesDeck, const QString& backsDeck,
                          const QString& outDir) {
  QSvgRenderer faces(facesDeck);
  if (!faces.isValid()) return QStringLiteral("cannot read the card deck %1").arg(facesDeck);
  QSvgRenderer backs(backsDeck);
  if (!backs.isValid()) return QStringLiteral("cannot read the card deck %1").arg(backsDeck);

  const QDir out(outDir);
  QString error = writeFaces(faces, out);
  if (error.isEmpty()) error = writePicture(faces, kStandardBackId, out.filePath("Back2.grf"));
  if (!error.isEmpty()) return withDeck(error, facesDeck);
  return withDeck(writePicture(backs, kColouredBackId, out.filePath("Back.grf")), backsDeck);
}

}  // namespace datagen

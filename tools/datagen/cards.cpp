#include "cards.h"

#include <QDir>
#include <QImage>
#include <QSvgRenderer>

#include "window/decks/deck_drawing.h"

namespace datagen {
namespace {

// The picture `picture` drawn as the window draws it from the decks, at
// the size of the "Data" pictures.
QString writePicture(QSvgRenderer& deck, const QString& picture, const QString& path) {
  auto element = decks::ElementOf(picture);
  if (!element) return QStringLiteral("no picture \"%1\"").arg(picture);
  if (!deck.elementExists(element->id)) return QStringLiteral("no element \"%1\"").arg(element->id);
  if (!decks::Draw(deck, element->id, QSize(kCardWidth, kCardHeight)).save(path, "PNG"))
    return QStringLiteral("cannot write %1").arg(path);
  return {};
}

QString writeFaces(QSvgRenderer& deck, const QDir& out) {
  for (const char* suit : {"K", "D", "S", "M"}) {
    for (int rank = 1; rank <= 13; ++rank) {
      const QString name = QLatin1String(suit) + QString::number(rank);
      QString error = writePicture(deck, name, out.filePath(name + ".grf"));
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
  if (error.isEmpty())
    error = writePicture(faces, QStringLiteral("Back2"), out.filePath("Back2.grf"));
  if (!error.isEmpty()) return withDeck(error, facesDeck);
  return withDeck(writePicture(backs, QStringLiteral("Back"), out.filePath("Back.grf")), backsDeck);
}

}  // namespace datagen

#include "window/decks/deck_drawing.h"

#include <QPainter>
#include <QSvgRenderer>
#include <map>
#include <mutex>

#include "shell/deck_element.h"

namespace decks {

std::optional<Element> ElementOf(const QString& picture) {
  auto element = tesva::DeckElementOf(picture.toStdString());
  if (!element) return std::nullopt;
  return Element{QString::fromStdString(element->id), element->deck == "backs"};
}

QImage Draw(QSvgRenderer& deck, const QString& id, QSize size) {
  QImage picture(size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  // Smooth scaling matters for the court cards, which embed bitmap figures.
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  deck.render(&painter, id, QRectF(QPointF(0, 0), size));
  return picture;
}

}  // namespace decks

namespace {

// A card wider or taller than this is no card the table shows: 200 % on
// a screen of 8 device pixels a pixel is 1024 x 1664.
constexpr int kLargestSide = 2048;

std::mutex decksMutex;

// Each deck file read once, an unreadable one too. Kept for the program's
// life: the renderers must not outlive Qt at the program's end.
QSvgRenderer* DeckAt(const QString& path) {
  static auto* read = new std::map<QString, QSvgRenderer*>;
  auto& deck = (*read)[path];
  if (!deck) deck = new QSvgRenderer(path);
  return deck->isValid() ? deck : nullptr;
}

}  // namespace

extern "C" bool TesvaDrawPicture(const QString& facesDeck, const QString& backsDeck,
                                 const QString& picture, QSize size, QImage* out) {
  auto element = decks::ElementOf(picture);
  if (!element || !out || size.width() < 1 || size.height() < 1 || size.width() > kLargestSide ||
      size.height() > kLargestSide) {
    return false;
  }
  // One renderer a deck, shared by the threads that draw.
  std::lock_guard lock(decksMutex);
  QSvgRenderer* deck = DeckAt(element->inBacksDeck ? backsDeck : facesDeck);
  if (!deck || !deck->elementExists(element->id)) return false;
  *out = decks::Draw(*deck, element->id, size);
  return true;
}

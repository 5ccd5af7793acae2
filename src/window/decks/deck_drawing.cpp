#include "window/decks/deck_drawing.h"

#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <map>
#include <mutex>

namespace decks {
namespace {

// The game's suit letters beside the decks' suit names: Kupa, Karo, Sinek, Maça.
constexpr std::array<std::pair<char, const char*>, 4> kSuits = {
    {{'K', "heart"}, {'D', "diamond"}, {'S', "club"}, {'M', "spade"}}};

// The standard deck's blue back, and the nicu deck's red back with the four aces.
constexpr const char* kStandardBackId = "back";
constexpr const char* kColouredBackId = "back_c1";

QString RankName(int rank) {
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

// A plain rank 1 to 13: digits only, no sign, no leading zero.
int RankOf(QStringView text) {
  if (text.isEmpty() || text.size() > 2 || text.front() == u'0') return 0;
  int rank = 0;
  for (QChar digit : text) {
    // toInt() would take blanks and a sign too.
    if (digit < u'0' || digit > u'9') return 0;
    rank = rank * 10 + (digit.unicode() - u'0');
  }
  return rank <= 13 ? rank : 0;
}

}  // namespace

std::optional<Element> ElementOf(const QString& picture) {
  if (picture == QLatin1String("Back")) return Element{kColouredBackId, true};
  if (picture == QLatin1String("Back2")) return Element{kStandardBackId, false};
  if (picture.isEmpty()) return std::nullopt;
  for (const auto& [letter, suit] : kSuits) {
    if (picture.front() != QLatin1Char(letter)) continue;
    int rank = RankOf(QStringView(picture).mid(1));
    if (rank == 0) return std::nullopt;
    return Element{RankName(rank) + u'_' + QLatin1String(suit), false};
  }
  return std::nullopt;
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

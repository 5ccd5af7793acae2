#include "icon.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

namespace datagen {
namespace {

// The icon's own square; the cards keep the deck's proportions inside it.
constexpr int kSide = 256;
constexpr QSizeF kCard(132, 188);
// Both cards turn about one point below the middle of the square, like two cards held in a
// hand: the back leaning left, the ace over it leaning right.
constexpr QPointF kHold(128, 236);

void drawCard(QPainter& painter, QSvgRenderer& deck, const QString& elementId, qreal degrees,
              qreal shift) {
  painter.save();
  painter.translate(kHold + QPointF(shift, 0));
  painter.rotate(degrees);
  deck.render(&painter, elementId,
              QRectF(-kCard.width() / 2, -kCard.height(), kCard.width(), kCard.height()));
  painter.restore();
}

QString writeSvg(QSvgRenderer& deck, const QString& path) {
  if (!deck.elementExists("1_heart") || !deck.elementExists("back"))
    return QStringLiteral("the deck lacks the ace of hearts or the back");
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(QSize(kSide, kSide));
  svg.setViewBox(QRect(0, 0, kSide, kSide));
  svg.setTitle(QStringLiteral("Tesva"));
  QPainter painter;
  if (!painter.begin(&svg)) return QStringLiteral("cannot write %1").arg(path);
  painter.setRenderHint(QPainter::Antialiasing);
  // The icon holds no text, but the generator writes the painter's font into every group: with
  // no GUI application the default font has no size, and "-1" would not be valid SVG.
  QFont font;
  font.setPixelSize(12);
  painter.setFont(font);
  drawCard(painter, deck, QStringLiteral("back"), -16, -12);
  drawCard(painter, deck, QStringLiteral("1_heart"), 10, 20);
  painter.end();
  return {};
}

// Each size is rendered from the written SVG itself, so the pictures are the icon the desktop
// scales, not a second drawing of it.
QString writePngs(const QString& svgPath, const QDir& iconsDir, const QString& name,
                  const QList<int>& sizes) {
  QSvgRenderer icon(svgPath);
  if (!icon.isValid()) return QStringLiteral("cannot read back %1").arg(svgPath);
  for (int size : sizes) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    if (!iconsDir.mkpath(folder)) return QStringLiteral("cannot create %1").arg(folder);
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    icon.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    const QString path = iconsDir.filePath(folder + '/' + name + ".png");
    if (!picture.save(path, "PNG")) return QStringLiteral("cannot write %1").arg(path);
  }
  return {};
}

}  // namespace

QString writeIcon(const QString& facesDeck, const QString& iconsDir, const QString& name,
                  const QList<int>& sizes) {
  QSvgRenderer deck(facesDeck);
  if (!deck.isValid()) return QStringLiteral("cannot read the card deck %1").arg(facesDeck);
  const QDir dir(iconsDir);
  if (!dir.mkpath("scalable/apps")) return QStringLiteral("cannot create %1").arg(iconsDir);
  const QString svgPath = dir.filePath("scalable/apps/" + name + ".svg");
  QString error = writeSvg(deck, svgPath);
  return error.isEmpty() ? writePngs(svgPath, dir, name, sizes) : error;
}

}  // namespace datagen

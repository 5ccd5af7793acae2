#include "window/pictures/picture_cache.h"

#include <QFileInfo>
#include <QImageReader>

#include "engine/cards.h"

PictureCache::PictureCache(QString folder) : folder_(std::move(folder)), decks_(folder_) {}

PictureCache::~PictureCache() = default;

QString PictureCache::Key(const QString& name, QSize size, qreal dpr) {
  return QStringLiteral("%1@%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(dpr);
}

QImage PictureCache::ReadFile(const QString& folder, DeckPictures& decks, const QString& name,
                              QSize size, qreal dpr) {
  QString path =
      QString::fromStdString(tesva::PicturePath(folder.toStdString(), name.toStdString()));
  // The ending ".grf" names no format: the picture data says what it is.
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull()) return {};
  // The "Data" pictures are drawn at twice the 100 % card place: scaled
  // down once here they are sharp and cheap to paint. A card shown larger
  // comes from the decks at its size; the "Data" picture enlarged only
  // where the decks cannot draw it.
  QSize pixels = size * dpr;
  QImage scaled;
  if (pixels.width() > image.width() || pixels.height() > image.height()) {
    scaled = decks.Draw(name, pixels);
  }
  if (scaled.isNull()) {
    scaled = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  scaled.setDevicePixelRatio(dpr);
  return scaled;
}

void PictureCache::ReadAhead(const QStringList& names, QSize size, qreal dpr) {
  if (ahead_.valid()) return;
  // Only images here: pixmaps belong to the window's thread.
  ahead_ = std::async(std::launch::async, [folder = folder_, &decks = decks_, names, size, dpr] {
    std::vector<Read> reads;
    for (const QString& name : names) {
      reads.push_back({Key(name, size, dpr), ReadFile(folder, decks, name, size, dpr)});
    }
    return reads;
  });
}

void PictureCache::TakeReadAhead() {
  for (Read& read : ahead_.get()) {
    ++filesRead_;
    pixmaps_.emplace(read.key,
                     read.image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(read.image)));
  }
}

bool PictureCache::Exists(const QString& name) {
  if (name.isEmpty()) return false;
  auto found = exists_.find(name);
  if (found == exists_.end()) {
    QString path =
        QString::fromStdString(tesva::PicturePath(folder_.toStdString(), name.toStdString()));
    found = exists_.emplace(name, QFileInfo(path).isFile()).first;
  }
  return found->second;
}

void PictureCache::Clear() {
  if (ahead_.valid()) TakeReadAhead();
  pixmaps_.clear();
}

QPixmap PictureCache::Picture(const QString& name, QSize size, qreal dpr) {
  if (name.isEmpty()) return {};
  if (ahead_.valid()) TakeReadAhead();
  QString key = Key(name, size, dpr);
  auto found = pixmaps_.find(key);
  if (found == pixmaps_.end()) {
    // A failed read is kept too: a missing file is not looked for again.
    ++filesRead_;
    QImage image = ReadFile(folder_, decks_, name, size, dpr);
    found = pixmaps_.emplace(key, image.isNull() ? QPixmap() : QPixmap::fromImage(image)).first;
  }
  return found->second;
}

#include "window/pictures/deck_pictures.h"

#include <QDir>
#include <QFileInfo>

#include "window/platform/qt_platform.h"

namespace {

// A deck as the build copied it: "faces.svgz", or "faces.svg" where the
// deck was not compressed.
QString DeckFile(const QDir& decks, const QString& name) {
  for (const char* ending : {".svgz", ".svg"}) {
    QString path = decks.filePath(name + QLatin1String(ending));
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace

DeckPictures::DeckPictures(QString folder) : folder_(std::move(folder)) {}

bool DeckPictures::Loaded() const {
  std::lock_guard lock(mutex_);
  return tried_;
}

DeckPictures::DrawPicture DeckPictures::Library() {
  if (tried_) return draw_;
  tried_ = true;
  const QDir folder(folder_);
  const QDir decks(folder.filePath(QStringLiteral("Decks")));
  faces_ = DeckFile(decks, QStringLiteral("faces"));
  backs_ = DeckFile(decks, QStringLiteral("backs"));
  if (faces_.isEmpty() || backs_.isEmpty()) return nullptr;
  draw_ = reinterpret_cast<DrawPicture>(
      ResolveGameLibrary(folder_, QStringLiteral("tesva-decks"), "TesvaDrawPicture"));
  return draw_;
}

QImage DeckPictures::Draw(const QString& picture, QSize pixels) {
  DrawPicture draw = nullptr;
  {
    std::lock_guard lock(mutex_);
    draw = Library();
  }
  QImage image;
  if (draw && !draw(faces_, backs_, picture, pixels, &image)) return {};
  return image;
}

// Card pictures drawn from the card decks at the size they are shown, for
// a card larger than its "Data" picture. The drawing is libtesva-decks',
// loaded when first needed; without the library or the decks there is no
// such picture and the "Data" picture is enlarged instead.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <mutex>

class DeckPictures {
 public:
  // `folder` is the folder that holds "Data": the decks lie beside it in
  // "Decks", the library beside it in the build and in its own folder
  // once installed.
  explicit DeckPictures(QString folder);

  // `picture` drawn at `pixels` device pixels; null when it cannot be.
  // Any thread may ask.
  QImage Draw(const QString& picture, QSize pixels);
  // True once the library has been looked for.
  bool Loaded() const;

 private:
  using DrawPicture = bool (*)(const QString&, const QString&, const QString&, QSize, QImage*);
  DrawPicture Library();

  QString folder_;
  mutable std::mutex mutex_;
  bool tried_ = false;
  DrawPicture draw_ = nullptr;
  QString faces_, backs_;
};

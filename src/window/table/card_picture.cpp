#include "window/table/card_picture.h"

#include <QMouseEvent>
#include <QPainter>

#include "window/pictures/picture_cache.h"

CardPicture::CardPicture(PictureCache& cache, QWidget* parent) : QWidget(parent), cache_(cache) {}

void CardPicture::SetPicture(const QString& name) {
  if (name == name_) return;
  name_ = name;
  update();
}

// Asked after every event: the file is looked for once, and the pictures
// being read ahead at start-up are not waited for (reading them here had
// the window wait for them before its first drawing).
bool CardPicture::ShowsCard() const {
  return !isHidden() && cache_.Exists(name_);
}

void CardPicture::paintEvent(QPaintEvent*) {
  // Looked up at every paint so that a move to a denser screen stays sharp.
  QPixmap pixmap = cache_.Picture(name_, size(), devicePixelRatioF());
  if (pixmap.isNull()) return;  // an empty place
  QPainter painter(this);
  painter.drawPixmap(0, 0, pixmap);
}

void CardPicture::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

// A click is a press and a release of the left button on the same card.
void CardPicture::mouseReleaseEvent(QMouseEvent* event) {
  bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

void CardPicture::mouseMoveEvent(QMouseEvent*) {
  emit hovered();
}

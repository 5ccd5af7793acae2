#pragma once

#include <QString>
#include <QWidget>

class PictureCache;

// One card place: a card face, a card back, or nothing.
class CardPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CardPicture(PictureCache& cache, QWidget* parent = nullptr);

  void SetPicture(const QString& name);
  QString PictureName() const { return name_; }
  // Whether the place shows a card: it has a picture, and its file is
  // there.
  bool ShowsCard() const;

 signals:
  void clicked();
  void hovered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  PictureCache& cache_;
  QString name_;
  bool pressed_ = false;
};

// Short texts that rise from a captured pile with the points a take won:
// "+3", or "Tesva! +30" larger. A see-through layer over the table that
// takes no clicks; each text lives about a second. A screen reader hears
// the same words from the layer, a status element.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <vector>

class QTimer;

class AnnouncementLayer : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLifeMs = 1000;
  static constexpr int kFrameMs = 16;

  explicit AnnouncementLayer(QWidget* parent);

  // A text rising from `origin` (the middle of the top edge of a pile),
  // `scale` times its size at 100 %.
  void Announce(const QString& text, QPoint origin, bool tesva, double scale = 1.0);
  // The texts on show now, oldest first.
  std::vector<QString> Texts() const;
  // Where each of them is drawn now, in the layer's own coordinates.
  std::vector<QRect> Places() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Rising {
    QString text;
    QPoint origin;
    bool tesva;
    double scale;
    qint64 born;  // ms on clock_
  };
  QRect PlaceOf(const Rising& rising, qint64 now) const;
  QFont FontOf(const Rising& rising) const;
  void Step();

  std::vector<Rising> texts_;
  QElapsedTimer clock_;
  QTimer* frames_;
  QRect painted_;
};

#pragma once

#include <QColor>
#include <QWidget>

// The green (or navy, or black) cloth everything lies on. Mouse moves that
// reach it are moves over the table's background.
class TableSurface : public QWidget {
  Q_OBJECT
 public:
  explicit TableSurface(QWidget* parent = nullptr);
  void SetColor(const QColor& color);

 signals:
  void moved();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_;
};

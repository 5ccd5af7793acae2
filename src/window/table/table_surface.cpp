#include "window/table/table_surface.h"

#include <QPaintEvent>
#include <QPainter>

#include "shell/main_window.h"
#include "window/table/table_units.h"

TableSurface::TableSurface(QWidget* parent) : QWidget(parent), color_(ToColor(tesva::kGreen)) {
  setMouseTracking(true);
  // The cloth paints every pixel itself; nothing needs clearing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TableSurface::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TableSurface::mouseMoveEvent(QMouseEvent*) {
  emit moved();
}

void TableSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), color_);
}

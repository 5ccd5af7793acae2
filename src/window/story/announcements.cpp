#include "window/story/announcements.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <algorithm>

#include "shell/main_window.h"
#include "window/table/table_elements.h"

namespace {

constexpr int kRisePixels = 36;  // at 100 %

}  // namespace

AnnouncementLayer::AnnouncementLayer(QWidget* parent) : QWidget(parent), frames_(new QTimer(this)) {
  setObjectName(QStringLiteral("announcements"));
  // Clicks and moves go to the table under the texts.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(parent->rect());
  setAccessibleName(QString());
  frames_->setInterval(kFrameMs);
  connect(frames_, &QTimer::timeout, this, &AnnouncementLayer::Step);
  clock_.start();
}

void AnnouncementLayer::Announce(const QString& text, QPoint origin, bool tesva, double scale) {
  texts_.push_back({text, origin, tesva, scale, clock_.elapsed()});
  show();
  raise();
  if (!frames_->isActive()) frames_->start();
  // The words reach a screen reader as the status element's new name.
  setAccessibleName(text);
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
  Step();
}

std::vector<QString> AnnouncementLayer::Texts() const {
  std::vector<QString> texts;
  for (const Rising& rising : texts_) texts.push_back(rising.text);
  return texts;
}

std::vector<QRect> AnnouncementLayer::Places() const {
  std::vector<QRect> places;
  for (const Rising& rising : texts_) places.push_back(PlaceOf(rising, clock_.elapsed()));
  return places;
}

QFont AnnouncementLayer::FontOf(const Rising& rising) const {
  QFont font = WindowFont();
  font.setBold(true);
  font.setPointSizeF((rising.tesva ? 14.0 : 11.0) * rising.scale);
  return font;
}

// The text rises and fades; its box stays centred above the pile.
QRect AnnouncementLayer::PlaceOf(const Rising& rising, qint64 now) const {
  QFontMetrics metrics(FontOf(rising));
  QSize size = metrics.size(0, rising.text) + QSize(8, 4) * rising.scale;
  double age = std::clamp(static_cast<double>(now - rising.born) / kLifeMs, 0.0, 1.0);
  int rise = static_cast<int>(kRisePixels * rising.scale * age);
  QRect box(QPoint(0, 0), size);
  box.moveCenter(rising.origin - QPoint(0, rise + size.height() / 2));
  // A text wider than its pile stays whole inside the table: the piles
  // lie at its left edge.
  if (box.left() < 0) box.moveLeft(0);
  if (box.right() > width() - 1) box.moveRight(width() - 1);
  if (box.top() < 0) box.moveTop(0);
  return box;
}

void AnnouncementLayer::Step() {
  qint64 now = clock_.elapsed();
  std::erase_if(texts_, [now](const Rising& rising) { return now - rising.born >= kLifeMs; });
  QRect area;
  for (const Rising& rising : texts_) area |= PlaceOf(rising, now);
  // Only where texts were and are now is painted again.
  update(area | painted_);
  painted_ = area;
  if (texts_.empty()) {
    frames_->stop();
    hide();
  }
}

void AnnouncementLayer::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  qint64 now = clock_.elapsed();
  for (const Rising& rising : texts_) {
    double age = static_cast<double>(now - rising.born) / kLifeMs;
    // Full strength for the first 60 %, then fading out.
    painter.setOpacity(std::clamp((1.0 - age) / 0.4, 0.0, 1.0));
    QRect box = PlaceOf(rising, now);
    QFont font = FontOf(rising);
    QPainterPath path;
    QFontMetrics metrics(font);
    path.addText(box.left() + (box.width() - metrics.horizontalAdvance(rising.text)) / 2.0,
                 box.top() + (box.height() + metrics.ascent() - metrics.descent()) / 2.0, font,
                 rising.text);
    // A dark edge keeps the text readable on every cloth and card.
    painter.strokePath(path, QPen(QColor(0, 0, 0, 200), 3 * rising.scale));
    painter.fillPath(path, rising.tesva ? ToColor(tesva::kPink) : QColor(Qt::white));
  }
}

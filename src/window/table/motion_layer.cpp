#include "window/table/motion_layer.h"

#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>

#include "window/pictures/picture_cache.h"
#include "window/table/table_elements.h"

MotionLayer::MotionLayer(PictureCache& pictures, QWidget* parent)
    : QWidget(parent), pictures_(pictures), animation_(new QVariantAnimation(this)) {
  // Clicks and mouse moves go to the table under the flying cards.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  animation_->setStartValue(0.0);
  animation_->setEndValue(1.0);
  connect(animation_, &QVariantAnimation::valueChanged, this, &MotionLayer::Repaint);
  connect(animation_, &QVariantAnimation::finished, this, &MotionLayer::NextStep);
}

void MotionLayer::Add(MotionPlan plan) {
  if (plan.snap) FinishAll();
  if (plan.steps.empty()) return;
  queue_.push_back(std::move(plan));
  if (queue_.size() == 1) {
    step_ = 0;
    hurried_ = false;
    show();
    StartStep();
    return;
  }
  // A third movement: the first ends at once, the second goes on hurried.
  if (queue_.size() > 2) {
    landed_ += queue_.front().steps.size() - step_;
    queue_.pop_front();
    step_ = 0;
    StartStep();
  }
  Hurry();
}

void MotionLayer::FinishAll() {
  if (queue_.empty()) return;
  animation_->stop();
  landed_ += StepsLeft();
  queue_.clear();
  step_ = 0;
  hide();
  emit showingChanged();
}

const TablePictures* MotionLayer::Showing() const {
  return queue_.empty() ? nullptr : &queue_.front().steps[step_].shown;
}

const TableCaptions* MotionLayer::ShowingCaptions() const {
  return queue_.empty() ? nullptr : &queue_.front().steps[step_].captions;
}

std::uint64_t MotionLayer::StepsLeft() const {
  std::uint64_t left = 0;
  for (const MotionPlan& plan : queue_) left += plan.steps.size();
  return left - step_;
}

std::vector<MotionLayer::Sprite> MotionLayer::Sprites() const {
  std::vector<Sprite> sprites;
  if (queue_.empty()) return sprites;
  double at = animation_->currentValue().toDouble();
  for (const Flight& flight : queue_.front().steps[step_].flights) {
    QRect from = ToPixels(PlaceOf(flight.from)), to = ToPixels(PlaceOf(flight.to));
    QPointF way = QPointF(to.topLeft() - from.topLeft()) * at;
    sprites.push_back({QString::fromStdString(flight.Shown()), from.translated(way.toPoint())});
  }
  return sprites;
}

void MotionLayer::StartStep() {
  animation_->stop();
  animation_->setStartValue(0.0);
  animation_->setDuration(hurried_ ? kHurriedStepMs : kStepMs);
  animation_->setEasingCurve(QEasingCurve::OutCubic);
  animation_->start();
  emit showingChanged();
  Repaint();
}

void MotionLayer::NextStep() {
  ++landed_;
  if (++step_ < queue_.front().steps.size()) {
    StartStep();
    return;
  }
  queue_.pop_front();
  step_ = 0;
  hurried_ = false;
  if (queue_.empty()) {
    hide();
    emit showingChanged();
    return;
  }
  StartStep();
}

// The step under way finishes its way in a hurried step's time at most,
// and its remaining steps are hurried too.
void MotionLayer::Hurry() {
  if (hurried_) return;
  hurried_ = true;
  double at = animation_->currentValue().toDouble();
  animation_->stop();
  animation_->setStartValue(at);
  animation_->setDuration(std::max(1, static_cast<int>(kHurriedStepMs * (1 - at))));
  animation_->setEasingCurve(QEasingCurve::Linear);
  animation_->start();
}

// Only where the sprites were and are now is painted again.
void MotionLayer::Repaint() {
  QRect now;
  for (const Sprite& sprite : Sprites()) now |= sprite.place;
  update(painted_ | now);
  painted_ = now;
}

void MotionLayer::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const Sprite& sprite : Sprites()) {
    painter.drawPixmap(sprite.place.topLeft(),
                       pictures_.Picture(sprite.picture, sprite.place.size(), devicePixelRatioF()));
  }
}

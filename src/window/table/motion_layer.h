// The cards in flight: a see-through layer over the table that slides the
// cards of each movement from place to place, one step after the other.
// The game has already moved on when a movement starts; the layer only
// shows the way there, and the places of the table show meanwhile what the
// movement's step says.
#pragma once

#include <QWidget>
#include <cstdint>
#include <deque>

#include "window/table_motion.h"

class PictureCache;
class QVariantAnimation;

class MotionLayer : public QWidget {
  Q_OBJECT

 public:
  // How long one step slides, and how long once the next movement waits:
  // the table never falls more than one move behind the game.
  static constexpr int kStepMs = 200;
  static constexpr int kHurriedStepMs = 80;

  MotionLayer(PictureCache& pictures, QWidget* parent);

  // Shows `plan` after the movements already under way. A plan that snaps
  // ends them first.
  void Add(MotionPlan plan);
  // Ends every movement at once: the table shows the game.
  void FinishAll();
  bool Moving() const { return !queue_.empty(); }
  // What the table's places show now; null while nothing moves.
  const TablePictures* Showing() const;
  // What the captions show now; null while nothing moves.
  const TableCaptions* ShowingCaptions() const;
  // Steps landed (or ended at once) since the layer was made, and the
  // steps still to land: what waits for a card to land waits until
  // Landed() reaches Landed() + StepsLeft() of the moment it was planned.
  std::uint64_t Landed() const { return landed_; }
  std::uint64_t StepsLeft() const;
  // The cards sliding now, and where each one is.
  struct Sprite {
    QString picture;
    QRect place;
  };
  std::vector<Sprite> Sprites() const;

 signals:
  // The places show other pictures: a step began or the movements ended.
  void showingChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void StartStep();
  void NextStep();
  void Hurry();
  void Repaint();

  PictureCache& pictures_;
  QVariantAnimation* animation_;
  std::deque<MotionPlan> queue_;  // the first one is under way
  std::size_t step_ = 0;
  std::uint64_t landed_ = 0;
  bool hurried_ = false;
  QRect painted_;  // where the sprites were last painted
};

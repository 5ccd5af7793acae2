#pragma once

#include <QLabel>
#include <QRect>

#include "shell/main_window.h"

// A caption of the table. Labels that fit their text grow and shrink around
// their place: a centred label stays centred on it, a right-aligned one
// keeps its right edge, any other its left edge.
class TableLabel : public QLabel {
  Q_OBJECT
 public:
  enum class Fit { kPlace, kText };
  TableLabel(const tesva::Place& place, Qt::Alignment alignment, Fit fit,
             QWidget* parent = nullptr);

  // The whole caption; the label shows it cut with "…" after the last word
  // that fits when it is wider than its room, and the tooltip and a screen
  // reader then have it whole.
  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }
  // The width the text may take, at most the label's own.
  void SetRoom(int pixels);
  // Takes its place again at the table's size and fits its text anew.
  void Relayout();

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FitToText();
  void ShowText();

  tesva::Place twips_;
  QRect place_;
  Fit fit_;
  QString caption_;
  int room_ = 0;  // 0: the label's own width
};

// `text` cut after its last whole word that fits `width` with "…"; a text
// without a blank that fits is cut anywhere.
QString ElideAtWord(const QFontMetrics& metrics, const QString& text, int width);

// The hint's mark: the hover frame's shape in a colour of its own.
#pragma once

#include <QWidget>

class HintFrame : public QWidget {
 public:
  explicit HintFrame(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

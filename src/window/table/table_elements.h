// The small widgets the table is made of: card pictures, labels, the hover
// frame and the table itself. They only draw what the window gives them and
// report clicks and mouse moves; the game decides everything.
#pragma once

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QRect>
#include <QWidget>

#include "shell/main_window.h"

class PictureCache;

// The game measures in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
// The table's size factor, 1 at 100 %. The program shows one table, so the
// factor is the program's: every place is its 100 % pixel place times it,
// so that a 150 % table is the 100 % one enlarged, edge for edge.
void SetTableScale(double scale);
double TableScale();
// Twips to pixels of the table at its size.
QRect ToPixels(const tesva::Place& place);
int ToPixels(int twips);
// Twips to pixels of the table at `scale`, whatever the table's size now.
int ToPixelsAt(int twips, double scale);
// A length in pixels of the 100 % table at the table's size.
int Scaled(int pixels);
// A colour value of the game: red + 256 * green + 65536 * blue.
QColor ToColor(int value);
// A font of the first of `families` that is installed, else Qt's nearest
// sans font of that size.
QFont SansFont(const QStringList& families, qreal pointSize);
// The game's own font: "MS Sans Serif" 8.25 pt, or the nearest sans font
// of that size where it is not installed.
QFont WindowFont();
// The window's font at the table's size: the table's captions and panels.
QFont TableFont();

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

// A card of the human's hand: to the keyboard and to a screen reader a
// button that plays the card, as a click does. Tab and the arrow keys reach
// it, Space or Return asks to play it, and a mark on the card shows the
// focus while the window says the keyboard is in use.
class HandCard : public CardPicture {
  Q_OBJECT
 public:
  HandCard(PictureCache& cache, int index, QWidget* parent = nullptr);

  int Index() const { return index_; }
  // Plays the card, as a click does, when it can be played: a screen
  // reader's press comes here.
  void Press();
  // Whether the focused card shows the keyboard's mark.
  void ShowKeyboardMark(bool shown);
  bool KeyboardMarkShown() const { return markShown_ && hasFocus(); }

 signals:
  // Left (-1) or Right (+1): the focus goes to the next playable card.
  void focusStep(int step);
  void focusTaken(Qt::FocusReason reason);
  // Tab or Backtab, whether or not the focus can move on.
  void tabPressed();
  // Space or Return on the card.
  void keyPlay();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  int index_;
  bool markShown_ = false;
};

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

// The edges of the cards under a pile's top card, drawn beside it as a real
// pile shows them: one thin edge for every few cards, so that one card
// alone and a thick pile are told apart at a glance.
class PileEdges : public QWidget {
  Q_OBJECT
 public:
  explicit PileEdges(QWidget* parent = nullptr);
  // The most edges drawn, and the cards each edge stands for.
  static constexpr int kMaxEdges = 7;
  static constexpr int kCardsPerEdge = 5;
  // The edges a pile of `cards` shows: none for one card, one for 2 to 6,
  // one more for every five more, at most kMaxEdges (a whole deck's edges
  // still fit beside it in the window).
  static int EdgesFor(int cards);

  // Lies under the top card at `card` and shows the edges of `cards`.
  void Follow(const QRect& card, int cards);
  int Edges() const { return edges_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int Step() const;
  QSize card_;
  int edges_ = 0;
};

// The frame that marks the hand card under the mouse: the size of a card
// and one pixel more.
class HoverFrame : public QWidget {
  Q_OBJECT
 public:
  explicit HoverFrame(QWidget* parent = nullptr);
  // A card's size and one pixel more, at the table's size.
  void FitCard();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

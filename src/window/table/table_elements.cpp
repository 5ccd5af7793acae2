#include "window/table/table_elements.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "window/pictures/picture_cache.h"

namespace {

double tableScale = 1.0;

}  // namespace

void SetTableScale(double scale) {
  tableScale = scale;
}

double TableScale() {
  return tableScale;
}

int Scaled(int pixels) {
  return static_cast<int>(std::lround(pixels * tableScale));
}

int ToPixelsAt(int twips, double scale) {
  auto pixels = std::lround(static_cast<double>(twips) / kTwipsPerPixel);
  return static_cast<int>(std::lround(static_cast<double>(pixels) * scale));
}

int ToPixels(int twips) {
  return ToPixelsAt(twips, tableScale);
}

QRect ToPixels(const tesva::Place& place) {
  return {ToPixels(place.left), ToPixels(place.top), ToPixels(place.width), ToPixels(place.height)};
}

QColor ToColor(int value) {
  return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
}

QFont SansFont(const QStringList& families, qreal pointSize) {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  // The first installed family of the list is drawn.
  font.setFamilies(families);
  font.setPointSizeF(pointSize);
  return font;
}

QFont WindowFont() {
  return SansFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("Arial")},
                  8.25);
}

QFont TableFont() {
  QFont font = WindowFont();
  font.setPointSizeF(font.pointSizeF() * tableScale);
  return font;
}

// --- TableSurface ------------------------------------------------------------

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

// --- CardPicture -------------------------------------------------------------

CardPicture::CardPicture(PictureCache& cache, QWidget* parent) : QWidget(parent), cache_(cache) {}

void CardPicture::SetPicture(const QString& name) {
  if (name == name_) return;
  name_ = name;
  update();
}

// Asked after every event: the file is looked for once, and the pictures
// being read ahead at start-up are not waited for (reading them here had
// the window wait for them before its first drawing).
bool CardPicture::ShowsCard() const {
  return !isHidden() && cache_.Exists(name_);
}

void CardPicture::paintEvent(QPaintEvent*) {
  // Looked up at every paint so that a move to a denser screen stays sharp.
  QPixmap pixmap = cache_.Picture(name_, size(), devicePixelRatioF());
  if (pixmap.isNull()) return;  // an empty place
  QPainter painter(this);
  painter.drawPixmap(0, 0, pixmap);
}

void CardPicture::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

// A click is a press and a release of the left button on the same card.
void CardPicture::mouseReleaseEvent(QMouseEvent* event) {
  bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

void CardPicture::mouseMoveEvent(QMouseEvent*) {
  emit hovered();
}

// --- HandCard ----------------------------------------------------------------

namespace {

// A hand card as a screen reader sees it: a button, focusable, disabled
// while it is not the player's turn, whose press plays the card.
class HandCardAccessible : public QAccessibleWidget {
 public:
  explicit HandCardAccessible(HandCard* card) : QAccessibleWidget(card, QAccessible::Button) {}

  QStringList actionNames() const override {
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction()) {
      Card()->Press();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }
  // The key that plays the card from anywhere in the window.
  QStringList keyBindingsForAction(const QString& action) const override {
    if (action == pressAction()) return {QString::number(Card()->Index())};
    return QAccessibleWidget::keyBindingsForAction(action);
  }

 private:
  HandCard* Card() const { return static_cast<HandCard*>(widget()); }
};

QAccessibleInterface* HandCardInterface(const QString& className, QObject* object) {
  if (className != QLatin1String(HandCard::staticMetaObject.className())) return nullptr;
  return new HandCardAccessible(static_cast<HandCard*>(object));
}

}  // namespace

HandCard::HandCard(PictureCache& cache, int index, QWidget* parent)
    : CardPicture(cache, parent), index_(index) {
  static const bool installed = (QAccessible::installFactory(HandCardInterface), true);
  (void)installed;
  // Only the keyboard gives a card the focus: a click plays it at once.
  setFocusPolicy(Qt::TabFocus);
}

void HandCard::Press() {
  if (isEnabled()) emit clicked();
}

void HandCard::ShowKeyboardMark(bool shown) {
  if (markShown_ == shown) return;
  markShown_ = shown;
  if (hasFocus()) update();
}

// Tab is taken by the focus chain before keyPressEvent; it tells the window
// the keyboard is in use even when no other card can take the focus.
bool HandCard::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) emit tabPressed();
  }
  return CardPicture::event(event);
}

void HandCard::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit keyPlay();
      break;
    case Qt::Key_Left:
      emit focusStep(-1);
      break;
    case Qt::Key_Right:
      emit focusStep(+1);
      break;
    default:
      CardPicture::keyPressEvent(event);  // the window's keys, 1 to 4 among them
  }
}

void HandCard::focusInEvent(QFocusEvent* event) {
  CardPicture::focusInEvent(event);
  emit focusTaken(event->reason());
}

// The focus mark: a line in the palette's highlight colour just inside the
// card's edge, over the card's own picture. It shows while the keyboard is
// in use (the window decides); a place whose card is still on its way from
// the deck shows none yet.
void HandCard::paintEvent(QPaintEvent* event) {
  CardPicture::paintEvent(event);
  if (!KeyboardMarkShown()) return;
  if (PictureName().isEmpty()) return;
  QPainter painter(this);
  double width = 3 * TableScale();
  QPen pen(palette().color(QPalette::Active, QPalette::Highlight), width);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  double inset = width / 2;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

// --- TableLabel --------------------------------------------------------------

TableLabel::TableLabel(const tesva::Place& place, Qt::Alignment alignment, Fit fit, QWidget* parent)
    : QLabel(parent), twips_(place), place_(ToPixels(place)), fit_(fit) {
  setAlignment(alignment | Qt::AlignVCenter);
  setGeometry(place_);
  // A move over a caption is not a move over the table's background.
  setAttribute(Qt::WA_NoMousePropagation);
}

void TableLabel::SetCaption(const QString& caption) {
  caption_ = caption;
  if (fit_ == Fit::kText) {
    setText(caption);
    FitToText();
  }
  ShowText();
}

void TableLabel::SetRoom(int pixels) {
  if (room_ == pixels) return;
  room_ = pixels;
  ShowText();
}

void TableLabel::Relayout() {
  place_ = ToPixels(twips_);
  setGeometry(place_);
  if (fit_ == Fit::kText) {
    setText(caption_);
    FitToText();
  }
  ShowText();
}

void TableLabel::ShowText() {
  // A label sized to its text has room for it unless given less.
  int own = fit_ == Fit::kText ? std::numeric_limits<int>::max() : contentsRect().width();
  int room = std::min(room_ > 0 ? room_ - 2 * frameWidth() : own, own) - 2 * margin();
  QString shown = fontMetrics().horizontalAdvance(caption_) <= room
                      ? caption_
                      : ElideAtWord(fontMetrics(), caption_, room);
  if (text() != shown) setText(shown);
  QString whole = shown == caption_ ? QString() : caption_;
  if (toolTip() != whole) setToolTip(whole);
  if (accessibleName() != caption_) setAccessibleName(caption_);
}

QString ElideAtWord(const QFontMetrics& metrics, const QString& text, int width) {
  const QString ellipsis = QStringLiteral("…");
  if (metrics.horizontalAdvance(text) <= width) return text;
  for (qsizetype end = text.lastIndexOf(u' '); end > 0; end = text.lastIndexOf(u' ', end - 1)) {
    QString head = text.left(end);
    while (head.endsWith(u' ') || head.endsWith(u'-')) head.chop(1);
    if (!head.trimmed().isEmpty() && metrics.horizontalAdvance(head + ellipsis) <= width) {
      return head + ellipsis;
    }
  }
  return metrics.elidedText(text, Qt::ElideRight, width);
}

void TableLabel::FitToText() {
  QSize text = sizeHint();
  int left = place_.left();
  if (alignment() & Qt::AlignHCenter) left += (place_.width() - text.width()) / 2;
  if (alignment() & Qt::AlignRight) left += place_.width() - text.width();
  setGeometry(left, place_.top(), text.width(), text.height());
}

void TableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

// --- PileEdges ---------------------------------------------------------------

PileEdges::PileEdges(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

int PileEdges::EdgesFor(int cards) {
  if (cards <= 1) return 0;
  return std::min(kMaxEdges, 1 + (cards - 2) / kCardsPerEdge);
}

// Two pixels an edge on a card 64 pixels wide, more on larger cards.
int PileEdges::Step() const {
  return std::max(1, card_.width() / 32);
}

void PileEdges::Follow(const QRect& card, int cards) {
  int edges = EdgesFor(cards);
  if (edges == edges_ && card.size() == card_ && pos() == card.topLeft()) return;
  edges_ = edges;
  card_ = card.size();
  setGeometry(QRect(card.topLeft(), card.size() + QSize(kMaxEdges * Step(), 0)));
  setVisible(edges_ > 0);
  update();
}

// Back to front: the lowest card's edge lies farthest to the right.
void PileEdges::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(96, 96, 96), 1));
  painter.setBrush(QColor(246, 246, 240));
  qreal radius = card_.width() / 14.0;
  for (int edge = edges_; edge >= 1; --edge) {
    QRectF place(edge * Step(), 0, card_.width(), card_.height());
    painter.drawRoundedRect(place.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  }
}

// --- HoverFrame --------------------------------------------------------------

HoverFrame::HoverFrame(QWidget* parent) : QWidget(parent) {
  // The card under the frame takes the clicks and moves, not the frame.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  FitCard();
}

void HoverFrame::FitCard() {
  resize(ToPixels(tesva::kCardWidth) + 1, ToPixels(tesva::kCardHeight) + 1);
}

void HoverFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  double width = 2 * TableScale();
  QPen pen(ToColor(tesva::kFrameColour), width);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  // The line lies inside the frame's own rectangle.
  double inset = width / 2;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

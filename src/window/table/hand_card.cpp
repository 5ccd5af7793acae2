#include "window/table/hand_card.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

#include "window/table/table_units.h"

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

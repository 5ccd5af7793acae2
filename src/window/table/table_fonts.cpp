#include "window/table/table_fonts.h"

#include "window/table/table_units.h"

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
  font.setPointSizeF(font.pointSizeF() * TableScale());
  return font;
}

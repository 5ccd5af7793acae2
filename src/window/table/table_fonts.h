// The fonts the window and the table draw their text in.
#pragma once

#include <QFont>
#include <QStringList>

// A font of the first of `families` that is installed, else Qt's nearest
// sans font of that size.
QFont SansFont(const QStringList& families, qreal pointSize);
// The game's own font: "MS Sans Serif" 8.25 pt, or the nearest sans font
// of that size where it is not installed.
QFont WindowFont();
// The window's font at the table's size: the table's captions and panels.
QFont TableFont();

// The game's icon, for the desktop's menus and docks and for the window: the plain card back
// with the ace of hearts fanned over it, drawn from the deck of the card faces.
#pragma once

#include <QList>
#include <QString>

namespace datagen {

// Writes the icon named `name` into `iconsDir` in the layout of an icon theme: the scalable
// scalable/apps/NAME.svg, and NxN/apps/NAME.png rendered from it for every N in `sizes`.
// Returns an empty string on success, otherwise what went wrong.
QString writeIcon(const QString& facesDeck, const QString& iconsDir, const QString& name,
                  const QList<int>& sizes);

}  // namespace datagen

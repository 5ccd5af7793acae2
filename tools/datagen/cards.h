// The card pictures of the "Data" folder: 52 faces and two backs.
#pragma once

#include <QString>

namespace datagen {

// Pictures are drawn at twice the 64 x 104 card place so they stay sharp on dense screens.
inline constexpr int kCardWidth = 128;
inline constexpr int kCardHeight = 208;

// Draws the faces and the standard back from `facesDeck` (the KDE "svg-standard" deck) and the
// coloured back from `backsDeck` ("svg-nicu-white") into `outDir` as PNG data in ".grf" files.
// Returns an empty string on success, otherwise what went wrong.
QString writeCardPictures(const QString& facesDeck, const QString& backsDeck,
                          const QString& outDir);

}  // namespace datagen

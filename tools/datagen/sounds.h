// The game's sounds: short clips synthesised here so the build needs no recordings.
#pragma once

#include <QString>

namespace datagen {

inline constexpr int kSampleRate = 44100;

// Writes Card.voi, Tesva.voi, Laugh.voi, Lose.voi and With.voi into `outDir`.
// Returns an empty string on success, otherwise what went wrong.
QString writeSounds(const QString& outDir);

}  // namespace datagen

// The table's units: twips, pixels at the table's size, the game's colours.
#pragma once

#include <QColor>
#include <QRect>

#include "shell/main_window.h"

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

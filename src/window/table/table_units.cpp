#include "window/table/table_units.h"

#include <cmath>

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

// The units of the layout tables at a dpi: twips and points to pixels, and
// each control's rectangle, as the binding places and draws the controls.
// Portable, so a window's layout can be computed at any dpi without a screen.
#pragma once

#include "controls/form.h"

namespace zefta {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;
// The dpi of 100 %, at which the pixel sizes written in the binders hold.
inline constexpr int kStandardDpi = 96;

// value * numerator / denominator, rounded to the nearest, halves away from
// zero (as the system's MulDiv).
int ScaleRounded(int value, int numerator, int denominator);
inline int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }
inline int PixelsToTwips(int pixels, int dpi) { return ScaleRounded(pixels, kTwipsPerInch, dpi); }
// The em of a font of that many points.
inline int PointsToPixels(int points, int dpi) { return ScaleRounded(points, dpi, kPointsPerInch); }
// A length drawn in pixels at 100 %, at dpi.
inline int ScalePixels(int pixels, int dpi) { return ScaleRounded(pixels, dpi, kStandardDpi); }

struct PixelRect {
  int left, top, right, bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// The row's rectangle in its parent's client area. Each edge is rounded from
// its own twips, so controls that meet in twips meet in pixels and a control
// inside another stays inside it.
PixelRect PlaceAt(const ControlLayout& row, int dpi);
PixelRect ClientAt(const FormLayout& layout, int dpi);

}  // namespace zefta

// Screen geometry: twips (1440 per inch) to pixels by the screen's DPI and back.
#pragma once

namespace zefta::win32 {

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
// Points of a font to the height in pixels that CreateFont takes (negative: the em).
int PointsToFontHeight(int points);

}  // namespace zefta::win32

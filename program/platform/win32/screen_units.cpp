#include "platform/win32/screen_units.h"

#include <windows.h>

namespace zefta::win32 {

namespace {

int ScreenDpi(int index) {
  static int dpi[2] = {0, 0};
  int& cached = dpi[index == LOGPIXELSX ? 0 : 1];
  if (cached == 0) {
    HDC dc = GetDC(nullptr);
    cached = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    if (cached <= 0) cached = 96;
  }
  return cached;
}

}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpi(LOGPIXELSX), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpi(LOGPIXELSY), 1440); }
int PixelsToTwipsX(int pixels) { return MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSX)); }
int PixelsToTwipsY(int pixels) { return MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSY)); }
int PointsToFontHeight(int points) { return -MulDiv(points, ScreenDpi(LOGPIXELSY), 72); }

}  // namespace zefta::win32

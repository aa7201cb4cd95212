#include "platform/win32/support/screen_units.h"

#include "controls/twips.h"

namespace zefta::win32 {

namespace {

// A function of user32 by name, or nullptr on a system before it.
template <typename Function>
Function* User32Function(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFunction = UINT WINAPI(HWND);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kStandardDpi;
}

int DpiOfWindow(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int ScreenPixelsToTwips(int pixels) { return PixelsToTwips(pixels, SystemDpi()); }
int TwipsToScreenPixels(int twips) { return TwipsToPixels(twips, SystemDpi()); }

void AdjustWindowRectAtDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, menu, exStyle);
}

int SystemMetricAtDpi(int index, int dpi) {
  static const auto metricForDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  return metricForDpi ? metricForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace zefta::win32

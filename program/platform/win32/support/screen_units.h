// Dpi on the screen: the system's, for screen coordinates and the screen's
// size in twips, and each window's own, from the monitor it is on, for what
// it draws. The per-monitor functions of user32 are looked up when first
// used; a system without them draws every window at the system's dpi.
#pragma once

#include <windows.h>

namespace zefta::win32 {

int SystemDpi();
int DpiOfWindow(HWND window);

// Screen coordinates and sizes, to twips and back.
int ScreenPixelsToTwips(int pixels);
int TwipsToScreenPixels(int twips);

// WM_GETDPISCALEDSIZE, which the headers declare only for newer systems.
inline constexpr UINT kWmGetDpiScaledSize = 0x02E4;

// AdjustWindowRectEx and GetSystemMetrics at a dpi.
void AdjustWindowRectAtDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
int SystemMetricAtDpi(int index, int dpi);

}  // namespace zefta::win32

// A form's window laid out at a dpi: its size for the client area of the
// layout, its font and icons, and every control from its twips. The same
// steps run when the window is built and whenever its dpi changes, so a
// window moved to a monitor of another dpi and back is as it was.
#include <algorithm>
#include <tuple>

#include "platform/win32/binders/control_binder.h"
#include "platform/win32/window/form_window.h"
#include "platform/win32/binders/menu_binder.h"

namespace zefta::win32 {

void FormWindow::LayOut(int dpi) {
  dpi_ = dpi;
  fonts_.SetDpi(dpi);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.OfSize(layout_.fontPoints)), FALSE);
  ShowIcons();
  FitClientArea();
  for (auto& binder : binders_) binder->LayOut(dpi, fonts_);
}

SIZE FormWindow::OuterSizeAt(int dpi) const {
  const PixelRect client = ClientAt(layout_, dpi);
  RECT outer{0, 0, client.right, client.bottom};
  AdjustWindowRectAtDpi(outer, style_, menus_->Bar() != nullptr, exStyle_, dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void FormWindow::FitClientArea() {
  const SIZE outer = OuterSizeAt(dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The menu bar may take more than the one line that the outer size counts.
  RECT client, window;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window);
  const PixelRect wanted = ClientAt(layout_, dpi_);
  const int dx = wanted.Width() - (client.right - client.left);
  const int dy = wanted.Height() - (client.bottom - client.top);
  if (dx != 0 || dy != 0)
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window takes the size of its layout at its dpi also where that is
// larger than the screen (a small screen at 200 %), which the system would
// otherwise shrink it to, cutting off the controls at the bottom.
void FormWindow::AllowLayoutSize(MINMAXINFO& info) const {
  RECT window, client;
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  const PixelRect wanted = ClientAt(layout_, dpi_);
  info.ptMaxTrackSize.x = std::max(info.ptMaxTrackSize.x, window.right - window.left - client.right + wanted.right);
  info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, window.bottom - window.top - client.bottom + wanted.bottom);
}

// The caption's and the task switcher's icons, drawn from the resource at
// the sizes of the window's dpi rather than shrunk or stretched from another.
void FormWindow::ShowIcons() {
  const auto load = [this](int metric) {
    const int side = SystemMetricAtDpi(metric, dpi_);
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, side, side, 0));
  };
  for (auto [kind, metric, held] : {std::tuple{ICON_BIG, SM_CXICON, &bigIcon_}, {ICON_SMALL, SM_CXSMICON, &smallIcon_}}) {
    HICON icon = load(metric);
    if (!icon) continue;
    SendMessageW(hwnd_, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    if (*held) DestroyIcon(*held);
    *held = icon;
  }
}

void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(dpi);
  TakePlaceFromWindow();
}

}  // namespace zefta::win32

#include <windows.h>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/message_box.h"
#include "platform/win32/support/text.h"
#include "platform/win32/window/message_loop.h"

namespace zefta::win32 {

void Win32MessageBoxes::Show(WindowHandle owner, std::u16string_view text, std::u16string_view title,
                             MessageIcon icon) {
  ShowMessageBox(reinterpret_cast<HWND>(owner), text, title, icon);
}

void Win32Desktop::DoEvents() {
  // A run lets the events run after every entry, and most entries take well
  // under a millisecond, while asking for messages costs tens of
  // microseconds under Wine: 30,000 entries spent more than a second there.
  // Pending events run at most once a frame (16 ms) instead, which no one
  // at the keyboard can tell from after every entry; Windows' tick count
  // moves in steps of about that size anyway, Wine's every millisecond.
  constexpr ULONGLONG kInterval = 16;
  static ULONGLONG last = 0;
  const ULONGLONG now = GetTickCount64();
  if (now - last < kInterval) return;
  last = now;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchOne(message);
  }
}

void Win32Desktop::BringToFront(WindowHandle window) {
  const HWND hwnd = reinterpret_cast<HWND>(window);
  if (!hwnd) return;
  BringWindowToTop(hwnd);
  SetForegroundWindow(hwnd);
}

void Win32Desktop::Beep() { MessageBeep(MB_OK); }

void Win32Desktop::SetPointer(WindowHandle window, Pointer pointer) {
  SetCurrentPointer(pointer);
  SetCursor(LoadCursorW(nullptr, pointer == Pointer::Hourglass ? IDC_WAIT : IDC_ARROW));
  (void)window;
}

WindowHandle Win32Desktop::FindWindowByTitle(std::u16string_view title) {
  const std::string ansi = ToAnsi(title);
  return reinterpret_cast<WindowHandle>(FindWindowA(nullptr, ansi.c_str()));
}

void Win32Desktop::EndProgram() { ExitProcess(0); }

}  // namespace zefta::win32

#include "platform/win32/support/message_box.h"

#include <string>

#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {
Pointer g_pointer = Pointer::Default;
}  // namespace

Pointer CurrentPointer() { return g_pointer; }
void SetCurrentPointer(Pointer pointer) { g_pointer = pointer; }

void ShowMessageBox(HWND owner, std::u16string_view text, std::u16string_view title, MessageIcon icon) {
  const UINT style = MB_OK | (icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  // While the box is up the pointer is the arrow, whatever a run shows.
  const Pointer saved = g_pointer;
  g_pointer = Pointer::Default;
  MessageBoxW(owner, W(std::u16string(text)), W(std::u16string(title)), style);
  g_pointer = saved;
}

}  // namespace zefta::win32

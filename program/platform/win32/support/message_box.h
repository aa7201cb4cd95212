// The pointer shape the program's windows show, and the one way a message
// box is shown: over its owner, with the arrow while it is up.
#pragma once

#include <windows.h>

#include <string_view>

#include "services/services.h"

namespace zefta::win32 {

// Set by the desktop service; read by WM_SETCURSOR handling.
Pointer CurrentPointer();
void SetCurrentPointer(Pointer pointer);

// A modal box with one OK button.
void ShowMessageBox(HWND owner, std::u16string_view text, std::u16string_view title, MessageIcon icon);

}  // namespace zefta::win32

// The message loop's one step, as every loop of the program takes it (the
// main loop, the modal loops, the events a run lets run): the keyboard
// handling of the program's windows first, then the usual translation and
// dispatch.
#pragma once

#include <windows.h>

namespace zefta::win32 {

// Hook of the message pump: returns true when it handled the message itself
// (accelerators, dialog navigation). Set by the window binding.
using PreTranslateHook = bool (*)(MSG& message);
void SetPreTranslateHook(PreTranslateHook hook);
// Translates and dispatches one message through the hook.
void DispatchOne(MSG& message);

}  // namespace zefta::win32

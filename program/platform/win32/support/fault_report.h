// A C++ exception must never unwind through the system's frames. Every
// window procedure, subclass procedure and drop-target call of the program
// runs its work through CatchFault, which stops what was thrown there and
// reports it: one line for the developer (the debugger's output and the log
// file), and one message box for the user saying that the action did not
// finish. The program then goes on with the next message.
#pragma once

#include <windows.h>

#include <string>

namespace zefta::win32 {

// Reports the exception being handled; call it only inside a catch block.
// where says what ran (a window procedure, a drop), message the window
// message it ran for (0 for none). While a fault box is up, and for a second
// after it closes, a further fault is logged without a box of its own, so a
// fault that recurs on every repaint cannot bury the user in boxes.
void ReportCurrentFault(HWND window, const char* where, UINT message) noexcept;

// Runs work; true when it finished, false when it threw (then reported).
template <typename Work>
bool CatchFault(HWND window, const char* where, UINT message, Work&& work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    ReportCurrentFault(window, where, message);
    return false;
  }
}

// zefta.log in the folder ZEFTA of the user's application data; empty when
// the system names no such folder.
std::wstring FaultLogPath();

}  // namespace zefta::win32

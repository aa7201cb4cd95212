// Starting a program with a show state and a priority class.
#include "kestrum.h"
#include "kestrum_internal.h"

extern "C" HANDLE __cdecl CreateProc_(const char* path, int show, int priority) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process = {};
  // The path is the application name as given: no search, no default extension.
  if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, kestrum::PriorityClassFor(priority),
                      nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  // Only the process handle is handed out; the thread handle would leak.
  CloseHandle(process.hThread);
  WaitForInputIdle(process.hProcess, 10000);
  return process.hProcess;
}

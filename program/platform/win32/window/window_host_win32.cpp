#include "platform/win32/window/window_host_win32.h"

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/win32/support/fault_report.h"
#include "platform/win32/window/form_window.h"
#include "platform/win32/window/message_loop.h"

namespace zefta::win32 {

namespace {

// The modal loop: until the form is unloaded or its window is gone.
void RunModal(const FormWindow& window, const bool& unloaded) {
  MSG message;
  while (!unloaded && window.Handle() && IsWindow(window.Handle())) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // Leave the quit request for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    DispatchOne(message);
  }
}

}  // namespace

void Win32WindowHost::ShowModal(Form& form, Form& owner) {
  HWND ownerWindow = reinterpret_cast<HWND>(owner.Handle());
  bool unloaded = false;
  // The form's own onUnload comes back however this ends, a window that could
  // not be built included.
  struct Restore {
    Form& form;
    std::function<void()> saved;
    ~Restore() { form.onUnload = std::move(saved); }
  } restore{form, std::move(form.onUnload)};
  form.onUnload = [&unloaded] { unloaded = true; };
  {
    FormWindow window(form, ownerWindow, false);
    // A window whose Load failed (reported at once) is not shown half filled.
    if (!CatchFault(ownerWindow, "loading a window", 0, [&] { form.Load(); })) unloaded = true;
    if (!unloaded && window.Handle()) {
      window.ApplyLayoutChanges();
      if (ownerWindow) EnableWindow(ownerWindow, FALSE);
      window.Show(SW_SHOWNORMAL);
      RunModal(window, unloaded);
      // The owner takes the activation back before this window goes away.
      if (ownerWindow) {
        EnableWindow(ownerWindow, TRUE);
        SetActiveWindow(ownerWindow);
      }
    }
  }
}

bool Win32WindowHost::WaitFor(Form& progress, Form& owner, const std::function<bool()>& working) {
  constexpr DWORD kShowAfter = 500, kAskEvery = 100;
  const HWND ownerWindow = reinterpret_cast<HWND>(owner.Handle());
  bool closed = false;
  struct Restore {
    Form& form;
    HWND owner;
    std::function<void()> saved;
    ~Restore() {
      form.onUnload = std::move(saved);
      if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
      }
    }
  } restore{progress, ownerWindow, std::move(progress.onUnload)};
  progress.onUnload = [&closed] { closed = true; };
  if (ownerWindow) EnableWindow(ownerWindow, FALSE);
  std::unique_ptr<FormWindow> window;
  const ULONGLONG start = GetTickCount64();
  while (working()) {
    if (closed) return false;
    if (!window && GetTickCount64() - start >= kShowAfter) {
      window = std::make_unique<FormWindow>(progress, ownerWindow, false);
      if (!CatchFault(ownerWindow, "loading a window", 0, [&] { progress.Load(); })) return false;
      window->ApplyLayoutChanges();
      window->Show(SW_SHOWNORMAL);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kAskEvery, QS_ALLINPUT);
    MSG message;
    while (!closed && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Leave the quit request for the main loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
      }
      // Before the window shows, Esc anywhere in the program stops the work.
      if (!window && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return false;
      DispatchOne(message);
    }
  }
  return !closed;
}

int Win32WindowHost::ScreenWidth() { return ScreenPixelsToTwips(GetSystemMetrics(SM_CXSCREEN)); }
int Win32WindowHost::ScreenHeight() { return ScreenPixelsToTwips(GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace zefta::win32

// Entry point of ZEFTA.EXE: creates the main window and runs the event loop.
#include <windows.h>

#include "platform/win32/services_win32.h"

namespace {

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ZEFTA";
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, L"ZEFTA", L"SORVEL", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              CW_USEDEFAULT, CW_USEDEFAULT, 425, 430, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) zefta::win32::DispatchOne(message);
  return 0;
}

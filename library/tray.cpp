// Tray icons in the task bar's notification area.
#include "kestrum.h"
#include "kestrum_internal.h"

namespace {

BOOL Notify(DWORD action, HWND window, UINT id, UINT message, HICON icon, const char* tip) {
  NOTIFYICONDATAA record;
  kestrum::FillTrayRecord(&record, window, id, message, icon, tip);
  return Shell_NotifyIconA(action, &record);
}

}  // namespace

extern "C" {

int __cdecl TrayStateChange_(HWND window, UINT message, UINT id, HICON icon, const char* tip) {
  return Notify(NIM_MODIFY, window, id, message, icon, tip);
}

// Adding fails harmlessly when the icon exists; the modify step then sets it.
int __cdecl TrayNotifyAdd_(HWND window, UINT message, UINT id, HICON icon, const char* tip) {
  Notify(NIM_ADD, window, id, message, nullptr, "");
  return TrayStateChange_(window, message, id, icon, tip);
}

int __cdecl TrayNotifyChange_(HWND window, UINT message, UINT id, HICON icon, const char* tip) {
  return TrayNotifyAdd_(window, message, id, icon, tip);
}

int __cdecl TrayNotifyDelete_(HWND window, UINT id) {
  return Notify(NIM_DELETE, window, id, 0, nullptr, "");
}

}  // extern "C"

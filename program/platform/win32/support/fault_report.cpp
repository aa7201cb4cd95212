#include "platform/win32/support/fault_report.h"


#include <exception>

#include "modules/messages.h"
#include "platform/win32/support/app_data.h"
#include "platform/win32/support/message_box.h"
#include "platform/win32/support/text.h"
#include "services/services.h"
#include "versions.h"

namespace zefta::win32 {

namespace {

// A box is up, or closed less than kQuietAfterBox ago.
bool g_boxUp = false;
ULONGLONG g_boxClosedAt = 0;
constexpr ULONGLONG kQuietAfterBox = 1000;

// What was thrown, in a few words; no allocation, as the fault may be a
// failed one. The system's formatting, not the runtime's printf, which
// would bring its floating-point formatting into the program.
void DescribeCurrentException(char* text, int size) {
  try {
    throw;
  } catch (const std::exception& fault) {
    lstrcpynA(text, fault.what(), size);
  } catch (const PlatformError& fault) {
    wsprintfA(text, "platform error %d", fault.code);
  } catch (...) {
    lstrcpynA(text, "an exception of unknown type", size);
  }
}

void AppendToLog(const char* line) {
  const std::wstring path = FaultLogPath();
  if (path.empty()) return;
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::char_traits<char>::length(line)), &written, nullptr);
  CloseHandle(file);
}

void ShowFaultBox(HWND window) {
  if (g_boxUp || (g_boxClosedAt != 0 && GetTickCount64() - g_boxClosedAt < kQuietAfterBox)) return;
  g_boxUp = true;
  HWND owner = window && IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
  ShowMessageBox(owner, kActionNotFinishedText, MessageTitle(), MessageIcon::Exclamation);
  g_boxUp = false;
  g_boxClosedAt = GetTickCount64();
}

}  // namespace

std::wstring FaultLogPath() {
  const std::u16string folder = AppDataFolder();
  if (folder.empty()) return L"";
  return W(folder) + std::wstring(L"\\zefta.log");
}

void ReportCurrentFault(HWND window, const char* where, UINT message) noexcept {
  char what[512];
  DescribeCurrentException(what, sizeof what);
  SYSTEMTIME now;
  GetLocalTime(&now);
  // The window's class, and a control's id, which names its row of the layout.
  char windowClass[64] = "";
  if (window) GetClassNameA(window, windowClass, sizeof windowClass);
  const bool control = window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
  char line[1025];  // as long as wsprintfA writes at most
  wsprintfA(line, "%04u-%02u-%02u %02u:%02u:%02u ZEFTA %s: %s, message 0x%04X, window %s %d: %s\r\n",
            now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, ZEFTA_VERSION_TEXT, where, message,
            windowClass, control ? GetDlgCtrlID(window) : 0, what);
  OutputDebugStringA(line);
  try {
    AppendToLog(line);
    ShowFaultBox(window);
  } catch (...) {
    // Nothing is left to tell anyone with; the line above went to the debugger.
    g_boxUp = false;
  }
}

}  // namespace zefta::win32

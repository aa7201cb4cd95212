#include "driving.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "fakes.h"
#include "forms/main_window.h"

namespace e2e {

std::wstring g_exe, g_root, g_shots;
int g_failures = 0;

void Check(bool ok, const std::string& what, const std::wstring& detail) {
  char bytes[8192] = {};
  WideCharToMultiByte(CP_UTF8, 0, detail.c_str(), -1, bytes, sizeof(bytes) - 1, nullptr, nullptr);
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), *bytes ? ": " : "", bytes);
  std::fflush(stdout);
  g_failures += !ok;
}

void CheckEqual(const std::wstring& actual, const std::wstring& expected, const std::string& what) {
  Check(actual == expected, what, actual == expected ? actual : L"got \"" + actual + L"\", want \"" + expected + L"\"");
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
    if (GetTickCount() - start > milliseconds) return false;
  return true;
}

const zefta::FormLayout& MainLayout() {
  static zefta::testing::FakePlatform fakes;
  static zefta::MainWindow window(fakes.services);
  static const zefta::FormLayout layout = window.Layout();
  return layout;
}
HWND MainControl(HWND main, const char* name) { return GetDlgItem(main, zefta::ControlId(MainLayout(), name)); }
HWND FrameControl(HWND main, const char* name) {
  return GetDlgItem(MainControl(main, "Frame"), zefta::ControlId(MainLayout(), name));
}
HWND ShownList(HWND window) {
  HWND list = nullptr;
  while ((list = FindWindowExW(window, list, L"ListBox", nullptr)) && !IsWindowVisible(list)) {}
  return list;
}

HWND WaitForWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD milliseconds) {
  HWND w = nullptr;
  WaitFor([&] {
    DWORD owner = 0;
    while ((w = FindWindowExW(nullptr, w, className, title)) && (GetWindowThreadProcessId(w, &owner), owner != pid || !IsWindowVisible(w))) {}
    return w != nullptr;
  }, milliseconds);
  return w;
}

std::wstring Join(const std::vector<std::wstring>& items) {
  std::wstring joined;
  for (const auto& item : items) joined += (joined.empty() ? L"" : L", ") + item;
  return joined;
}

std::vector<std::wstring> ListTexts(HWND list) {
  std::vector<std::wstring> texts;
  for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    texts.push_back(text);
  }
  return texts;
}

std::vector<std::wstring> WalkOrder(const std::wstring& top) {
  std::vector<std::wstring> paths;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((top + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return paths;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    paths.push_back(top + L"\\" + name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const std::vector<std::wstring> below = WalkOrder(paths.back());
      paths.insert(paths.end(), below.begin(), below.end());
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return paths;
}

bool ListCountIs(HWND list, LRESULT count) {
  return WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == count; });
}

std::wstring NamesOnDisk(const std::wstring& folder, bool capitals) {
  std::vector<std::wstring> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
    names.push_back(entry.path().filename());
    if (capitals) CharUpperBuffW(names.back().data(), static_cast<DWORD>(names.back().size()));
  }
  std::sort(names.begin(), names.end());
  return Join(names);
}

Program::Program(const std::vector<std::pair<std::wstring, std::wstring>>& settings, const std::wstring& arguments,
                 const std::wstring& exe) {
  if (!settings.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsSection);
  for (const auto& [name, value] : settings)
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsSection, name.c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  // Wine may still be tearing down an instance that has just ended.
  bool started = false;
  for (int attempt = 0; attempt < 5 && !started; ++attempt, Sleep(started ? 0 : 500))
    started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             exe.substr(0, exe.find_last_of(L'\\')).c_str(), &startup, &info);
  Check(started, "ZEFTA.EXE starts", line + (started ? L"" : L" (error " + std::to_wstring(GetLastError()) + L")"));
}

Program::~Program() {
  if (main && !Ended(0)) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    Check(Ended(), "the program ends at the close box");
  }
  if (!Ended(0)) TerminateProcess(info.hProcess, 99);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}


std::wstring AnswerMessageBox(DWORD pid, DWORD timeout) {
  HWND dialog = WaitForWindow(pid, L"#32770", nullptr, timeout);
  if (!dialog) return L"";
  // The text is the first static control with text (the icon's has none).
  HWND label = nullptr;
  while ((label = FindWindowExW(dialog, label, L"Static", nullptr)) && GetWindowTextLengthW(label) == 0) {}
  wchar_t text[1024] = {};
  GetWindowTextW(label, text, 1024);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(dialog); });
  return text;
}

void ConvertEverything(Program& program) {
  HWND list = MainControl(program.main, "List");
  SendMessageW(list, LB_SETSEL, TRUE, -1);
  SendMessageW(program.main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  PostMessageW(MainControl(program.main, "ConversionStart"), BM_CLICK, 0, 0);
}

void PressCtrlZ(HWND window) {
  SetForegroundWindow(window);
  WaitFor([&] { return GetForegroundWindow() == window; }, 5000);
  for (const auto& [key, flags] : {std::pair<BYTE, DWORD>{VK_CONTROL, 0}, {'Z', 0}, {'Z', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}})
    keybd_event(key, 0, flags, 0);
}

}  // namespace e2e

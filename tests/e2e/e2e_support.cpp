#include "e2e_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

int g_failures = 0;

struct WindowSearch {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<WindowSearch*>(data);
  if (ProcessOf(hwnd) != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  if (s->className && ClassOf(hwnd) != s->className) return TRUE;
  if (s->title) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    if (std::wstring(text) != s->title) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

BOOL CALLBACK PrintWindowOf(HWND hwnd, LPARAM pid) {
  if (pid && ProcessOf(hwnd) != static_cast<DWORD>(pid)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  std::printf("  window class %s, title \"%s\", %s\n", Utf8(ClassOf(hwnd)).c_str(), Utf8(text).c_str(),
              IsWindowVisible(hwnd) ? "visible" : "hidden");
  return TRUE;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(std::max(size, 1)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

void Check(bool ok, const char* what, const std::wstring& detail) {
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what, detail.empty() ? "" : ": ", Utf8(detail).c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

void CheckEqual(const std::wstring& actual, const std::wstring& expected, const char* what) {
  Check(actual == expected, what, actual == expected ? actual : L"got \"" + actual + L"\", want \"" + expected + L"\"");
}

int Failures() { return g_failures; }

int Verdict() {
  std::printf("%s: %d failure(s)\n", g_failures == 0 ? "PASSED" : "FAILED", g_failures);
  std::fflush(stdout);
  return g_failures == 0 ? 0 : 1;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(50);
  }
}

Process::~Process() {
  if (!started) return;
  if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}

bool Process::Ended(DWORD milliseconds) const {
  return WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  return code;
}

bool Start(Process& process, const std::wstring& exe, const std::wstring& arguments,
           const std::vector<std::wstring>& environment) {
  std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  std::wstring directory = exe.substr(0, exe.find_last_of(L'\\'));
  // The driver's environment with the given variables replaced.
  std::vector<std::wstring> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) variables.emplace_back(p);
    FreeEnvironmentStringsW(block);
  }
  auto nameOf = [](const std::wstring& v) { return v.substr(0, v.find(L'=', 1)); };
  for (const std::wstring& change : environment) {
    variables.erase(std::remove_if(variables.begin(), variables.end(),
                                   [&](const std::wstring& v) {
                                     return _wcsicmp(nameOf(v).c_str(), nameOf(change).c_str()) == 0;
                                   }),
                    variables.end());
    variables.push_back(change);
  }
  std::wstring block;
  for (const std::wstring& v : variables) block += v + L'\0';
  block += L'\0';
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  process.started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                   block.data(), directory.c_str(), &startup, &process.info) != FALSE;
  return process.started;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &ignored);
  return buffer;
}

HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* title) {
  WindowSearch search{pid, className, title, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void DescribeWindows(DWORD pid) {
  std::printf("top-level windows of process %lu:\n", static_cast<unsigned long>(pid));
  EnumWindows(&PrintWindowOf, static_cast<LPARAM>(pid));
}

HWND WaitForMainWindow(const Process& process, DWORD milliseconds) {
  HWND main = nullptr;
  Check(WaitFor([&] { return (main = FindTopLevel(process.Id(), nullptr, L"SORVEL")) != nullptr; }, milliseconds),
        "the main window titled SORVEL appears");
  if (!main) {
    DescribeWindows(process.Id());
    DescribeWindows(0);
    if (process.Ended(0)) std::printf("ZEFTA.EXE ended with exit code %lu\n", process.ExitCode());
  }
  return main;
}

std::vector<std::wstring> ListTexts(HWND list) {
  std::vector<std::wstring> texts;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    texts.push_back(text);
  }
  return texts;
}

std::wstring Join(const std::vector<std::wstring>& items) {
  std::wstring joined;
  for (const auto& item : items) joined += (joined.empty() ? L"" : L", ") + item;
  return joined;
}

bool SaveScreenshot(HWND hwnd, const std::wstring& path) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize), 0,
                        0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  bool ok = false;
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
         WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
         WriteFile(out, bits, imageSize, &written, nullptr);
    CloseHandle(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

MessageBoxSeen AnswerMessageBox(DWORD pid, DWORD timeout, const std::wstring& screenshot) {
  MessageBoxSeen box;
  HWND dialog = nullptr;
  if (!WaitFor([&] { return (dialog = FindTopLevel(pid, L"#32770")) != nullptr; }, timeout)) return box;
  box.seen = true;
  box.title = TextOf(dialog);
  // The text is the static control that has text (the icon's has none).
  HWND button = nullptr;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring kind = ClassOf(child);
    if (_wcsicmp(kind.c_str(), L"Static") == 0 && box.text.empty()) box.text = TextOf(child);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) button = child;
  }
  if (!screenshot.empty()) {
    // A box just shown may not have painted its text yet.
    WaitFor([&] { return TextOf(dialog) == box.title; }, 2000);
    Sleep(500);
    SaveScreenshot(dialog, screenshot);
  }
  if (button) PostMessageW(button, BM_CLICK, 0, 0);
  else PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(dialog); }, 10000);
  return box;
}

std::vector<std::wstring> NamesOnDisk(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring Setting(const wchar_t* key) {
  wchar_t buffer[512] = {};
  DWORD bytes = sizeof(buffer);
  if (RegGetValueW(HKEY_CURRENT_USER, kSection, key, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

bool SectionExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void StoreSettings(const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  for (const auto& [name, value] : values)
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void PressKeys(std::vector<WORD> modifiers, WORD key) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD m : modifiers) add(m, false);
  add(key, false);
  add(key, true);
  std::reverse(modifiers.begin(), modifiers.end());
  for (WORD m : modifiers) add(m, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool MakeForeground(HWND hwnd) {
  return WaitFor(
      [&] {
        SetForegroundWindow(hwnd);
        return GetForegroundWindow() == hwnd;
      },
      5000);
}

void PostClick(HWND hwnd, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

}  // namespace e2e

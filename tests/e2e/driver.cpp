// Drives the real ZEFTA.EXE under Wine the way a user would: select entries,
// press 変換開始, read and answer the message boxes, close the window; then
// checks the disk and the registry. It waits by polling, with time-outs.
//
// zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix>
// The folder holds abc.txt, Mixed.Txt, UPPER.TXT, keep.txt, .hidden.txt and sub\.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/control_ids.h"

namespace {

using zefta::win32::main_ids::kConversionStart;
using zefta::win32::main_ids::kList;

constexpr wchar_t kSection[] = L"Software\\VB and VBA Program Settings\\ZEFTA\\SYSTEM";
constexpr wchar_t kMessageTitle[] = L"SORVELからのお知らせ";

int g_failures = 0;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(std::max(size, 1)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

void Check(bool ok, const char* what, const std::wstring& detail = L"") {
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what, detail.empty() ? "" : ": ", Utf8(detail).c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

void CheckEqual(const std::wstring& actual, const std::wstring& expected, const char* what) {
  Check(actual == expected, what, actual == expected ? actual : L"got \"" + actual + L"\", want \"" + expected + L"\"");
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(50);
  }
}

struct Process {
  PROCESS_INFORMATION info{};
  bool started = false;
  ~Process() {
    if (!started) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  bool Ended(DWORD milliseconds) const { return WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
  }
};

bool Start(Process& process, const std::wstring& exe, const std::wstring& arguments) {
  std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  std::wstring directory = exe.substr(0, exe.find_last_of(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  process.started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                                   &startup, &process.info) != FALSE;
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

// The visible top-level window of the process with this class, or nullptr.
HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr) {
  WindowSearch search{pid, className, title, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK PrintWindowOf(HWND hwnd, LPARAM pid) {
  if (pid && ProcessOf(hwnd) != static_cast<DWORD>(pid)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  std::printf("  window class %s, title \"%s\", %s\n", Utf8(ClassOf(hwnd)).c_str(), Utf8(text).c_str(),
              IsWindowVisible(hwnd) ? "visible" : "hidden");
  return TRUE;
}

// What the program shows instead, for the failure report.
void DescribeWindows(DWORD pid) {
  std::printf("top-level windows of process %lu:\n", static_cast<unsigned long>(pid));
  EnumWindows(&PrintWindowOf, static_cast<LPARAM>(pid));
}

// Title and text of a message box, then its OK button pressed.
struct MessageBoxSeen {
  std::wstring title, text;
  bool seen = false;
};

MessageBoxSeen AnswerMessageBox(DWORD pid, DWORD timeout, const std::wstring& screenshot = L"");

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

// The window as it is on the screen, as a 24-bit BMP.
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

int Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& shots) {
  // The stored folder is the prepared one; everything else takes its default.
  RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExW(key, L"DRV", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);

  Process first;
  if (!Start(first, exe, L"")) {
    Check(false, "ZEFTA.EXE starts", exe);
    return 1;
  }
  HWND main = nullptr;
  Check(WaitFor([&] { return (main = FindTopLevel(first.info.dwProcessId, nullptr, L"SORVEL")) != nullptr; }, 60000),
        "the main window titled SORVEL appears");
  if (!main) {
    DescribeWindows(first.info.dwProcessId);
    DescribeWindows(0);
    if (first.Ended(0)) std::printf("ZEFTA.EXE ended with exit code %lu\n", first.ExitCode());
    return 1;
  }
  HWND list = GetDlgItem(main, kList);
  HWND start = GetDlgItem(main, kConversionStart);
  Check(list && start, "List and ConversionStart found by id");
  if (!list || !start) return 1;
  const std::vector<std::wstring> before{L"abc.txt", L"keep.txt", L"Mixed.Txt", L"UPPER.TXT"};
  Check(WaitFor([&] { return ListTexts(list) == before; }, 20000),
        "List shows the folder's files, sorted, without the hidden one and the folder", Join(ListTexts(list)));
  Check(IsWindowEnabled(start) != FALSE, "変換開始 is enabled");
  Check(SaveScreenshot(main, shots + L"-main-window.bmp"), "screenshot of the main window");

  // The About window, modal over the main window.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(zefta::win32::main_ids::kSMenuHelpVersion, 0), 0);
  HWND about = nullptr;
  Check(WaitFor([&] { return (about = FindTopLevel(first.info.dwProcessId, nullptr, L"バージョン情報")) != nullptr; },
                20000),
        "Ctrl+A's menu item shows the About window");
  if (about) {
    Check(!IsWindowEnabled(main), "the main window waits while About is shown");
    Sleep(300);
    Check(SaveScreenshot(about, shots + L"-about-window.bmp"), "screenshot of the About window");
    // Its OK button is the third control of its layout.
    PostMessageW(GetDlgItem(about, zefta::win32::kFirstControlId + 2), BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(main); }, 10000), "OK closes it");
  }

  // A second start while the first runs.
  {
    Process second;
    Check(Start(second, exe, L""), "a second instance starts");
    const MessageBoxSeen box = AnswerMessageBox(second.info.dwProcessId, 60000);
    Check(box.seen, "the second instance shows a message box");
    CheckEqual(box.title, kMessageTitle, "its title");
    CheckEqual(box.text, L"すでに起動されているので終了します。", "its text");
    Check(second.Ended(20000), "the second instance ends after the answer");
  }

  // Select three entries, as the list box reports a user's selection.
  const std::vector<std::wstring> wanted{L"abc.txt", L"Mixed.Txt", L"UPPER.TXT"};
  const std::vector<std::wstring> shown = ListTexts(list);
  for (std::size_t i = 0; i < shown.size(); ++i)
    if (std::find(wanted.begin(), wanted.end(), shown[i]) != wanted.end())
      SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  Check(SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 3, "three entries selected");

  // The button press; the run ends with the completion message.
  PostMessageW(start, BM_CLICK, 0, 0);
  const MessageBoxSeen done = AnswerMessageBox(first.info.dwProcessId, 30000, shots + L"-completion-message.bmp");
  Check(done.seen, "the completion message appears");
  CheckEqual(done.title, kMessageTitle, "its title");
  CheckEqual(done.text, L"3ファイル中、2ファイルを変換しました。", "its text");

  const std::vector<std::wstring> expectedDisk{L".hidden.txt", L"ABC.TXT", L"MIXED.TXT", L"UPPER.TXT", L"keep.txt", L"sub"};
  CheckEqual(Join(NamesOnDisk(folder)), Join(expectedDisk), "names on disk");
  const std::vector<std::wstring> after{L"ABC.TXT", L"keep.txt", L"MIXED.TXT", L"UPPER.TXT"};
  Check(WaitFor([&] { return ListTexts(list) == after && SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 0; }, 10000),
        "List refreshed with the new names and no selection", Join(ListTexts(list)));

  // Closing saves the seven settings and ends the program.
  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(first.Ended(20000), "the program ends at the close box");
  const std::wstring drive = Setting(L"DRV");
  Check(_wcsicmp(drive.c_str(), folder.c_str()) == 0, "DRV is the folder shown", drive);
  const std::pair<const wchar_t*, const wchar_t*> values[] = {
      {L"STTPOS", L"1"}, {L"MSG", L"1"}, {L"MARK", L"0"}, {L"DIR", L"0"}, {L"SMALL", L"0"}, {L"EXT", L"0"}};
  for (const auto& [name, value] : values) CheckEqual(Setting(name), value, Utf8(name).c_str());

  // "/clear" deletes the section and shows nothing.
  {
    Process clear;
    Check(Start(clear, exe, L"/clear"), "ZEFTA.EXE /clear starts");
    Check(clear.Ended(30000), "/clear ends by itself");
    Check(!SectionExists(), "/clear deleted the settings section");
  }
  return g_failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: zefta_e2e <ZEFTA.EXE> <folder> <screenshot prefix>\n");
    return 2;
  }
  const int result = Run(argv[1], argv[2], argv[3]);
  std::printf("%s: %d failure(s)\n", result == 0 ? "PASSED" : "FAILED", g_failures);
  return result;
}

// Helpers shared by the end-to-end drivers: checks printed as they go,
// polling waits, starting ZEFTA.EXE, finding its windows, reading and
// answering message boxes, screenshots, and the disk and registry afterwards.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

inline constexpr wchar_t kSection[] = L"Software\\VB and VBA Program Settings\\ZEFTA\\SYSTEM";
inline constexpr wchar_t kMessageTitle[] = L"SORVELからのお知らせ";

std::string Utf8(const std::wstring& text);
void Check(bool ok, const char* what, const std::wstring& detail = L"");
void CheckEqual(const std::wstring& actual, const std::wstring& expected, const char* what);
int Failures();
// Prints the verdict and gives the exit code.
int Verdict();

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds);

struct Process {
  PROCESS_INFORMATION info{};
  bool started = false;
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  DWORD Id() const { return info.dwProcessId; }
  bool Ended(DWORD milliseconds) const;
  DWORD ExitCode() const;
};

// Starts the program in its own folder. Each of `environment` ("NAME=value")
// replaces or adds a variable of the driver's own environment.
bool Start(Process& process, const std::wstring& exe, const std::wstring& arguments,
           const std::vector<std::wstring>& environment = {});

DWORD ProcessOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);
// The visible top-level window of the process with this class and title
// (either may be nullptr), or nullptr.
HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);
// Waits for the main window "SORVEL" of the process; reports what it shows instead.
HWND WaitForMainWindow(const Process& process, DWORD milliseconds = 60000);
void DescribeWindows(DWORD pid);

std::vector<std::wstring> ListTexts(HWND list);
std::wstring Join(const std::vector<std::wstring>& items);

// The window as it is on the screen, as a 24-bit BMP.
bool SaveScreenshot(HWND hwnd, const std::wstring& path);

// Title and text of a message box, then its OK button pressed.
struct MessageBoxSeen {
  std::wstring title, text;
  bool seen = false;
};
MessageBoxSeen AnswerMessageBox(DWORD pid, DWORD timeout, const std::wstring& screenshot = L"");

// Names in a folder (not . and ..), sorted by code unit.
std::vector<std::wstring> NamesOnDisk(const std::wstring& folder);

// The settings section: a value, "<missing>" when absent.
std::wstring Setting(const wchar_t* key);
bool SectionExists();
// Replaces the section with these values.
void StoreSettings(const std::vector<std::pair<std::wstring, std::wstring>>& values);

// A key pressed and released with the given modifiers held, through the
// system's input queue, at the foreground window.
void PressKeys(std::vector<WORD> modifiers, WORD key);
bool MakeForeground(HWND hwnd);

// A click at a point of a window's client area, posted to it.
void PostClick(HWND hwnd, int x, int y);

}  // namespace e2e

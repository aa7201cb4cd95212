// What every end-to-end scenario uses: checks that print their outcome, the
// program started with its settings and closed again, its windows and
// message boxes found and answered, the names a folder holds.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/form.h"

namespace e2e {

// From the command line: ZEFTA.EXE, the prepared folder, the screenshot prefix.
extern std::wstring g_exe, g_root, g_shots;
extern int g_failures;

void Check(bool ok, const std::string& what, const std::wstring& detail = L"");
void CheckEqual(const std::wstring& actual, const std::wstring& expected, const std::string& what);
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 20000);

// The ids of the main window's controls and menu items from its own layout,
// built on the fakes.
const zefta::FormLayout& MainLayout();
HWND MainControl(HWND main, const char* name);
HWND FrameControl(HWND main, const char* name);
// The list of the conversion list window in use (it has two, one shown).
HWND ShownList(HWND window);

// Waits for a visible top-level window of the process with this class and
// title (either may be left open); nullptr when none came in time.
HWND WaitForWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD milliseconds = 20000);

std::wstring Join(const std::vector<std::wstring>& items);
std::vector<std::wstring> ListTexts(HWND list);
// Every entry below top as the walk meets it, depth-first pre-order: the
// rows of the conversion list window, which holds no text another program
// can read.
std::vector<std::wstring> WalkOrder(const std::wstring& top);
bool ListCountIs(HWND list, LRESULT count);
// As stored (or in capitals, what no change of letter case changes), sorted;
// none for a folder that is not there.
std::wstring NamesOnDisk(const std::wstring& folder, bool capitals = false);

inline constexpr wchar_t kSettingsSection[] = L"Software\\VB and VBA Program Settings\\ZEFTA\\SYSTEM";

// ZEFTA.EXE started in its own folder with these settings in place of those
// the registry holds (none given: those). When done it is closed at the close
// box, and must end then.
struct Program {
  PROCESS_INFORMATION info{};
  HWND main = nullptr;
  Program(const std::vector<std::pair<std::wstring, std::wstring>>& settings, const std::wstring& arguments = L"",
          const std::wstring& exe = g_exe);
  ~Program();
  DWORD Id() const { return info.dwProcessId; }
  bool Ended(DWORD milliseconds = 20000) const { return WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0; }
  HWND MainWindow() {
    Check((main = WaitForWindow(Id(), nullptr, L"SORVEL", 60000)) != nullptr, "the main window appears");
    return main;
  }
  void Command(const char* menuItem) const {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(zefta::MenuId(MainLayout(), menuItem), 0), 0);
  }
};

// Waits for a message box of the process, reads its text (empty if none came)
// and presses its button.
std::wstring AnswerMessageBox(DWORD pid, DWORD timeout = 30000);

// Every entry of List selected, then 変換開始.
void ConvertEverything(Program& program);
// Ctrl+Z as the keyboard gives it, to the main window in front.
void PressCtrlZ(HWND window);
// A text of the program's own (UTF-16 there as here).
inline std::wstring Text(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace e2e

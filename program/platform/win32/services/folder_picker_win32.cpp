#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "modules/get_folder.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// The longest path the system takes, in characters.
constexpr DWORD kLongestPath = 32767;

}  // namespace

// The wide functions: the ANSI ones would hand back a folder whose name lies
// outside the code page under a look-alike name, another folder or none.
std::u16string ShellFolderPicker::Browse(WindowHandle owner, std::u16string_view title) {
  const std::u16string titleText(title);
  // The shell writes up to MAX_PATH characters into both buffers; a spare one
  // keeps a NUL at the end whatever it writes.
  std::vector<wchar_t> displayName(MAX_PATH + 1, L'\0');
  std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
  BROWSEINFOW info{};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pszDisplayName = displayName.data();
  info.lpszTitle = W(titleText);
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  if (!chosen) return {};
  // A folder deeper than MAX_PATH comes back whole where the shell can say so.
  std::vector<wchar_t> longPath(kLongestPath + 1, L'\0');
  bool ok = SHGetPathFromIDListEx(chosen, longPath.data(), kLongestPath, GPFIDL_DEFAULT) != FALSE;
  if (ok) path.swap(longPath);
  else ok = SHGetPathFromIDListW(chosen, path.data()) != FALSE;
  CoTaskMemFree(chosen);
  if (!ok) return {};
  return std::u16string(CutAtNul(std::u16string_view(reinterpret_cast<const char16_t*>(path.data()), path.size())));
}

}  // namespace zefta::win32

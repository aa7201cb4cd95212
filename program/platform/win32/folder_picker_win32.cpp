#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "modules/get_folder.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

std::u16string ShellFolderPicker::Browse(WindowHandle owner, std::u16string_view title) {
  const std::string titleBytes = ToAnsi(title);
  // The shell writes up to MAX_PATH bytes into both buffers; a spare byte
  // keeps a NUL at the end whatever it writes.
  std::vector<char> displayName(MAX_PATH + 1, '\0');
  std::vector<char> path(MAX_PATH + 1, '\0');
  BROWSEINFOA info{};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pszDisplayName = displayName.data();
  info.lpszTitle = titleBytes.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return {};
  const bool ok = SHGetPathFromIDListA(chosen, path.data()) != FALSE;
  CoTaskMemFree(chosen);
  if (!ok) return {};
  return FromAnsi(CutAtNul(std::string_view(path.data(), path.size())));
}

}  // namespace zefta::win32

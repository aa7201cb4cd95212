#include "platform/win32/support/app_data.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/win32/support/text.h"

namespace zefta::win32 {

std::u16string AppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
    return u"";
  const std::u16string path = U(folder) + u"\\ZEFTA";
  CreateDirectoryW(W(path), nullptr);
  return path;
}

}  // namespace zefta::win32

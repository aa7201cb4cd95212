#include "platform/win32/support/whole_file.h"

#include <windows.h>

#include "platform/win32/support/text.h"

namespace zefta::win32 {

WholeFile ReadWholeFile(const std::u16string& path) {
  const HANDLE handle = CreateFileW(W(Extended(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? WholeFile::State::Missing : WholeFile::State::Unreadable, {}};
  }
  WholeFile file{WholeFile::State::Read, {}};
  char buffer[65536];
  for (DWORD got = 0;;) {
    if (!ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
      file = {WholeFile::State::Unreadable, {}};
      break;
    }
    if (got == 0) break;
    file.bytes.append(buffer, got);
  }
  CloseHandle(handle);
  return file;
}

}  // namespace zefta::win32

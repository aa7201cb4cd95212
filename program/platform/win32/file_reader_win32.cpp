#include <windows.h>

#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

std::optional<std::string> Win32FileReader::ReadAll(std::u16string_view path) {
  const std::u16string name(path);
  HANDLE file = CreateFileW(W(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char chunk[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof(chunk), &got, nullptr) != FALSE) && got > 0) content.append(chunk, got);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return content;
}

}  // namespace zefta::win32

#include <windows.h>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
}  // namespace

std::u16string ArgumentsAfterProgramName(std::u16string_view commandLine) {
  std::size_t i = 0;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  // As the runtime cuts the program name off: a quoted name ends at its
  // closing quote, any other at the first blank.
  if (i < commandLine.size() && commandLine[i] == u'"') {
    const std::size_t close = commandLine.find(u'"', i + 1);
    i = close == std::u16string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return std::u16string(commandLine.substr(i));
}

std::optional<std::u16string> Win32Environment::Variable(std::u16string_view name) {
  const std::u16string key(name);
  std::wstring buffer(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(W(key), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::u16string();
    }
    if (length < buffer.size()) return U(buffer.c_str(), length);
    buffer.assign(length + 1, L'\0');
  }
}

std::u16string Win32Environment::CommandLineArguments() {
  const wchar_t* line = GetCommandLineW();
  return ArgumentsAfterProgramName(line ? U(line) : std::u16string());
}

}  // namespace zefta::win32

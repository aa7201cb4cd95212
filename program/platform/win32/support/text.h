// Conversions between the program's text and the Win32 W and A functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zefta::win32 {

inline const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string U(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline std::u16string U(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

// Text to and from the system code page (Shift-JIS on the target machines).
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);

// A full path in its \\?\ form, as every file function gets it: any length,
// every name as stored (library/path_forms.h).
std::u16string Extended(std::u16string_view path);
// The same in the NT form a rename by handle takes.
std::wstring NtForm(std::u16string_view path);

// Equal when compared as the file system compares names, without regard to case.
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace zefta::win32

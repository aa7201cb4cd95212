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

}  // namespace zefta::win32

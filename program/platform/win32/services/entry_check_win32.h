// Whether an entry opened by its path is the entry of exactly that name, or
// something that name leads to (a link).
#pragma once

#include <windows.h>

#include <string_view>

namespace zefta::win32 {

// file: opened on path; attributes: its own, as the handle tells them.
bool IsTheEntryAsked(HANDLE file, std::u16string_view path, DWORD attributes);

}  // namespace zefta::win32

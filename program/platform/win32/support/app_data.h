// The program's folder in the user's application data, %APPDATA%\ZEFTA:
// the journal of renames and the log of faults.
#pragma once

#include <string>

namespace zefta::win32 {

// The folder, made when missing; empty when the system names no such place.
std::u16string AppDataFolder();

}  // namespace zefta::win32

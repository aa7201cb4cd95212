// Reading a whole file, a read error kept: never taken for all it holds.
#pragma once

#include <string>

#include "services/services.h"

namespace zefta::win32 {

WholeFile ReadWholeFile(const std::u16string& path);

}  // namespace zefta::win32

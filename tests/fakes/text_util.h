// UTF-16 to UTF-8, for readable failure output.
#pragma once

#include <string>
#include <string_view>

namespace zefta::testing {

std::string U8(std::u16string_view utf16);

}  // namespace zefta::testing

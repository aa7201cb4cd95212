// UTF-8 <-> UTF-16 for test sources and readable failure output.
#pragma once

#include <string>
#include <string_view>

namespace zefta::testing {

std::u16string U16(std::string_view utf8);
std::string U8(std::u16string_view utf16);

}  // namespace zefta::testing


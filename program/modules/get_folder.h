// Helpers of the folder picker.
#pragma once

#include <string_view>

namespace zefta {

// The part of text before its first NUL, or the whole text when it holds none.
// The shell fills fixed buffers and pads them with NULs.
std::u16string_view CutAtNul(std::u16string_view text);

}  // namespace zefta

// Letter-case mapping of a whole text at once, one UTF-16 unit to one.
#pragma once

#include <string>
#include <string_view>

namespace zefta {

enum class CaseDirection { Lower, Upper };

// Maps the whole text in one call. The result always has the length of the
// input: a mapping that would change the length leaves the text as it is.
// Characters without case pass unchanged.
std::u16string MapCase(std::u16string_view text, CaseDirection direction);

}  // namespace zefta

// Case mapping with the invariant locale of the system, one call for the whole text.
#include <windows.h>

#include "services/case_mapping.h"

namespace zefta {

std::u16string MapCase(std::u16string_view text, CaseDirection direction) {
  std::u16string result(text);
  if (text.empty() || text.size() > 0x7FFFFFFF) return result;
  const DWORD flags = direction == CaseDirection::Lower ? LCMAP_LOWERCASE : LCMAP_UPPERCASE;
  const int length = static_cast<int>(text.size());
  // Simple case mapping keeps one unit for one; anything else is refused so
  // that a rename can never change the length of a name.
  const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, reinterpret_cast<LPCWSTR>(text.data()), length,
                                    reinterpret_cast<LPWSTR>(result.data()), length, nullptr, nullptr, 0);
  if (written != length) return std::u16string(text);
  return result;
}

}  // namespace zefta

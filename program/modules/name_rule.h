// The name rule: which part of a name is converted, and whether it needs it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/case_mapping.h"

namespace zefta {

// The two options the rule depends on. Callers read them from the check boxes
// at every call, so a change made while a run yields applies to the next entry.
struct CaseOptions {
  bool lower = false;          // SmallCheck: lower case, else upper case
  bool extensionOnly = false;  // ExtCheck: only the characters after the last dot
};

// The rule converts at most this many characters after the last dot.
inline constexpr int kExtensionWindow = 5;

// 1-based position of the last "." in text, 0 when there is none.
std::int16_t FindLastDot(std::u16string_view text);

// The converted text. Its length is always that of the input; in
// extension-only mode everything up to and including the last dot is kept,
// and characters after the fifth of a longer extension are kept unchanged.
std::u16string ConvertName(std::u16string_view text, CaseOptions options);

// True when the part of text that the rule converts differs from its mapping.
// The rule reads a name as stored, a trailing dot or space included: the
// extension of "NOTES." is empty, so in extension-only mode it needs nothing,
// and as a whole it becomes "notes.".
bool NeedsConversion(std::u16string_view text, CaseOptions options);

}  // namespace zefta

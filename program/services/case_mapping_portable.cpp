// Case mapping for builds without the Windows locale functions (the host
// tests). It covers the scripts whose names the tests use: ASCII, Latin-1,
// Latin Extended-A, Greek, Cyrillic and full-width Latin, one unit to one,
// as the Windows invariant-locale mapping does for them.
#include "services/case_mapping.h"

namespace zefta {

namespace {

struct Range {
  char16_t upperFirst;
  char16_t upperLast;
  char16_t lowerFirst;
};

// Contiguous blocks whose lower-case letters follow at a fixed distance.
constexpr Range kBlocks[] = {
    {u'A', u'Z', u'a'},
    {0x00C0, 0x00D6, 0x00E0},
    {0x00D8, 0x00DE, 0x00F8},
    {0x0391, 0x03A1, 0x03B1},
    {0x03A3, 0x03AB, 0x03C3},
    {0x0410, 0x042F, 0x0430},
    {0x0400, 0x040F, 0x0450},
    {0xFF21, 0xFF3A, 0xFF41},
};

// Latin Extended-A: pairs of upper then lower, with the odd run 0139-0148
// and 0179-017E where the upper letter sits on the odd code.
bool IsExtAUpper(char16_t c) {
  if (c >= 0x0100 && c <= 0x0137) return c % 2 == 0;
  if (c >= 0x0139 && c <= 0x0148) return c % 2 == 1;
  if (c >= 0x014A && c <= 0x0177) return c % 2 == 0;
  if (c >= 0x0179 && c <= 0x017E) return c % 2 == 1;
  return false;
}

bool IsExtALower(char16_t c) {
  if (c >= 0x0101 && c <= 0x0137) return c % 2 == 1;
  if (c >= 0x013A && c <= 0x0148) return c % 2 == 0;
  if (c >= 0x014B && c <= 0x0177) return c % 2 == 1;
  if (c >= 0x017A && c <= 0x017E) return c % 2 == 0;
  return false;
}

char16_t ToLower(char16_t c) {
  for (const Range& r : kBlocks) {
    if (c >= r.upperFirst && c <= r.upperLast) return static_cast<char16_t>(c - r.upperFirst + r.lowerFirst);
  }
  if (IsExtAUpper(c)) return static_cast<char16_t>(c + 1);
  if (c == 0x0178) return 0x00FF;
  return c;
}

char16_t ToUpper(char16_t c) {
  for (const Range& r : kBlocks) {
    const char16_t lowerLast = static_cast<char16_t>(r.upperLast - r.upperFirst + r.lowerFirst);
    if (c >= r.lowerFirst && c <= lowerLast) return static_cast<char16_t>(c - r.lowerFirst + r.upperFirst);
  }
  if (IsExtALower(c)) return static_cast<char16_t>(c - 1);
  if (c == 0x00FF) return 0x0178;
  return c;
}

}  // namespace

std::u16string MapCase(std::u16string_view text, CaseDirection direction) {
  std::u16string result(text);
  for (char16_t& c : result) c = direction == CaseDirection::Lower ? ToLower(c) : ToUpper(c);
  return result;
}

}  // namespace zefta

#include "modules/name_rule.h"

#include <algorithm>

namespace zefta {

namespace {

CaseDirection DirectionOf(CaseOptions options) {
  return options.lower ? CaseDirection::Lower : CaseDirection::Upper;
}

// Start (0-based) and length of the part the rule looks at.
struct Span {
  std::size_t start;
  std::size_t length;
};

Span ExaminedPart(std::u16string_view text, CaseOptions options) {
  if (options.extensionOnly) {
    const int dot = FindLastDot(text);
    if (dot != 0) {
      const std::size_t start = static_cast<std::size_t>(dot);
      const std::size_t length = std::min<std::size_t>(kExtensionWindow, text.size() - start);
      return {start, length};
    }
  }
  return {0, text.size()};
}

}  // namespace

std::int16_t FindLastDot(std::u16string_view text) {
  // Positions are 16-bit; a dot beyond that range cannot be reported.
  const std::size_t limit = std::min<std::size_t>(text.size(), 32767);
  for (std::size_t i = limit; i > 0; --i) {
    if (text[i - 1] == u'.') return static_cast<std::int16_t>(i);
  }
  return 0;
}

std::u16string ConvertName(std::u16string_view text, CaseOptions options) {
  const Span part = ExaminedPart(text, options);
  std::u16string result(text);
  const std::u16string mapped = MapCase(text.substr(part.start, part.length), DirectionOf(options));
  result.replace(part.start, part.length, mapped);
  return result;
}

bool NeedsConversion(std::u16string_view text, CaseOptions options) {
  const Span part = ExaminedPart(text, options);
  const std::u16string_view examined = text.substr(part.start, part.length);
  return MapCase(examined, DirectionOf(options)) != examined;
}

}  // namespace zefta

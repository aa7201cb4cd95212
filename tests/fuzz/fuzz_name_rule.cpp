// The name rule on arbitrary text in all four option combinations.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "modules/name_rule.h"
#include "modules/paths.h"

using namespace zefta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zefta::fuzz::ByteReader in(data, size);
  const std::uint8_t flags = in.Byte();
  std::u16string text = zefta::fuzz::TextFromBytes(in.Rest(), flags & 4);
  // Positions are 16-bit: the rule is defined for texts up to 32767 characters.
  if (text.size() > 32767) text.resize(32767);

  const std::size_t lastDot = text.rfind(u'.');
  const int dot = FindLastDot(text);
  FUZZ_CHECK(dot == (lastDot == std::u16string::npos ? 0 : static_cast<int>(lastDot) + 1));

  for (int combination = 0; combination < 4; ++combination) {
    const CaseOptions options{(combination & 1) != 0, (combination & 2) != 0};
    const std::u16string converted = ConvertName(text, options);
    const bool needs = NeedsConversion(text, options);
    FUZZ_CHECK(converted.size() == text.size());

    const bool hasExtension = options.extensionOnly && dot != 0;
    if (hasExtension) {
      // Up to and including the last dot nothing changes, nor after the
      // fifth character of the extension.
      FUZZ_CHECK(converted.compare(0, dot, text, 0, dot) == 0);
      const std::size_t windowEnd = std::min<std::size_t>(text.size(), dot + kExtensionWindow);
      FUZZ_CHECK(converted.compare(windowEnd, std::u16string::npos, text, windowEnd) == 0);
    }
    // A name that needs converting is changed by the conversion; for
    // extensions within the window the two always agree.
    if (needs) FUZZ_CHECK(converted != text);
    const bool shortExtension = !hasExtension || text.size() - dot <= static_cast<std::size_t>(kExtensionWindow);
    if (shortExtension) FUZZ_CHECK(needs == (converted != text));
    // A converted name is final: a second run leaves it alone.
    FUZZ_CHECK(!NeedsConversion(converted, options));
    FUZZ_CHECK(ConvertName(converted, options) == converted);

    // A path splits into its folder part and an entry name without a separator.
    const PathParts parts = SplitPath(text);
    FUZZ_CHECK(std::u16string(parts.folder) + std::u16string(parts.name) == text);
    FUZZ_CHECK(parts.name.find_first_of(u"\\/") == std::u16string_view::npos);
  }
  return 0;
}

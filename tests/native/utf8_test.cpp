// The one UTF-8 codec: every well-formed text back exactly, nothing else.
#include <gtest/gtest.h>

#include "modules/utf8.h"

namespace zefta {
namespace {

TEST(Utf8, TakesWellFormedTextOnlyAndGivesItBackExactly) {
  const std::u16string text = u"A\u00E9\u65E5\uFFFF\U00010000\U0001F600\U0010FFFF";
  EXPECT_EQ(FromUtf8(*ToUtf8(text)), text);
  EXPECT_EQ(*ToUtf8(text),
            "A\xC3\xA9\xE6\x97\xA5\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
  for (const std::u16string lone : {u"\xDC00", u"A\xDC00", u"A\xD800"}) EXPECT_FALSE(ToUtf8(lone));
  std::string noCharacters;
  for (char32_t c : {char32_t(0x110000), char32_t(0xD800)}) AppendUtf8(noCharacters, c);
  EXPECT_EQ(noCharacters, "\xEF\xBF\xBD\xEF\xBF\xBD") << "never ill-formed bytes";
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97", "\x80", "\xF8"})
    EXPECT_FALSE(FromUtf8(bad)) << bad;
}

}  // namespace
}  // namespace zefta

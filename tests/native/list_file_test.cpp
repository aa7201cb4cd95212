// Reading the list file of the tree listing: every well-formed line gives its
// entry, every other line is skipped whole, and no name can lead elsewhere.
#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/get_folder.h"
#include "modules/list_file.h"
#include "modules/utf8.h"
#include "text_util.h"

namespace zefta {
namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

Records Read(std::string_view bytes) {
  Records out;
  for (const auto& r : ReadListFile(bytes)) out.emplace_back(*ToUtf8(r.directory), *ToUtf8(r.name));
  return out;
}

TEST(ListFile, WellFormedLinesGiveTheirEntries) {
  const std::pair<std::string, Records> cases[] = {
      {"", {}},
      {"\"C:\\DATA\", \"README.TXT\"\r\n\"C:\\DATA\\SUB\", \"b.txt\"\r\n", {{"C:\\DATA", "README.TXT"}, {"C:\\DATA\\SUB", "b.txt"}}},
      {"\"C:\\T\", \"A\"\r\n\"C:\\T\", \"B\"", {{"C:\\T", "A"}, {"C:\\T", "B"}}},  // the last line without its end
      {"\"C:\", \"X\"\r\n", {{"C:", "X"}}},
      {"  \"C:\\T\" ,\t\"A B.TXT\"\t \n", {{"C:\\T", "A B.TXT"}}},  // blanks around the fields, LF alone
      {"\"C:\\T\", \"a,b.txt\"\r\n", {{"C:\\T", "a,b.txt"}}},
      // Every name as stored, whether the code page holds it or not.
      {"\"C:\\データ\\Top 한\", \"Café.TXT\"\r\n\"C:\\T\", \"a¥b.TXT\"\r\n\"C:\\T\", \"😀ソ表.TXT\"\r\n",
       {{"C:\\データ\\Top 한", "Café.TXT"}, {"C:\\T", "a¥b.TXT"}, {"C:\\T", "😀ソ表.TXT"}}},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(Read(bytes), expected) << bytes;
  // Data that ends in blanks is read within its own bounds, whatever follows them.
  const std::string buffer = "\"C:\\T\", \"A\"   ";
  EXPECT_EQ(Read(std::string_view(buffer).substr(0, buffer.size() - 1)), (Records{{"C:\\T", "A"}}));
}

TEST(ListFile, AnyOtherLineIsSkippedWithoutTouchingItsNeighbours) {
  const std::string lines[] = {
      "\"C:\\DATA, \"X.TXT\"",        "\"C:\\DATA\", \"X.TXT",      "\"C:\\DATA\", X.TXT\"",
      "\"C:\\DATA\\X.TXT\"",          "\"C:\\DATA\" \"X.TXT\"",     "\"\", \"X.TXT\"",
      "\"C:\\DATA\", \"\"",           "\"C:\\DATA\", \"X\", \"Y\"", "\"C:\\DATA\", \"X.TXT\"junk",
      "C:\\DATA, X.TXT",              "\"C:\\DATA\", \"SUB\\X\"",   "\"C:\\DATA\", \"..\"",
      "\"C:\\DATA\", \"*.TXT\"",      "\"C:\\DATA\", \"C:X\"",      "\"C:\\DATA\", \"X\x01\"",
      std::string("\"C:\\D\0A\", \"X\"", 13), "\"C:\\DA*\", \"X\"",   "\"C:\\DATA\", \"X\rY\"",
      // Not UTF-8: a code-page name, an overlong "/", a surrogate, past U+10FFFF, a cut sequence.
      "\"C:\\DATA\", \"\x83\x5C.TXT\"",  "\"C:\\DATA\", \"A\xC0\xAF\"",  "\"C:\\DATA\", \"\xED\xA0\x80\"",
      "\"C:\\DATA\", \"\xF4\x90\x80\x80\"", "\"C:\\DATA\", \"X\xE3\x81\"",  "\"C:\\\x80\", \"X\"",
      "",                             "    ",                       "\"C:\\DATA\", \"X\"  ,",
      "\"C:\\DATA\",",                "\"C:\\DATA\"   ",            "\"",
  };
  const Records neighbours{{"C:\\D", "FIRST"}, {"C:\\D", "LAST"}};
  for (const std::string& line : lines) {
    EXPECT_EQ(Read("\"C:\\D\", \"FIRST\"\r\n" + line + "\r\n\"C:\\D\", \"LAST\"\r\n"), neighbours) << line;
    EXPECT_EQ(Read("\"C:\\D\", \"FIRST\"\r\n" + line), Records{neighbours[0]}) << line << " (last line)";
  }
  // An unterminated field runs to the end of its own line only.
  EXPECT_EQ(Read("\"C:\\T, " + std::string(1 << 16, 'x') + "\r\n\"C:\\T\", \"A\"\r\n"), (Records{{"C:\\T", "A"}}));
}

TEST(ListFile, CutAtNulKeepsWhatStandsBeforeTheFirstNul) {
  EXPECT_EQ(CutAtNul(std::u16string_view(u"C:\\DATA\0\0", 9)), u"C:\\DATA");
  EXPECT_EQ(CutAtNul(std::u16string_view(u"C:\\DATA")), u"C:\\DATA");
  EXPECT_EQ(CutAtNul(std::u16string_view(u"\0C:", 3)), u"");
}

TEST(ListFile, TextGoesToUtf8AndBackExactlyOrNotAtAll) {
  for (const std::u16string text : {u"", u"a¥b", u"Café 한글", u"😀.TXT", u"\uFFFF\U0010FFFF\u07FF\u0800"}) EXPECT_EQ(FromUtf8(*ToUtf8(text)), text);
  EXPECT_FALSE(FromUtf8(std::string_view("\xE3\x81\x81", 2)));  // cut short: the byte after it is not read
  // A lone surrogate, which a Windows name may hold, has no UTF-8 form.
  for (const std::u16string text : {u"a\xD800", u"\xDC00" u"b", u"\xD800\xD800\xDC00", u"\xDFFF\xD800"}) EXPECT_FALSE(ToUtf8(text));
}

}  // namespace
}  // namespace zefta

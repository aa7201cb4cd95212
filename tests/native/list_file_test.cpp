#include "modules/list_file.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "fakes.h"
#include "modules/get_folder.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;

// A few Shift-JIS katakana, enough to show that a trail byte equal to "\"
// (0x5C, as in "ソ") stays part of the name.
class TinyShiftJis : public CodePage {
 public:
  std::string ToAnsi(std::u16string_view) override { return {}; }
  std::u16string FromAnsi(std::string_view bytes) override {
    static const std::map<std::string, std::u16string> kDouble = {
        {"\x83\x5C", u"ソ"}, {"\x83\x74", u"フ"}, {"\x83\x67", u"ト"},
        {"\x83\x66", u"デ"}, {"\x81\x5B", u"ー"}, {"\x83\x5E", u"タ"}};
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto lead = static_cast<unsigned char>(bytes[i]);
      if ((lead >= 0x81 && lead <= 0x9F) && i + 1 < bytes.size()) {
        auto it = kDouble.find(std::string(bytes.substr(i, 2)));
        text += it == kDouble.end() ? u'・' : it->second[0];
        ++i;
      } else {
        text += static_cast<char16_t>(lead);
      }
    }
    return text;
  }
};

std::vector<std::pair<std::string, std::string>> Read(std::string_view bytes) {
  FakeCodePage codePage;
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& record : ReadListFile(bytes, codePage)) out.emplace_back(U8(record.directory), U8(record.name));
  return out;
}

using Records = std::vector<std::pair<std::string, std::string>>;

TEST(ListFileTest, WellFormedFiles) {
  const struct {
    const char* what;
    std::string bytes;
    Records expected;
  } cases[] = {
      {"empty file", "", {}},
      {"pair lines", "\"C:\\DATA\", \"README.TXT\"\r\n\"C:\\DATA\\SUB\", \"b.txt\"\r\n",
       {{"C:\\DATA", "README.TXT"}, {"C:\\DATA\\SUB", "b.txt"}}},
      {"last line without CR LF", "\"C:\\T\", \"A.TXT\"\r\n\"C:\\T\", \"B.TXT\"",
       {{"C:\\T", "A.TXT"}, {"C:\\T", "B.TXT"}}},
      {"drive root", "\"C:\", \"X\"\r\n", {{"C:", "X"}}},
      {"blanks around the fields, LF alone", "  \"C:\\T\" ,\t\"A B.TXT\"  \n", {{"C:\\T", "A B.TXT"}}},
      {"comma inside a name", "\"C:\\T\", \"a,b.txt\"\r\n", {{"C:\\T", "a,b.txt"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.bytes), c.expected) << c.what;
}

TEST(ListFileTest, MalformedLinesAreSkippedWithoutTouchingTheirNeighbours) {
  const std::string before = "\"C:\\D\", \"FIRST.TXT\"\r\n";
  const std::string after = "\"C:\\D\", \"LAST.TXT\"\r\n";
  const struct {
    const char* what;
    std::string line;
  } cases[] = {
      {"closing quote of the directory missing", "\"C:\\DATA, \"X.TXT\"\r\n"},
      {"closing quote of the name missing", "\"C:\\DATA\", \"X.TXT\r\n"},
      {"opening quote missing", "\"C:\\DATA\", X.TXT\"\r\n"},
      {"one field (path line)", "\"C:\\DATA\\X.TXT\"\r\n"},
      {"no comma", "\"C:\\DATA\" \"X.TXT\"\r\n"},
      {"empty directory", "\"\", \"X.TXT\"\r\n"},
      {"empty name", "\"C:\\DATA\", \"\"\r\n"},
      {"third field", "\"C:\\DATA\", \"X.TXT\", \"Y\"\r\n"},
      {"text after the name", "\"C:\\DATA\", \"X.TXT\"junk\r\n"},
      {"unquoted fields", "C:\\DATA, X.TXT\r\n"},
      {"separator in the name", "\"C:\\DATA\", \"SUB\\X.TXT\"\r\n"},
      {"parent name", "\"C:\\DATA\", \"..\"\r\n"},
      {"wildcard in the name", "\"C:\\DATA\", \"*.TXT\"\r\n"},
      {"drive colon in the name", "\"C:\\DATA\", \"C:X\"\r\n"},
      {"control character in the name", "\"C:\\DATA\", \"X\x01.TXT\"\r\n"},
      {"NUL in the directory", std::string("\"C:\\DA\0TA\", \"X.TXT\"\r\n", 20)},
      {"lone CR inside the line", "\"C:\\DATA\", \"X\rY\"\r\n"},
      {"blank line", "\r\n"},
      {"spaces only", "    \r\n"},
      {"random bytes", "\xff\xfe\x01\x22\x00\x7f"},
  };
  for (const auto& c : cases) {
    const Records expected{{"C:\\D", "FIRST.TXT"}, {"C:\\D", "LAST.TXT"}};
    EXPECT_EQ(Read(before + c.line + "\r\n" + after), expected) << c.what;
    // Also as the file's last line, without its line end.
    std::string last = c.line;
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r')) last.pop_back();
    EXPECT_EQ(Read(before + last), Records{expected[0]}) << c.what << " (last line)";
  }
}

TEST(ListFileTest, VeryLongLines) {
  const std::string longName(100000, 'N');
  EXPECT_EQ(Read("\"C:\\T\", \"" + longName + "\"\r\n"), (Records{{"C:\\T", longName}}));
  // An unterminated field runs to the end of its line only.
  const std::string runaway = "\"C:\\T, " + std::string(1 << 20, 'x') + "\r\n";
  EXPECT_EQ(Read(runaway + "\"C:\\T\", \"A\"\r\n"), (Records{{"C:\\T", "A"}}));
}

TEST(ListFileTest, JapaneseNamesFromTheCodePage) {
  TinyShiftJis codePage;
  // "C:\データ", "ソフト.TXT": the lead byte 0x83 of "ソ" is followed by 0x5C.
  const auto records = ReadListFile("\"C:\\\x83\x66\x81\x5B\x83\x5E\", \"\x83\x5C\x83\x74\x83\x67.TXT\"\r\n", codePage);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].directory, U16("C:\\データ"));
  EXPECT_EQ(records[0].name, U16("ソフト.TXT"));
  EXPECT_EQ(ListFilePath(records[0]), U16("C:\\データ\\ソフト.TXT"));
}

TEST(ListFileTest, RandomBytesNeverGiveANameThatLeavesItsFolder) {
  std::mt19937 random(12345);
  const char alphabet[] = {'"', ',', ' ', '\r', '\n', '\\', 'A', '.', '\0', '\x83', '\x5C', ':'};
  FakeCodePage codePage;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 64, ' ');
    for (char& b : bytes) b = alphabet[random() % sizeof alphabet];
    for (const auto& record : ReadListFile(bytes, codePage)) {
      EXPECT_FALSE(record.name.empty());
      EXPECT_FALSE(record.directory.empty());
      EXPECT_EQ(record.name.find_first_of(u"\\/:"), std::u16string::npos);
      EXPECT_EQ(record.name.find(u'\0'), std::u16string::npos);
    }
  }
}

TEST(GetFolderTest, CutAtNul) {
  const struct {
    std::u16string text;
    std::u16string expected;
  } cases[] = {
      {std::u16string(u"C:\\DATA\0\0\0", 10), u"C:\\DATA"},
      {u"C:\\DATA", u"C:\\DATA"},
      {std::u16string(u"\0C:", 3), u""},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutAtNul(std::u16string_view(c.text)), c.expected);
  EXPECT_EQ(CutAtNul(std::string_view("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace zefta

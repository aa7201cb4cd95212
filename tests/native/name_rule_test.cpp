#include "modules/name_rule.h"

#include <gtest/gtest.h>

#include "text_util.h"

namespace zefta {
namespace {

using testing::U16;

struct RuleCase {
  const char* text;
  bool lower;
  bool ext;
  const char* converted;
  bool needs;
};

class NameRuleTable : public ::testing::TestWithParam<RuleCase> {};

TEST_P(NameRuleTable, ConvertsAndTests) {
  const RuleCase& c = GetParam();
  const CaseOptions options{c.lower, c.ext};
  const std::u16string text = U16(c.text);
  EXPECT_EQ(ConvertName(text, options), U16(c.converted));
  EXPECT_EQ(NeedsConversion(text, options), c.needs);
  EXPECT_EQ(ConvertName(text, options).size(), text.size());
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, NameRuleTable,
    ::testing::Values(RuleCase{"README.TXT", true, false, "readme.txt", true},
                      RuleCase{"README.TXT", true, true, "README.txt", true},
                      RuleCase{"readme.txt", false, true, "readme.TXT", true},
                      RuleCase{"readme.txt", true, true, "readme.txt", false},
                      RuleCase{"Makefile", false, true, "MAKEFILE", true},
                      RuleCase{"archive.tar.GZ", true, true, "archive.tar.gz", true},
                      RuleCase{"photo.JPEG", true, true, "photo.jpeg", true},
                      RuleCase{"NAME.", true, true, "NAME.", false},
                      RuleCase{".Login", true, true, ".login", true},
                      RuleCase{"データ.TXT", true, true, "データ.txt", true}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, NameRuleTable,
    ::testing::Values(
        RuleCase{"", true, false, "", false}, RuleCase{"", false, true, "", false},
        // A trailing dot leaves nothing to convert, whatever stands before it.
        RuleCase{"Mixed.", false, true, "Mixed.", false},
        // Earlier dots and the text between them stay.
        RuleCase{"a.B.c.D", false, true, "a.B.c.D", false}, RuleCase{"a.B.c.d", false, true, "a.B.c.D", true},
        // Exactly five characters: all converted.
        RuleCase{"x.ABCDE", true, true, "x.abcde", true},
        // Longer: the first five converted, the rest kept, nothing dropped.
        RuleCase{"x.ABCDEFG", true, true, "x.abcdeFG", true}, RuleCase{"x.abcdeFG", true, true, "x.abcdeFG", false},
        // Characters without case pass through.
        RuleCase{"漢字かなｶﾅ123_-.TXT", true, false, "漢字かなｶﾅ123_-.txt", true},
        RuleCase{"漢字かなｶﾅ123", false, false, "漢字かなｶﾅ123", false},
        // Full-width Latin letters follow the platform mapping.
        RuleCase{"ＡＢＣ.ｔｘｔ", true, false, "ａｂｃ.ｔｘｔ", true},
        // Whole-text mode converts a folder part like any other text.
        RuleCase{"C:\\Data\\File.Txt", false, false, "C:\\DATA\\FILE.TXT", true},
        // Extension-only mode keeps everything up to the last dot.
        RuleCase{"C:\\my.dir\\Read.Me", true, true, "C:\\my.dir\\Read.me", true}));

TEST(FindLastDot, PositionsAreOneBased) {
  EXPECT_EQ(FindLastDot(u""), 0);
  EXPECT_EQ(FindLastDot(u"abc"), 0);
  EXPECT_EQ(FindLastDot(u".Login"), 1);
  EXPECT_EQ(FindLastDot(u"a.b.c"), 4);
  EXPECT_EQ(FindLastDot(u"NAME."), 5);
  // Only the ASCII dot counts, not the full-width or ideographic one.
  EXPECT_EQ(FindLastDot(u"a．b。c"), 0);
}

TEST(NameRule, NeedsConversionIsTrueExactlyWhenTheTextChanges) {
  const char16_t* names[] = {u"abc", u"ABC", u"aBc.Def", u"x.", u".x", u"a.b.C", u"ｱｲｳ.TxT", u"ÀÉ.ç"};
  for (const char16_t* name : names) {
    for (int o = 0; o < 4; ++o) {
      const CaseOptions options{(o & 1) != 0, (o & 2) != 0};
      EXPECT_EQ(NeedsConversion(name, options), ConvertName(name, options) != name) << o;
    }
  }
}

}  // namespace
}  // namespace zefta

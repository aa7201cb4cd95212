// The name rule, and the case mapping that the host build runs it on.
#include <gtest/gtest.h>

#include "modules/name_rule.h"
#include "services/case_mapping.h"

namespace zefta {
namespace {

TEST(NameRule, ConvertsAndTestsWhatTheOptionsSelect) {
  const struct {
    const char16_t* text;
    bool lower, ext;
    const char16_t* converted;
    bool needs;
  } cases[] = {
      {u"README.TXT", true, false, u"readme.txt", true},
      {u"README.TXT", true, true, u"README.txt", true},
      {u"readme.txt", false, true, u"readme.TXT", true},
      {u"Makefile", false, true, u"MAKEFILE", true},  // no dot: the whole text
      {u"archive.tar.GZ", true, true, u"archive.tar.gz", true},
      {u".Login", true, true, u".login", true},
      {u"NAME.", true, true, u"NAME.", false},  // nothing after the dot
      {u"NAME. ", true, false, u"name. ", true},  // a trailing dot and space kept as they are
      {u"a.B.c.d", false, true, u"a.B.c.D", true},
      {u"x.ABCDE", true, true, u"x.abcde", true},      // five: all of them
      {u"x.ABCDEFG", true, true, u"x.abcdeFG", true},  // more: the first five
      {u"データ.TXT", true, true, u"データ.txt", true},
      {u"漢字ｶﾅ123_-", false, false, u"漢字ｶﾅ123_-", false},
      {u"ＡＢＣ.ｔｘｔ", true, false, u"ａｂｃ.ｔｘｔ", true},
      {u"C:\\Data\\File.Txt", false, false, u"C:\\DATA\\FILE.TXT", true},  // a path is text like any other
      {u"C:\\my.dir\\Read.Me", true, true, u"C:\\my.dir\\Read.me", true},
  };
  for (const auto& c : cases) {
    const CaseOptions options{c.lower, c.ext};
    EXPECT_EQ(ConvertName(c.text, options), c.converted) << c.lower << c.ext;
    EXPECT_EQ(NeedsConversion(c.text, options), c.needs) << c.lower << c.ext;
  }
}

TEST(NameRule, LastDotWithin16BitPositions) {
  EXPECT_EQ(FindLastDot(std::u16string(32766, u'x') + u"." + std::u16string(9, u'y')), 32767);
  EXPECT_EQ(FindLastDot(std::u16string(32767, u'x') + u"."), 0);  // beyond them: not reported
}

// The stand-in for the system's mapping on the host, pinned at the edges of
// every block it maps: the letters at both ends change, the neighbours of a
// block do not.
TEST(PortableCaseMapping, EveryBlockMapsFromEndToEndAndNoFurther) {
  const char16_t pairs[][2] = {{u'A', u'a'},     {u'Z', u'z'},     {0x00C0, 0x00E0}, {0x00D6, 0x00F6},
                               {0x00D8, 0x00F8}, {0x00DE, 0x00FE}, {0x0391, 0x03B1}, {0x03A1, 0x03C1},
                               {0x03A3, 0x03C3}, {0x03AB, 0x03CB}, {0x0400, 0x0450}, {0x040F, 0x045F},
                               {0x0410, 0x0430}, {0x042F, 0x044F}, {0xFF21, 0xFF41}, {0xFF3A, 0xFF5A},
                               {0x0100, 0x0101}, {0x0136, 0x0137}, {0x0139, 0x013A}, {0x0147, 0x0148},
                               {0x014A, 0x014B}, {0x0176, 0x0177}, {0x0179, 0x017A}, {0x017D, 0x017E},
                               {0x0178, 0x00FF}};
  for (const auto& [upper, lower] : pairs) {
    EXPECT_EQ(MapCase(std::u16string(1, upper), CaseDirection::Lower), std::u16string(1, lower)) << int(upper);
    EXPECT_EQ(MapCase(std::u16string(1, lower), CaseDirection::Upper), std::u16string(1, upper)) << int(lower);
  }
  const char16_t caseless[] = {u'@',   u'[',   u'`',   u'{',   0x00D7, 0x00F7, 0x00DF, 0x0138,
                               0x0149, 0x0390, 0x03A2, 0xFF20, 0xFF3B, 0xFF40, 0xFF5B, u'ｶ', u'あ'};
  for (char16_t c : caseless)
    for (auto direction : {CaseDirection::Lower, CaseDirection::Upper})
      EXPECT_EQ(MapCase(std::u16string(1, c), direction), std::u16string(1, c)) << int(c);
}

}  // namespace
}  // namespace zefta

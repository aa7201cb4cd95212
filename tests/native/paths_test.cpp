// Paths as the program writes them.
#include <gtest/gtest.h>

#include "modules/get_folder.h"
#include "modules/paths.h"

namespace zefta {
namespace {

TEST(Paths, SplitJoinAndResolve) {
  EXPECT_EQ(SplitPath(u"C:\\a.b\\c").folder, u"C:\\a.b\\");
  EXPECT_EQ(SplitPath(u"d/e").name, u"e");
  EXPECT_EQ(SplitPath(u"NOTES. ").name, u"NOTES. ");  // a name as stored
  EXPECT_EQ(WithSeparator(u"C:"), u"C:\\");
  EXPECT_EQ(WithSeparator(u"C:\\a\\"), u"C:\\a\\");
  EXPECT_EQ(WithoutSeparator(u"C:\\"), u"C:");
  EXPECT_EQ(VolumeOf(u"c:\\a\\"), u"c:");
  EXPECT_EQ(VolumeOf(u"\\\\server\\share\\a\\"), u"\\\\server");
  EXPECT_EQ(NormalizedPath(u"c:\\a\\.\\b\\..\\\\c/d"), u"c:\\a\\c\\d");
  EXPECT_EQ(NormalizedPath(u"c:\\..\\.."), u"c:\\");
  // The picker's buffer: the path before its first NUL.
  EXPECT_EQ(CutAtNul(std::u16string_view(u"C:\\DATA\0\0x", 10)), u"C:\\DATA");
  EXPECT_EQ(CutAtNul(u"C:"), u"C:");
}

}  // namespace
}  // namespace zefta

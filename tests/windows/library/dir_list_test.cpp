// The list file of MakeDirFileList_, byte for byte, under code page 932.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "kestrum.h"
#include "test_support.h"

namespace {

using kestrum_test::IsSomeOrderOf;
using kestrum_test::ReadBytes;
using kestrum_test::ScratchDir;

std::string Pair(const std::string& dir, const std::string& name) {
  return "\"" + dir + "\", \"" + name + "\"\r\n";
}
std::string Path(const std::string& dir, const std::string& name) {
  return "\"" + dir + "\\" + name + "\"\r\n";
}

class KestrumDirList : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests expect Shift-JIS as the ANSI code page"; }
  std::string Tree() const { return scratch_.path() + "\\T"; }
  std::string List() const { return scratch_.path() + "\\ZEFTA.TMP"; }
  ScratchDir scratch_;
};

// The tree of the format's example: A.TXT in T, B.TXT in T\SUB.
TEST_F(KestrumDirList, ExampleTreeInEveryMode) {
  scratch_.Make({"T\\", "T\\A.TXT", "T\\SUB\\", "T\\SUB\\B.TXT"});
  const std::string t = Tree(), sub = Tree() + "\\SUB";
  struct Case {
    int mode;
    std::vector<std::string> blocks;  // one per entry of T, its subtree with it
  };
  const Case cases[] = {
      {1, {Path(t, "A.TXT"), Path(sub, "B.TXT")}},
      {2, {Pair(t, "A.TXT"), Pair(sub, "B.TXT")}},
      {3, {Path(t, "A.TXT"), Path(t, "SUB") + Path(sub, "B.TXT")}},
      {4, {Pair(t, "A.TXT"), Pair(t, "SUB") + Pair(sub, "B.TXT")}},
      {0, {}},
      {5, {}},
      {-1, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeDirFileList_(c.mode, t.c_str(), List().c_str()), 2) << "mode " << c.mode;
    const std::string bytes = ReadBytes(List());
    EXPECT_TRUE(IsSomeOrderOf(bytes, c.blocks)) << "mode " << c.mode << ":\n" << bytes;
  }
  EXPECT_EQ(MakeDirFileListB_(4, t.c_str(), List().c_str()), 2);
  EXPECT_TRUE(IsSomeOrderOf(ReadBytes(List()), cases[3].blocks));
}

TEST_F(KestrumDirList, DeeperTreeIsDepthFirstPreOrderWithHiddenEntries) {
  scratch_.Make({"T\\", "T\\D\\", "T\\D\\E\\", "T\\D\\E\\f.txt", "T\\D\\g.txt", "T\\h.txt"});
  SetFileAttributesA((Tree() + "\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  const std::string t = Tree(), d = t + "\\D", e = d + "\\E";
  EXPECT_EQ(MakeDirFileList_(3, t.c_str(), List().c_str()), 3);
  const std::string bytes = ReadBytes(List());
  // Inside D the order of E and g.txt is the file system's.
  const std::string dBlockA = Path(t, "D") + Path(d, "E") + Path(e, "f.txt") + Path(d, "g.txt");
  const std::string dBlockB = Path(t, "D") + Path(d, "g.txt") + Path(d, "E") + Path(e, "f.txt");
  EXPECT_TRUE(IsSomeOrderOf(bytes, {dBlockA, Path(t, "h.txt")}) ||
              IsSomeOrderOf(bytes, {dBlockB, Path(t, "h.txt")}))
      << bytes;
}

TEST_F(KestrumDirList, JapaneseNamesAreWrittenAsShiftJisBytes) {
  const std::string nihongo = "\x93\xFA\x96\x7B\x8C\xEA.txt";  // 日本語.txt
  const std::string hyo = "\x95\x5C";                          // 表, trail byte 0x5C
  const std::string so = "\x83\x5C.txt";                       // ソ.txt
  scratch_.Make({"T\\", "T\\" + nihongo, "T\\" + hyo + "\\", "T\\" + hyo + "\\" + so});
  const std::string t = Tree();
  EXPECT_EQ(MakeDirFileList_(4, t.c_str(), List().c_str()), 2);
  const std::string bytes = ReadBytes(List());
  EXPECT_TRUE(IsSomeOrderOf(bytes, {Pair(t, nihongo), Pair(t, hyo) + Pair(t + "\\" + hyo, so)})) << bytes;
}

TEST_F(KestrumDirList, EmptyAndMissingDirectoriesGiveAnEmptyFile) {
  scratch_.Make({"T\\"});
  kestrum_test::WriteBytes(List(), "old content");
  EXPECT_EQ(MakeDirFileList_(4, Tree().c_str(), List().c_str()), 0);
  EXPECT_EQ(ReadBytes(List()), "");
  kestrum_test::WriteBytes(List(), "old content");
  EXPECT_EQ(MakeDirFileList_(4, (Tree() + "\\none").c_str(), List().c_str()), 0);
  EXPECT_EQ(ReadBytes(List()), "");
}

TEST_F(KestrumDirList, SecondCallReplacesTheFirstCompletely) {
  scratch_.Make({"T\\", "T\\a-long-name-for-a-longer-first-list.txt", "U\\", "U\\b"});
  const std::string u = scratch_.path() + "\\U";
  kestrum_test::WriteBytes(List(), std::string(1000, 'x'));
  EXPECT_EQ(MakeDirFileList_(2, Tree().c_str(), List().c_str()), 1);
  EXPECT_EQ(ReadBytes(List()), Pair(Tree(), "a-long-name-for-a-longer-first-list.txt"));
  EXPECT_EQ(MakeDirFileList_(2, u.c_str(), List().c_str()), 1);
  EXPECT_EQ(ReadBytes(List()), Pair(u, "b"));
}

TEST_F(KestrumDirList, UncreatableListFileStillCountsTheFiles) {
  scratch_.Make({"T\\", "T\\a", "T\\b"});
  const std::string list = scratch_.path() + "\\no-such-dir\\ZEFTA.TMP";
  EXPECT_EQ(MakeDirFileList_(4, Tree().c_str(), list.c_str()), 2);
  EXPECT_FALSE(kestrum_test::Exists(list));
}

// The separator is appended without looking for one already there.
TEST_F(KestrumDirList, TrailingBackslashDoublesTheSeparator) {
  scratch_.Make({"T\\", "T\\A.TXT", "T\\SUB\\", "T\\SUB\\B.TXT"});
  const std::string t = Tree() + "\\";
  EXPECT_EQ(MakeDirFileList_(4, t.c_str(), List().c_str()), 2);
  const std::string bytes = ReadBytes(List());
  EXPECT_TRUE(IsSomeOrderOf(bytes, {Pair(t, "A.TXT"), Pair(t, "SUB") + Pair(t + "\\SUB", "B.TXT")})) << bytes;
}

// Trees that only the Linux side can make; see run_library_tests.sh.
std::string PreparedDir() {
  const char* dir = std::getenv("KESTRUM_PREPARED_DIR");
  return dir ? dir : "";
}

TEST_F(KestrumDirList, DirectoryLinksAreListedButNotEntered) {
  const std::string prepared = PreparedDir();
  if (prepared.empty()) GTEST_SKIP() << "run through run_library_tests.sh";
  // links: f.txt, real\inner.txt, link -> real, loop -> the links folder itself.
  const std::string links = prepared + "\\links";
  EXPECT_EQ(MakeDirFileList_(4, links.c_str(), List().c_str()), 2);
  const std::string bytes = ReadBytes(List());
  EXPECT_TRUE(IsSomeOrderOf(bytes, {Pair(links, "f.txt"), Pair(links, "real") + Pair(links + "\\real", "inner.txt"),
                                    Pair(links, "link"), Pair(links, "loop")}))
      << bytes;
}

TEST_F(KestrumDirList, EntriesBeyondTheAnsiPathLimitAreLeftOutNotCut) {
  const std::string prepared = PreparedDir();
  if (prepared.empty()) GTEST_SKIP() << "run through run_library_tests.sh";
  // long: short.txt, a file and a directory whose names push the path past
  // 259 bytes, and a directory just short enough to list but not to search.
  const std::string dir = prepared + "\\long";
  EXPECT_EQ(MakeDirFileList_(4, dir.c_str(), List().c_str()), 1);
  const std::string bytes = ReadBytes(List());
  const std::string edgeName(259 - dir.size() - 1 - 1, 'e');  // dir\edge is 258 bytes
  EXPECT_TRUE(IsSomeOrderOf(bytes, {Pair(dir, "short.txt"), Pair(dir, edgeName)})) << bytes;
}

}  // namespace

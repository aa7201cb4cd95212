// Renaming one entry to another spelling on a file system like Windows (the
// move changes the spelling) and like Wine on a Linux folder (the move keeps
// it, and names that differ only in letter case can stand side by side).
#include "modules/entry_renamer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;
using Kind = FakeFileSystem::Kind;
using Outcome = RenameResult::Outcome;

std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class EntryRenamerTest : public ::testing::TestWithParam<Kind> {
 protected:
  EntryRenamerTest() : files(GetParam()) {}
  std::vector<std::u16string> NamesIn(const std::u16string& folder) { return Sorted(*files.Names(folder)); }
  FakeFileSystem files;
  EntryRenamer renamer{files};
};

INSTANTIATE_TEST_SUITE_P(BothFileSystems, EntryRenamerTest, ::testing::Values(Kind::Windows, Kind::WineOnLinux),
                         [](const auto& info) { return info.param == Kind::Windows ? "Windows" : "WineOnLinux"; });

TEST_P(EntryRenamerTest, ChangesTheSpellingOfFilesAndDirectoriesInPlace) {
  files.AddFile(u"c:\\Work\\README.TXT", "r");
  files.AddFile(u"c:\\Work\\Sub.Dir\\inner.txt", "i");
  for (int run = 0; run < 2; ++run) {  // the first change of case on the volume, and a later one
    renamer.BeginRun();
    EXPECT_EQ(renamer.Rename(u"c:\\Work\\", run ? u"Sub.Dir" : u"README.TXT", run ? u"SUB.DIR" : u"readme.txt").outcome,
              Outcome::Renamed);
  }
  EXPECT_EQ(NamesIn(u"c:\\Work\\"), (std::vector<std::u16string>{u"SUB.DIR", u"readme.txt"}));
  EXPECT_EQ(files.Find(u"c:\\Work\\readme.txt")->content, "r");
  EXPECT_EQ(files.ActualPath(u"c:\\work\\sub.dir\\INNER.TXT"), u"c:\\Work\\SUB.DIR\\inner.txt");
  // Windows needs one move each; Wine learns at the first that it must go
  // through a parked name, and then goes there directly.
  const std::size_t moves = GetParam() == Kind::Windows ? 2 : 1 + 2 + 2;
  EXPECT_EQ(files.renameCalls.size(), moves);
}

TEST_P(EntryRenamerTest, ARefusedMoveLeavesTheEntryAsItWas) {
  files.AddFile(u"c:\\Work\\Held.TXT", "h");
  files.refusedRenames.insert(u"c:\\work\\held.txt");
  EXPECT_EQ(renamer.Rename(u"c:\\Work\\", u"Held.TXT", u"held.txt").outcome, Outcome::Refused);
  EXPECT_EQ(NamesIn(u"c:\\Work\\"), std::vector<std::u16string>{u"Held.TXT"});
  // Gone altogether: refused as well.
  EXPECT_EQ(renamer.Rename(u"c:\\Work\\", u"GONE.TXT", u"gone.txt").outcome, Outcome::Refused);
}

TEST_P(EntryRenamerTest, AnotherNameNeverReplacesAnEntry) {
  files.AddFile(u"c:\\Work\\a.txt", "a");
  files.AddFile(u"c:\\Work\\b.txt", "b");
  EXPECT_EQ(renamer.Rename(u"c:\\Work\\", u"a.txt", u"b.txt").outcome, Outcome::Refused);
  EXPECT_EQ(renamer.Rename(u"c:\\Work\\", u"a.txt", u"c.txt").outcome, Outcome::Renamed);
  EXPECT_EQ(NamesIn(u"c:\\Work\\"), (std::vector<std::u16string>{u"b.txt", u"c.txt"}));
}

TEST(EntryRenamerOnWine, NextToACaseTwinTheRenameIsRefusedAndBothStay) {
  FakeFileSystem files(Kind::WineOnLinux);
  files.AddFile(u"c:\\Pair\\README", "upper");
  files.AddFile(u"c:\\Pair\\readme", "lower");
  files.AddFile(u"c:\\Pair\\Solo.TXT", "solo");
  EntryRenamer renamer(files);
  EXPECT_EQ(renamer.Rename(u"c:\\Pair\\", u"Solo.TXT", u"solo.txt").outcome, Outcome::Renamed);
  EXPECT_EQ(renamer.Rename(u"c:\\Pair\\", u"README", u"readme").outcome, Outcome::Refused);
  EXPECT_EQ(renamer.Rename(u"c:\\Pair\\", u"readme", u"Readme").outcome, Outcome::Refused);
  EXPECT_EQ(Sorted(*files.Names(u"c:\\Pair\\")), (std::vector<std::u16string>{u"README", u"readme", u"solo.txt"}));
  EXPECT_EQ(files.Find(u"c:\\Pair\\README")->content, "upper");
  EXPECT_EQ(files.Find(u"c:\\Pair\\readme")->content, "lower");
}

TEST(EntryRenamerOnWine, ATwinMadeAfterTheFolderWasListedEndsInAReportNeverSilently) {
  FakeFileSystem files(Kind::WineOnLinux);
  for (const char16_t* name : {u"First.TXT", u"Second.TXT", u"Third.TXT"}) files.AddFile(u"c:\\W\\" + std::u16string(name), "ours");
  EntryRenamer renamer(files);
  renamer.BeginRun();
  ASSERT_EQ(renamer.Rename(u"c:\\W\\", u"First.TXT", u"first.txt").outcome, Outcome::Renamed);
  // Someone makes twins while the run goes on.
  files.AddFile(u"c:\\W\\second.txt", "twin");
  files.AddFile(u"c:\\W\\third.txt", "twin");
  const RenameResult result = renamer.Rename(u"c:\\W\\", u"Second.TXT", u"second.txt");
  ASSERT_EQ(result.outcome, Outcome::LeftParked);
  EXPECT_EQ(result.parkedPath, u"c:\\W\\Second.TXT.~zefta0");
  EXPECT_EQ(files.Find(result.parkedPath)->content, "ours");
  EXPECT_EQ(files.Find(u"c:\\W\\second.txt")->content, "twin");
  // The next run lists the folder again and refuses next to a twin.
  renamer.BeginRun();
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"Third.TXT", u"third.txt").outcome, Outcome::Refused);
  EXPECT_EQ(files.Find(u"c:\\W\\Third.TXT")->content, "ours");
}

TEST(EntryRenamerOnWine, ASecondStepThatFailsGoesBackToTheOldName) {
  FakeFileSystem files(Kind::WineOnLinux);
  files.AddFile(u"c:\\W\\A.TXT", "a");
  files.AddFile(u"c:\\W\\B.TXT", "b");
  EntryRenamer renamer(files);
  ASSERT_EQ(renamer.Rename(u"c:\\W\\", u"A.TXT", u"a.txt").outcome, Outcome::Renamed);
  // The parked name is taken, and the way to the new name is refused once.
  files.AddFile(u"c:\\W\\B.TXT.~zefta0", "other");
  files.onRename = [&] {
    files.refusedRenames.clear();
    if (files.renameCalls.back().second == u"c:\\W\\b.txt") files.refusedRenames.insert(files.renameCalls.back().first);
  };
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"B.TXT", u"b.txt").outcome, Outcome::Refused);
  EXPECT_EQ(Sorted(*files.Names(u"c:\\W\\")), (std::vector<std::u16string>{u"B.TXT", u"B.TXT.~zefta0", u"a.txt"}));
  EXPECT_EQ(files.Find(u"c:\\W\\B.TXT.~zefta0")->content, "other");
}

}  // namespace
}  // namespace zefta

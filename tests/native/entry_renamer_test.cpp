// How one entry is renamed on a file system like Windows and like Wine on a
// Linux folder: moves, parked names, case twins.
#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/entry_renamer.h"

namespace zefta {
namespace {

using testing::FakeFileSystem;
using Kind = FakeFileSystem::Kind;
using Outcome = StepOutcome;

TEST(EntryRenamer, LearnsForEachVolumeWhatAChangeOfCaseDoes) {
  FakeFileSystem files(Kind::Windows);
  files.linuxDrives.insert(u"d:");
  for (auto path : {u"c:\\A.TXT", u"c:\\B.TXT", u"d:\\A.TXT", u"d:\\B.TXT"}) files.AddFile(path);
  EntryRenamer renamer(files);
  for (auto folder : {u"c:\\", u"d:\\"})
    for (auto [name, lower] : {std::pair{u"A.TXT", u"a.txt"}, {u"B.TXT", u"b.txt"}})
      EXPECT_EQ(renamer.Rename(folder, name, lower).outcome, Outcome::Renamed);
  EXPECT_EQ(files.SortedNames(u"d:\\"), (std::vector<std::u16string>{u"a.txt", u"b.txt"}));
  // Each volume learns on its first parked name (three moves), then c:
  // moves directly and d: parks.
  EXPECT_EQ(files.moves.size(), 3u + 1u + 3u + 2u);
  // Where a change of case is honoured, an entry that can go neither way
  // after the learning is named under the parked name it took last.
  FakeFileSystem windows(Kind::Windows);
  windows.AddFile(u"c:\\V\\A.TXT");
  windows.onMove = [&] {
    if (windows.moves.size() == 3) windows.refusedMoves.insert(u"c:\\V\\A.TXT.~ZEFTA0");
  };
  const RenameResult stuck = EntryRenamer(windows).Rename(u"c:\\V\\", u"A.TXT", u"a.txt");
  EXPECT_EQ(stuck.outcome, Outcome::Parked);
  EXPECT_EQ(stuck.parkedPath, u"c:\\V\\A.TXT.~ZEFTA0");
}

// Next to a case twin nothing is renamed; a twin made after the folder was
// listed leaves the entry under its parked name; a parked name that is taken
// is passed over, and when the second step fails the entry goes back.
TEST(EntryRenamerOnWine, NeverReplacesACaseTwinOrATakenParkedName) {
  FakeFileSystem files(Kind::WineOnLinux);
  for (auto name : {u"README", u"readme", u"First.TXT", u"Second.TXT", u"Third.TXT", u"B.TXT", u"B.TXT.~zefta0"})
    files.AddFile(u"c:\\W\\" + std::u16string(name), "ours");
  EntryRenamer renamer(files);
  renamer.BeginRun();
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"README", u"readme").outcome, Outcome::Refused);
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"readme", u"Readme").outcome, Outcome::Refused);
  ASSERT_EQ(renamer.Rename(u"c:\\W\\", u"First.TXT", u"first.txt").outcome, Outcome::Renamed);
  files.AddFile(u"c:\\W\\second.txt", "twin");
  files.AddFile(u"c:\\W\\third.txt", "twin");
  const RenameResult result = renamer.Rename(u"c:\\W\\", u"Second.TXT", u"second.txt");
  ASSERT_EQ(result.outcome, Outcome::Parked);
  EXPECT_EQ(result.parkedPath, u"c:\\W\\Second.TXT.~zefta0");
  renamer.BeginRun();  // the next run lists the folder again
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"Third.TXT", u"third.txt").outcome, Outcome::Refused);
  // The way to the new name is refused once; the way back is not.
  files.onMove = [&] {
    files.refusedMoves.clear();
    if (files.moves.back().second == u"c:\\W\\b.txt") files.refusedMoves.insert(files.moves.back().first);
  };
  EXPECT_EQ(renamer.Rename(u"c:\\W\\", u"B.TXT", u"b.txt").outcome, Outcome::Refused);
  EXPECT_EQ(files.moves.back(), std::make_pair(std::u16string(u"c:\\W\\B.TXT.~zefta1"), std::u16string(u"c:\\W\\B.TXT")));
  EXPECT_EQ(files.SortedNames(u"c:\\W\\"),
            (std::vector<std::u16string>{u"B.TXT", u"B.TXT.~zefta0", u"README", u"Second.TXT.~zefta0", u"Third.TXT",
                                         u"first.txt", u"readme", u"second.txt", u"third.txt"}));
  for (auto name : {u"B.TXT", u"B.TXT.~zefta0", u"Second.TXT.~zefta0", u"readme"})
    EXPECT_EQ(files.Find(u"c:\\W\\" + std::u16string(name))->content, "ours");
}

}  // namespace
}  // namespace zefta

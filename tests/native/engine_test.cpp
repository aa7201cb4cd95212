// What the no-data-loss runs cannot see of a conversion: the report's texts,
// and how one entry is renamed on a file system like Windows and like Wine
// on a Linux folder (moves, parked names, case twins).
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes.h"
#include "modules/conversion_engine.h"
#include "modules/messages.h"

namespace zefta {
namespace {

using testing::FakeFileSystem;
using Kind = FakeFileSystem::Kind;
using Outcome = StepOutcome;

TEST(ConversionEngine, ReportTexts) {
  // The counts in plain decimal, the processed one first.
  EXPECT_EQ(*ReportText({12345, 678}, kNothingConvertedText), u"12345ファイル中、678ファイルを変換しました。");
  EXPECT_EQ(ReportText({2, 0}, kNothingConvertedText), kNothingConvertedText);
  EXPECT_FALSE(ReportText({2, 0}));
  EXPECT_EQ(LeftParkedText({u"c:\\W\\", u"B.TXT"}, {Outcome::Parked, u"c:\\W\\B.TXT.~zefta0"}),
            std::u16string(kRenameFailedText) + u"\n「c:\\W\\B.TXT」は「c:\\W\\B.TXT.~zefta0」という名前で残っています。");
}

// More than 16-bit counters hold: 40,000 entries, 33,000 of them to convert,
// 33 of those refused.
TEST(ConversionEngine, CountsEveryEntryOfABigRun) {
  struct Refusing : FolderEntries, ConversionSteps {
    struct Entry : OpenedEntry {
      bool refused;
      explicit Entry(bool r) : refused(r) {}
      bool MoveTo(std::u16string_view) override { return !refused; }
    };
    std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override {
      return std::make_unique<Entry>(path.ends_with(u"000.TXT"));
    }
    bool ClearPlaceholder(std::u16string_view) override { return false; }
    std::optional<std::u16string> StoredName(std::u16string_view path) override { return std::u16string(path.substr(7)); }
    std::optional<std::vector<std::u16string>> Names(std::u16string_view) override { return std::nullopt; }
    bool Take(std::size_t) override { return true; }
    CaseOptions Options() override { return {true, false}; }
    void Failed(const ConversionEntry&, const RenameResult&) override {}
    void LetEventsRun() override {}
  } world;
  std::vector<ConversionEntry> entries;
  for (int i = 100000; i < 140000; ++i) {
    const std::string digits = std::to_string(i);
    entries.push_back({u"c:\\Top\\", (i < 133000 ? u"Café" : u"café") + std::u16string(digits.begin(), digits.end()) +
                                          (i < 133000 ? u".TXT" : u".txt")});
  }
  for (const auto counts : {ProcessedCounts::EntriesNeedingConversion, ProcessedCounts::EveryTakenEntry}) {
    Counter processed, converted;
    EXPECT_EQ(ReportText(*ConversionEngine(world, processed, converted).Run(entries, counts, world)),
              counts == ProcessedCounts::EveryTakenEntry ? u"40000ファイル中、32967ファイルを変換しました。"
                                                         : u"33000ファイル中、32967ファイルを変換しました。");
  }
}

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

// Wine looks a path up one part at a time, the exact spelling first: below a
// folder named in another spelling, each of two case twins is still found.
TEST(FakeFileSystemOnWine, LooksPathsUpOnePartAtATime) {
  FakeFileSystem files(Kind::WineOnLinux);
  files.AddFile(u"c:\\Top\\Sub\\Aa.JPEG", "first");
  files.AddFile(u"c:\\Top\\Sub\\aA.jpeg", "second");
  files.AddLink(u"c:\\Top\\Link", u"c:\\Top\\Sub");
  EXPECT_EQ(files.Find(u"c:\\top\\SUB\\aA.jpeg")->content, "second");
  EXPECT_EQ(files.Find(u"C:\\TOP\\sub\\Aa.JPEG")->content, "first");
  EXPECT_EQ(files.Find(u"c:\\top\\link\\aA.jpeg")->content, "second");
}

}  // namespace
}  // namespace zefta

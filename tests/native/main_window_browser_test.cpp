// The entry browser: what List shows, when ConversionStart is enabled, and
// the return to the last drive when a drive cannot be read.
#include <gtest/gtest.h>

#include "main_window_harness.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;
using Names = std::vector<std::u16string>;

class BrowserTest : public ::testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override {
    auto& files = platform.files;
    files.AddFile(u"c:\\Work\\b.txt");
    files.AddFile(u"c:\\Work\\A.TXT");
    files.AddFile(u"c:\\Work\\Hidden.txt");
    files.AddFile(u"c:\\Work\\System.sys");
    files.AddDirectory(u"c:\\Work\\Sub");
    files.AddDirectory(u"c:\\Work\\HiddenDir");
    files.Find(u"c:\\Work\\Hidden.txt")->hidden = true;
    files.Find(u"c:\\Work\\System.sys")->system = true;
    files.Find(u"c:\\Work\\HiddenDir")->hidden = true;
    files.AddDirectory(u"c:\\OnlyDirs\\Inner");
    files.AddDirectory(u"c:\\Empty");
    files.AddFile(u"d:\\OnD.txt");
    files.AddFile(u"c:\\Root.txt");
  }
};

TEST_F(BrowserTest, ListFollowsFolderAndDirCheck) {
  struct Case {
    const char16_t* folder;
    int dirCheck;
    Names listed;
  };
  const Case cases[] = {
      {u"C:\\Work", 0, {u"A.TXT", u"b.txt"}},
      {u"C:\\Work", 1, {u"A.TXT", u"b.txt", u"Sub"}},
      {u"C:\\OnlyDirs", 0, {}},
      {u"C:\\OnlyDirs", 1, {u"Inner"}},
      {u"C:\\Empty", 1, {}},
  };
  for (const auto& c : cases) {
    MainWindowHarness h;
    h.platform.files = platform.files;
    h.StartIn(c.folder, c.dirCheck);
    SCOPED_TRACE(U8(c.folder) + " DIR=" + std::to_string(c.dirCheck));
    EXPECT_EQ(h.Listed(), c.listed);
    EXPECT_EQ(h.window.State().entryCount, static_cast<int>(c.listed.size()));
    EXPECT_EQ(h.window.ConversionStart.Enabled(), !c.listed.empty());
  }
}

TEST_F(BrowserTest, TickingAndUntickingDirCheckRefills) {
  StartIn(u"C:\\OnlyDirs", 0);
  EXPECT_FALSE(window.ConversionStart.Enabled());
  window.DirCheck.UserClick();
  EXPECT_EQ(Listed(), Names{u"Inner"});
  EXPECT_TRUE(window.ConversionStart.Enabled());
  // The grey state keeps the filter that was in force.
  window.DirCheck.SetValue(2);
  EXPECT_EQ(Listed(), Names{u"Inner"});
  window.DirCheck.SetValue(0);
  EXPECT_EQ(Listed(), Names{});
  EXPECT_FALSE(window.ConversionStart.Enabled());
}

TEST_F(BrowserTest, FolderPathEndsInOneSeparator) {
  StartIn(u"C:\\");
  EXPECT_EQ(window.State().folderPath, u"c:\\");
  window.DirList.SetPath(u"c:\\Work");
  EXPECT_EQ(window.State().folderPath, u"c:\\Work\\");
  EXPECT_EQ(window.FileList.Path(), u"c:\\Work");
  EXPECT_EQ(Listed(), (Names{u"A.TXT", u"b.txt"}));
}

TEST_F(BrowserTest, UnreadableOrVanishedFolderListsNothing) {
  StartIn(u"C:\\Work");
  platform.files.unreadableFolders.insert(u"c:\\Work");
  window.RefreshEntryList();
  EXPECT_EQ(Listed(), Names{});
  EXPECT_EQ(window.State().entryCount, 0);
  EXPECT_FALSE(window.ConversionStart.Enabled());
}

// A folder too large to build entry by entry in the fake.
class LargeFolder : public FakeFileSystem {
 public:
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folder, std::uint16_t mask) override {
    if (folder != u"c:\\Big\\") return FakeFileSystem::Enumerate(folder, mask);
    std::vector<std::u16string> names{u".", u".."};
    for (int i = 0; i < 33000; ++i) names.push_back(u"f" + U16(std::to_string(i)));
    return names;
  }
};

TEST(BrowserLimits, MoreThan32767EntriesAreAllListed) {
  FakePlatform platform;
  LargeFolder files;
  files.AddDirectory(u"c:\\Big");
  MainWindow window(Services{files, platform.messages, platform.settings, platform.environment, platform.desktop,
                             platform.folderPicker, platform.codePage, platform.treeLister, platform.fileReader,
                             platform.windows});
  platform.settings.values[u"ZEFTA\\SYSTEM\\DRV"] = u"C:\\Big";
  window.Load();
  EXPECT_EQ(window.State().entryCount, 33000);
  EXPECT_EQ(window.List.Count(), 33000);
  EXPECT_TRUE(window.ConversionStart.Enabled());
}

TEST_F(BrowserTest, UnreadableDriveReturnsToTheLastDrive) {
  StartIn(u"C:\\Work");
  platform.files.unreadableDrives.insert(u"d:");
  window.DriveList.SetListIndex(1);
  ASSERT_EQ(platform.messages.shown.size(), 1u);
  const auto& box = platform.messages.shown[0];
  EXPECT_EQ(box.text, U16("ドライブ情報が読み取れないので前回のドライブに戻します。"));
  EXPECT_EQ(box.title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(platform.desktop.fronted.empty());
  EXPECT_EQ(window.DriveList.ListIndex(), 0);
  EXPECT_EQ(window.State().lastDriveIndex, 0);
  // The drive shows its current folder again, as for a drive the user picks.
  EXPECT_EQ(window.DirList.Path(), u"c:\\");
  EXPECT_EQ(Listed(), Names{u"Root.txt"});

  platform.files.unreadableDrives.clear();
  // A readable drive is remembered as the one to return to.
  window.DriveList.SetListIndex(1);
  EXPECT_EQ(window.State().lastDriveIndex, 1);
  EXPECT_EQ(Listed(), Names{u"OnD.txt"});
}

TEST_F(BrowserTest, ReturnToAnUnreadableLastDriveEnds) {
  StartIn(u"C:\\Work");
  platform.files.unreadableDrives = {u"c:", u"d:"};
  window.DriveList.SetListIndex(1);
  // One box for each drive, then the list stays at the last drive.
  EXPECT_EQ(platform.messages.shown.size(), 2u);
  EXPECT_EQ(window.DriveList.ListIndex(), 0);
  EXPECT_EQ(window.State().lastDriveIndex, 0);
}

TEST_F(BrowserTest, FileListDoubleClickRunsOnlyAfterARunTookUpEntries) {
  StartIn(u"C:\\Work");
  Select({u"A.TXT"});
  window.FileList.DblClick();
  EXPECT_TRUE(platform.files.renameCalls.empty());
  EXPECT_EQ(window.List.SelectedIndexes().size(), 1u);

  // A run that took up an entry already in case: the counter is no longer 0.
  window.List.SetSelected(0, false);
  Select({u"b.txt"});
  window.ConversionStart.Click();
  EXPECT_EQ(window.State().processedCount.Value(), 1);
  Select({u"A.TXT"});
  window.FileList.DblClick();
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Work\\a.txt"), u"c:\\Work\\a.txt");
}

}  // namespace
}  // namespace zefta

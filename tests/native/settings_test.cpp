// Loading and saving the seven options, and the decoding of stored texts.
#include <gtest/gtest.h>

#include "main_window_harness.h"
#include "settings/setting_values.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;

TEST(SettingValues, IntegerRule) {
  struct Case {
    const char16_t* text;
    std::optional<std::int16_t> value;
  };
  const Case cases[] = {
      {u"0", 0},         {u"1", 1},          {u"  7  ", 7},     {u"-1", -1},    {u"+5", 5},
      {u"32767", 32767}, {u"-32768", -32768}, {u"32768", {}},   {u"-32769", {}}, {u"99999999999", {}},
      {u"x", {}},        {u"", {}},          {u"   ", {}},      {u"1 2", {}},   {u"1.5", {}},
      {u"-", {}},        {u"1x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSettingInteger(c.text), c.value) << U8(c.text);
  // The field's blank padding is accepted.
  EXPECT_EQ(ParseSettingInteger(FillSettingBuffer(u"2")), 2);
}

TEST(SettingValues, BufferTrimAndDriveSplit) {
  const std::u16string longValue = u"C:\\" + std::u16string(297, u'a');
  EXPECT_EQ(FillSettingBuffer(longValue), longValue.substr(0, 256));
  EXPECT_EQ(FillSettingBuffer(u"ab"), u"ab" + std::u16string(254, u' '));
  EXPECT_EQ(TrimTrailingBlanks(u" a b  "), u" a b");
  EXPECT_EQ(TrimTrailingBlanks(u"   "), u"");
  EXPECT_EQ(SplitDriveSetting(longValue).drive, u"C:");
  EXPECT_EQ(SplitDriveSetting(longValue).directory, u"\\" + std::u16string(127, u'a'));
  EXPECT_EQ(SplitDriveSetting(u"C").directory, u"");
}

const char16_t* const kOptionKeys[] = {u"STTPOS", u"MSG", u"MARK", u"DIR", u"SMALL", u"EXT"};

// STTPOS, MSG, MARK as checked; DIR, SMALL, EXT as states.
std::vector<int> Applied(const MainWindow& w) {
  return {w.SMenuStartPosition.Checked(), w.SMenuMsgOn.Checked(), w.SMenuCfgSelectMark.Checked(),
          w.DirCheck.Value(),           w.SmallCheck.Value(),  w.ExtCheck.Value()};
}

class SettingsTest : public ::testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override { platform.files.AddDirectory(u"d:\\Data"); }
  std::vector<int> Applied() const { return zefta::Applied(window); }
};

TEST_F(SettingsTest, NoStoredSettingsGiveTheDefaults) {
  window.Load();
  EXPECT_EQ(window.DirList.Path(), u"c:\\");
  EXPECT_EQ(window.DriveList.Drive(), u"c:");
  EXPECT_EQ(Applied(), (std::vector<int>{1, 1, 0, 0, 0, 0}));
  // Centred 150 twips above the middle of the fake's 15360 x 11520 screen.
  EXPECT_EQ(window.Left(), 7680);
  EXPECT_EQ(window.Top(), 5610);
}

TEST_F(SettingsTest, DriveAndDirectoryFallbacks) {
  const std::u16string longDir(127, u'a');
  platform.files.AddDirectory(u"c:\\" + longDir);
  struct Case {
    std::u16string drv;
    std::u16string folder;
  };
  const Case cases[] = {
      {u"D:\\Data", u"d:\\Data"},
      {u"D:\\Data\\Removed", u"d:\\"},           // directory gone: root of the saved drive
      {u"Q:\\Data", u"c:\\"},                    // drive gone: root of C:
      {u"C:\\" + longDir + std::u16string(170, u'b'), u"c:\\" + longDir},  // cut to 256, then to 128
      {u"   ", u"c:\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.drv));
    MainWindowHarness h;
    h.platform.files = platform.files;
    h.Store(u"DRV", c.drv);
    h.Store(u"STTPOS", u"0");
    h.Store(u"EXT", u"1");
    h.window.Load();
    EXPECT_EQ(h.window.DirList.Path(), c.folder);
    // The remaining settings are applied normally.
    EXPECT_FALSE(h.window.SMenuStartPosition.Checked());
    EXPECT_EQ(h.window.ExtCheck.Value(), 1);
  }
}

TEST_F(SettingsTest, FallbackIsTriedOnceOnly) {
  platform.files.drives = {u"d:"};
  Store(u"DRV", u"Q:\\");
  window.Load();
  // Neither Q: nor C: exists: loading ends at the drive step.
  EXPECT_EQ(Applied(), (std::vector<int>{0, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsTest, UnreadableSavedDriveReturnsToTheFirstDrive) {
  platform.files.unreadableDrives.insert(u"d:");
  Store(u"DRV", u"D:\\Data");
  window.Load();
  EXPECT_EQ(platform.messages.shown.size(), 1u);
  EXPECT_EQ(window.DriveList.ListIndex(), 0);
  EXPECT_EQ(window.DirList.Path(), u"c:\\");
  EXPECT_EQ(Applied(), (std::vector<int>{1, 1, 0, 0, 0, 0}));
}

TEST_F(SettingsTest, ValuesAndWhereABadOneEndsTheLoading) {
  struct Case {
    std::vector<std::u16string> stored;  // STTPOS MSG MARK DIR SMALL EXT
    std::vector<int> applied;
  };
  const Case cases[] = {
      {{u"0", u"1", u"1", u"1", u"1", u"1"}, {0, 1, 1, 1, 1, 1}},
      {{u"7", u"-1", u"0", u"0", u"0", u"0"}, {1, 1, 0, 0, 0, 0}},
      {{u" 1 ", u"0", u"0", u"2", u"1", u"2"}, {1, 0, 0, 2, 1, 2}},
      {{u"x", u"1", u"1", u"1", u"1", u"1"}, {0, 0, 0, 0, 0, 0}},
      {{u"1", u"1", u"1", u"3", u"1", u"1"}, {1, 1, 1, 0, 0, 0}},
      {{u"1", u"1", u"40000", u"1", u"1", u"1"}, {1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.stored[0] + u"," + c.stored[1] + u"," + c.stored[2] + u"," + c.stored[3]));
    MainWindowHarness h;
    h.platform.files = platform.files;
    for (std::size_t i = 0; i < 6; ++i) h.Store(kOptionKeys[i], c.stored[i]);
    h.window.Load();
    EXPECT_EQ(zefta::Applied(h.window), c.applied);
  }
}

TEST_F(SettingsTest, EachWayOfClosingWritesAllSevenKeysOnceAndEnds) {
  for (bool viaMenu : {false, true}) {
    SCOPED_TRACE(viaMenu ? "ProcEnd" : "close box");
    MainWindowHarness h;
    h.platform.files = platform.files;
    h.Store(u"DRV", u"D:\\Data");
    const std::u16string stored[] = {u"7", u"-1", u"0", u"2", u"1", u"0"};
    for (std::size_t i = 0; i < 6; ++i) h.Store(kOptionKeys[i], stored[i]);
    h.window.Load();
    EXPECT_TRUE(h.platform.settings.writes.empty());
    if (viaMenu) h.window.ProcEnd.UserClick();
    else EXPECT_TRUE(h.window.QueryUnload());
    EXPECT_TRUE(h.platform.desktop.ended);
    EXPECT_EQ(h.platform.settings.writes,
              (std::vector<std::u16string>{u"DRV", u"STTPOS", u"MSG", u"MARK", u"DIR", u"SMALL", u"EXT"}));
    // Menu keys go back as 1 or 0, check boxes as their state.
    const std::u16string written[] = {u"1", u"1", u"0", u"2", u"1", u"0"};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(h.Stored(kOptionKeys[i]), written[i]) << U8(kOptionKeys[i]);
    EXPECT_EQ(h.Stored(u"DRV"), u"d:\\Data");
  }
}

}  // namespace
}  // namespace zefta

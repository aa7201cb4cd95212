// The seven options: stored texts decoded, applied at start with their
// fallbacks, and written back at the end.
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "settings/settings.h"

namespace zefta {
namespace {

using namespace zefta::testing;

const char16_t* const kOptionKeys[] = {u"STTPOS", u"MSG", u"MARK", u"DIR", u"SMALL", u"EXT"};

// STTPOS, MSG, MARK as checked; DIR, SMALL, EXT as states.
std::vector<int> Applied(const MainWindow& w) {
  return {w.SMenuStartPosition.Checked(), w.SMenuMsgOn.Checked(), w.SMenuCfgSelectMark.Checked(),
          w.DirCheck.Value(),           w.SmallCheck.Value(),  w.ExtCheck.Value()};
}

// The folder falls back to the root of its drive, then of C:; the options
// are applied in order until one is refused, the rest left at their defaults.
TEST(SettingsStore, StoredValuesAreAppliedWithTheirFallbacks) {
  const std::u16string longDir(127, u'a');
  const struct {
    std::u16string drv;
    std::vector<std::u16string> options;  // STTPOS, MSG, MARK, DIR, SMALL, EXT
    std::u16string folder;
    std::vector<int> applied;
  } cases[] = {
      {u"D:\\Data   ", {u"0", u"1", u"0", u"0", u"0", u"1"}, u"d:\\Data", {0, 1, 0, 0, 0, 1}},
      {u"D:\\Data\\Removed", {}, u"d:\\", {1, 1, 0, 0, 0, 0}},  // a saved folder that is gone
      {u"Q:\\Data", {}, u"c:\\", {1, 1, 0, 0, 0, 0}},           // a saved drive that is gone
      {u"C:\\" + longDir + std::u16string(170, u'b'), {}, u"c:\\" + longDir, {1, 1, 0, 0, 0, 0}},  // cut to 256, then to 128
      {u"   ", {}, u"c:\\", {1, 1, 0, 0, 0, 0}},
      {u"", {u"0", u"1", u"1", u"1", u"1", u"1"}, u"c:\\", {0, 1, 1, 1, 1, 1}},
      {u"", {u"7", u"-1", u"0", u"2", u"1", u"2"}, u"c:\\", {1, 1, 0, 2, 1, 2}},
      {u"", {u"x", u"1", u"1", u"1", u"1", u"1"}, u"c:\\", {0, 0, 0, 0, 0, 0}},
      {u"", {u"1", u"1", u"1", u"3", u"1", u"1"}, u"c:\\", {1, 1, 1, 0, 0, 0}},
      {u"", {u"1", u"1", u"40000", u"1", u"1", u"1"}, u"c:\\", {1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    MainWindowFixture f;
    f.platform.files.AddDirectory(u"d:\\Data");
    f.platform.files.AddDirectory(u"c:\\" + longDir);
    if (!c.drv.empty()) f.Store(u"DRV", c.drv);
    for (std::size_t i = 0; i < c.options.size(); ++i) f.Store(kOptionKeys[i], c.options[i]);
    f.window.Load();
    EXPECT_EQ(f.window.DirList.Path(), c.folder) << U8(c.drv) << c.options.size();
    EXPECT_EQ(Applied(f.window), c.applied) << U8(c.drv) << c.options.size();
  }
  MainWindowFixture neither;  // neither Q: nor C:: the loading ends at the drive
  neither.platform.files.drives = {u"d:"};
  neither.Store(u"DRV", u"Q:\\");
  neither.window.Load();
  EXPECT_EQ(Applied(neither.window), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  MainWindowFixture unreadable;  // a saved drive without a medium: back to the first drive
  unreadable.platform.files.AddDirectory(u"d:\\Data");
  unreadable.platform.files.unreadableDrives.insert(u"d:");
  unreadable.Store(u"DRV", u"D:\\Data");
  unreadable.window.Load();
  EXPECT_EQ(unreadable.platform.messages.shown.size(), 1u);
  EXPECT_EQ(unreadable.window.DirList.Path(), u"c:\\");
  EXPECT_EQ(Applied(unreadable.window), (std::vector<int>{1, 1, 0, 0, 0, 0}));
}

TEST(SettingsStore, EachWayOfClosingWritesAllSevenKeysOnceAndEnds) {
  for (bool viaMenu : {false, true}) {
    MainWindowFixture f;
    f.platform.files.AddDirectory(u"d:\\Data");
    f.Store(u"DRV", u"D:\\Data");
    const std::u16string stored[] = {u"7", u"-1", u"0", u"2", u"1", u"0"};
    for (std::size_t i = 0; i < 6; ++i) f.Store(kOptionKeys[i], stored[i]);
    f.window.Load();
    EXPECT_TRUE(f.platform.settings.writes.empty());
    if (viaMenu) f.window.ProcEnd.UserClick();
    else EXPECT_TRUE(f.window.QueryUnload());
    EXPECT_TRUE(f.platform.desktop.ended);
    EXPECT_EQ(f.platform.settings.writes, (Names{u"DRV", u"STTPOS", u"MSG", u"MARK", u"DIR", u"SMALL", u"EXT"}));
    const std::u16string written[] = {u"1", u"1", u"0", u"2", u"1", u"0"};  // menus as 1 or 0
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(f.Stored(kOptionKeys[i]), written[i]) << U8(kOptionKeys[i]);
    EXPECT_EQ(f.Stored(u"DRV"), u"d:\\Data");
  }
}

}  // namespace
}  // namespace zefta

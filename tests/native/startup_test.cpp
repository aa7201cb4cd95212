// Start-up: the command line, the previous instance and the Load steps.
#include <gtest/gtest.h>

#include "main_window_harness.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;

TEST(Startup, ClearOptionMatchesTheWholeArgumentTextOnly) {
  struct Case {
    const char16_t* arguments;
    bool clears;
  };
  const Case cases[] = {
      {u"/CLEAR", true},   {u"/clear", true},     {u"/Clear", true},  {u"/CLEAR ", false},
      {u" /CLEAR", false}, {u"/clear x", false},  {u"/CLEARX", false}, {u"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.arguments));
    MainWindowHarness h;
    h.Store(u"DIR", u"1");
    h.platform.environment.arguments = c.arguments;
    // The option wins even while another instance runs.
    if (c.clears) h.platform.desktop.openTitles.insert(u"SORVEL");
    EXPECT_EQ(h.window.Initialize(), !c.clears);
    EXPECT_EQ(h.platform.settings.deletions, c.clears ? 1 : 0);
    EXPECT_EQ(h.Stored(u"DIR"), c.clears ? u"<none>" : u"1");
    EXPECT_EQ(h.platform.desktop.ended, c.clears);
    EXPECT_TRUE(h.platform.messages.shown.empty());
    EXPECT_TRUE(h.platform.settings.writes.empty());
  }
}

TEST(Startup, PreviousInstanceEndsWithANotice) {
  MainWindowHarness h;
  h.platform.desktop.openTitles.insert(u"SORVEL");
  EXPECT_FALSE(h.window.Initialize());
  EXPECT_TRUE(h.platform.desktop.ended);
  ASSERT_EQ(h.platform.messages.shown.size(), 1u);
  const auto& box = h.platform.messages.shown[0];
  EXPECT_EQ(box.text, U16("すでに起動されているので終了します。"));
  EXPECT_EQ(box.title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(box.icon, MessageIcon::Information);
  EXPECT_EQ(h.platform.settings.deletions, 0);
  EXPECT_TRUE(h.platform.settings.writes.empty());
}

TEST(Startup, LoadPreparesTheWindow) {
  for (bool tempSet : {true, false}) {
    MainWindowHarness h;
    if (tempSet) h.platform.environment.variables[u"TEMP"] = u"C:\\Temp\\";
    h.platform.files.AddFile(u"d:\\a.txt");
    h.platform.files.AddDirectory(u"d:\\sub");
    h.Store(u"DRV", u"D:\\");
    h.Store(u"STTPOS", u"0");
    h.Store(u"DIR", u"2");  // grey: the filter stays at files only
    h.window.Load();
    EXPECT_EQ(h.window.CaptionText(), u"SORVEL");
    EXPECT_EQ(h.window.State().tempDir, tempSet ? u"C:\\Temp\\" : u"");
    EXPECT_EQ(h.window.StatusBar.Text(), u"");
    EXPECT_TRUE(h.window.StatusBar.Spring());
    EXPECT_EQ(h.window.Left(), 0);  // not centred
    EXPECT_EQ(h.window.State().lastDriveIndex, 1);
    EXPECT_EQ(h.window.State().processedCount.Value(), 0);
    EXPECT_EQ(h.Listed(), std::vector<std::u16string>{u"a.txt"});
    EXPECT_TRUE(h.window.ConversionStart.Enabled());
  }
}

}  // namespace
}  // namespace zefta

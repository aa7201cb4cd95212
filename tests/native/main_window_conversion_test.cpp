// Converting the selected entries: counts, messages, refresh decisions and
// the events handled while the run yields.
#include <gtest/gtest.h>

#include "main_window_harness.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;
using Names = std::vector<std::u16string>;

class ConversionTest : public ::testing::Test, protected MainWindowHarness {
 protected:
  void SetUp() override {
    for (auto name : {u"done.txt", u"UPPER.TXT", u"REFUSED.TXT", u"OTHER.TXT"})
      platform.files.AddFile(u"c:\\Work\\" + std::u16string(name));
    platform.files.AddFile(u"c:\\Else\\ELSE.TXT");
    platform.files.refusedRenames.insert(u"c:\\Work\\REFUSED.TXT");
    StartIn(u"C:\\Work");  // lower case, whole name, completion message on
  }
  std::vector<ShownMessage>& Shown() { return platform.messages.shown; }
};

TEST_F(ConversionTest, MixedRunReportsOneFailureThenTheCountsAndRefills) {
  Select({u"done.txt", u"UPPER.TXT", u"REFUSED.TXT"});
  window.ConversionStart.Click();

  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].text, U16("ファイル名の変更に失敗しました。"));
  EXPECT_EQ(Shown()[1].text, U16("3ファイル中、1ファイルを変換しました。"));
  EXPECT_EQ(Shown()[1].title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(Shown()[1].icon, MessageIcon::Information);
  // Fronted once for the failure box and once for the completion box.
  EXPECT_EQ(platform.desktop.fronted, (std::vector<WindowHandle>{42, 42}));
  EXPECT_EQ(window.State().processedCount.Value(), 3);
  EXPECT_EQ(window.State().convertedCount.Value(), 1);
  // Only the entries that needed it were tried.
  EXPECT_EQ(platform.files.renameCalls.size(), 2u);
  // Refilled: new spelling shown, selection gone.
  EXPECT_EQ(Listed(), (Names{u"done.txt", u"OTHER.TXT", u"REFUSED.TXT", u"upper.txt"}));
  EXPECT_TRUE(window.List.SelectedIndexes().empty());
  // The event loop ran once per index, selected or not.
  EXPECT_EQ(platform.desktop.doEventsCalls, 4);
  EXPECT_EQ(platform.desktop.pointerHistory, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

TEST_F(ConversionTest, NoMessageOrRefreshDecisions) {
  struct Case {
    const char* what;
    Names selected;
    bool msgOn;
    int messages;
    bool refreshed;
  };
  const Case cases[] = {
      {"converted, message off", {u"UPPER.TXT"}, false, 0, true},
      {"nothing selected", {}, true, 0, false},
      {"all already in case", {u"done.txt"}, true, 0, false},
      {"every rename failed", {u"REFUSED.TXT"}, true, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MainWindowHarness h;
    h.platform.files = platform.files;
    h.StartIn(u"C:\\Work");
    h.window.SMenuMsgOn.SetChecked(c.msgOn);
    h.Select(c.selected);
    h.window.ConversionStart.Click();
    EXPECT_EQ(static_cast<int>(h.platform.messages.shown.size()), c.messages);
    // A refill drops the selection; without one it stays as it was.
    EXPECT_EQ(h.window.List.SelectedIndexes().empty(), c.refreshed || c.selected.empty());
    EXPECT_EQ(h.window.State().processedCount.Value(), static_cast<int>(c.selected.size()));
  }
}

TEST_F(ConversionTest, OptionsAreDisabledOnlyDuringTheLoop) {
  std::vector<bool> during;
  platform.desktop.events.push_back([&] {
    during = {window.DirCheck.Enabled(), window.SmallCheck.Enabled(), window.ProcEnd.Enabled(),
              window.ExtCheck.Enabled(), window.ConversionStart.Enabled()};
  });
  Select({u"UPPER.TXT"});
  window.ConversionStart.Click();
  EXPECT_EQ(during, (std::vector<bool>{false, false, false, true, true}));
  EXPECT_TRUE(window.DirCheck.Enabled() && window.SmallCheck.Enabled() && window.ProcEnd.Enabled());
}

TEST_F(ConversionTest, ExtCheckChangedBetweenEntriesAppliesToTheNextOne) {
  platform.files.AddFile(u"c:\\Work\\AB.TXT");
  platform.files.AddFile(u"c:\\Work\\CD.TXT");
  window.RefreshEntryList();
  Select({u"AB.TXT", u"CD.TXT"});
  platform.desktop.events.push_back([&] { window.ExtCheck.UserClick(); });
  window.ConversionStart.Click();
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Work\\ab.txt"), u"c:\\Work\\ab.txt");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Work\\cd.txt"), u"c:\\Work\\CD.txt");
}

TEST_F(ConversionTest, SecondStartDuringARunIsIgnored) {
  Select({u"UPPER.TXT", u"OTHER.TXT"});
  platform.desktop.events.push_back([&] {
    window.ConversionStart.Click();
    window.List.DblClick();
  });
  window.ConversionStart.Click();
  EXPECT_EQ(platform.files.renameCalls.size(), 2u);
  EXPECT_EQ(window.State().processedCount.Value(), 2);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, U16("2ファイル中、2ファイルを変換しました。"));
  // Once the run is over, a start works again.
  window.List.DblClick();
  EXPECT_EQ(window.State().processedCount.Value(), 0);
}

TEST_F(ConversionTest, FolderChangedDuringTheRunDoesNotRedirectIt) {
  Select({u"done.txt", u"UPPER.TXT"});
  // The user opens another folder between the first and the second entry.
  platform.desktop.events.push_back([&] { window.DirList.SetPath(u"c:\\Else"); });
  window.ConversionStart.Click();
  ASSERT_EQ(platform.files.renameCalls.size(), 1u);
  EXPECT_EQ(platform.files.renameCalls[0].first, u"c:\\Work\\UPPER.TXT");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Else\\else.txt"), u"c:\\Else\\ELSE.TXT");
  EXPECT_TRUE(Shown().size() == 1u && Shown()[0].icon == MessageIcon::Information);
}

}  // namespace
}  // namespace zefta

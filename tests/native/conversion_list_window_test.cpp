// The whole-tree command and the conversion list window on fake services.
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "modules/messages.h"
#include "forms/conversion_list_window.h"
#include "forms/main_window_texts.h"
#include "forms/progress_texts.h"
#include "forms/progress_window.h"

namespace zefta {
namespace {

using namespace zefta::testing;

struct ListWindowFixture : MainWindowFixture {
  // The command on picked; react runs on the list window while it is shown.
  void Command(const std::u16string& picked, std::function<void(ConversionListWindow&)> react) {
    platform.folderPicker.result = picked;
    platform.windows.onShown = [react](Form& form) {
      if (react) react(dynamic_cast<ConversionListWindow&>(form));
    };
    window.SMenuAllChange_Click();
  }
};

struct ConversionListWindowTest : ::testing::Test, ListWindowFixture {};

TEST_F(ConversionListWindowTest, TheCommandListsThePickedTreeAndALongListingCanBeStopped) {
  platform.files.AddFile(u"c:\\DATA\\a.txt");
  platform.files.AddFile(u"c:\\DATA\\Sub\\b.txt");
  const struct {
    std::u16string picked;
    int dirCheck;
    std::u16string top;
  } cases[] = {{u"C:\\", 0, u"C:"}, {u"c:\\DATA", 1, u"c:\\DATA"}, {u"D:\\Café 한\\", 1, u"D:\\Café 한"}};
  for (const auto& c : cases) {
    platform.treeLister.calls.clear();
    platform.desktop.pointers.clear();
    window.DirCheck.SetValue(c.dirCheck);
    Command(c.picked, nullptr);
    EXPECT_EQ(platform.treeLister.calls, (std::vector<std::pair<std::u16string, bool>>{{c.top, c.dirCheck == 1}}));
    EXPECT_EQ(platform.desktop.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
  }
  EXPECT_EQ(platform.windows.shown, 3);
  Command(u"", nullptr);  // cancelled: nothing at all
  EXPECT_EQ(platform.folderPicker.titles.back(), main_texts::kFolderPickerTitle);
  EXPECT_EQ(platform.windows.shown, 3);

  // A listing that takes a while shows its progress; キャンセル (or Esc) ends it with no list window.
  platform.treeLister.questions = 5;
  for (bool escape : {false, true}) {
    int asked = 0;
    platform.windows.onWait = [&](Form& form) {
      auto& progress = dynamic_cast<ProgressWindow&>(form);
      if (++asked < 4) return;
      EXPECT_EQ(progress.Activity.Text(), progress_texts::kListingBefore + std::u16string(u"3") + progress_texts::kCountAfter);
      if (escape) EXPECT_TRUE(progress.Escape());
      else progress.Cancel.Click();
    };
    platform.treeLister.cancelled = false;
    Command(u"c:\\DATA", nullptr);
    EXPECT_TRUE(platform.treeLister.cancelled);
    EXPECT_EQ(platform.windows.shown, 3);
    EXPECT_EQ(platform.desktop.pointer, Pointer::Arrow);
  }
  EXPECT_TRUE(platform.files.moves.empty());
}

TEST_F(ConversionListWindowTest, LoadsEveryEntryIntoTheListInUseCheckedInChoiceModeAndNamesWhatItCouldNotRead) {
  platform.files.AddFile(u"c:\\DATA\\A.TXT");
  platform.files.AddFile(u"c:\\DATA\\Sub\\b.txt");
  platform.files.AddFile(u"c:\\DATA\\Locked\\c.txt");
  platform.files.unreadableFolders = {u"c:\\DATA\\Locked"};
  for (bool choice : {false, true}) {
    ListWindowFixture t;
    t.platform.files = platform.files;
    t.window.SMenuCfgSelectMark.SetChecked(choice);
    t.Command(u"c:\\DATA", [&](ConversionListWindow& w) {
      ListBox& used = w.ChangeFileList(choice ? 1 : 0);
      EXPECT_EQ(used.Count(), 2);
      EXPECT_EQ(used.Item(0), u"c:\\DATA\\A.TXT");
      EXPECT_EQ(used.Item(1), u"c:\\DATA\\Sub\\b.txt");
      EXPECT_EQ(w.ChangeFileList(choice ? 0 : 1).Count(), 0);
      EXPECT_TRUE(used.Visible() && !w.ChangeFileList(choice ? 0 : 1).Visible() && !w.ChangeFileListTitle.Visible());
      EXPECT_EQ(used.SelectedIndexes(), (choice ? std::vector<int>{0, 1} : std::vector<int>{}));
      EXPECT_EQ(used.ListIndex(), choice ? 0 : -1);
      EXPECT_EQ(w.Left(), 15360 / 2);  // centred at every load
      w.Cancel.Click();
    });
    EXPECT_TRUE(t.platform.windows.lastUnloaded && t.platform.files.moves.empty());
    EXPECT_EQ(t.Texts(), Names{progress_texts::kUnreadableBefore + std::u16string(u"1") +
                               progress_texts::kUnreadableAfter + u"\nc:\\DATA\\Locked"});
    t.platform.files.AddDirectory(u"c:\\Empty");
    t.Command(u"c:\\Empty", [](ConversionListWindow& w) { EXPECT_FALSE(w.ChangeStart.Enabled()); });
  }
}

TEST_F(ConversionListWindowTest, TheRunWalksDownTheListUntilItEndsOrCancelStopsIt) {
  platform.files.AddDirectory(u"C:\\T\\SUB");
  platform.files.AddFile(u"C:\\T\\SUB\\B.TXT");
  platform.files.AddFile(u"C:\\T\\SUB\\C.TXT");
  window.SmallCheck.SetValue(1);
  window.DirCheck.SetValue(1);
  window.SMenuCfgSelectMark.SetChecked(true);
  window.SMenuMsgOn.SetChecked(true);
  std::vector<bool> closable;
  Command(u"C:\\T", [&](ConversionListWindow& w) {
    platform.desktop.events = {[&] {
      w.ChangeStart.Click();  // neither a second run nor closing under this one
      closable.push_back(w.QueryUnload());
      EXPECT_EQ(w.ChangeFileList1.ListIndex(), 0);
      EXPECT_FALSE(w.ChangeFileList1.Selected(0));
    }, [&] { w.Cancel.Click(); }};  // stops the run after the entry at hand
    w.ChangeStart.Click();
    closable.push_back(w.QueryUnload());
    EXPECT_EQ(w.ChangeFileList1.ListIndex(), 1);
    EXPECT_EQ(w.ChangeFileList1.SelectedIndexes(), std::vector<int>{2});
  });
  EXPECT_EQ(closable, (std::vector<bool>{false, true}));
  EXPECT_TRUE(platform.windows.lastUnloaded);
  EXPECT_EQ(Texts(), Names{kStoppedText + std::u16string(u"\n2ファイル中、2ファイルを変換しました。")});
  // The folder first; then its file through the folder's old spelling.
  ASSERT_FALSE(platform.files.moves.empty());
  EXPECT_EQ(platform.files.moves.front().first, u"C:\\T\\SUB");
  EXPECT_EQ(platform.files.moves.back(), std::make_pair(std::u16string(u"C:\\T\\SUB\\B.TXT"), std::u16string(u"C:\\T\\SUB\\b.txt")));
  EXPECT_EQ(platform.files.ActualPath(u"c:\\t\\sub\\c.txt"), u"c:\\T\\sub\\C.TXT");  // after the stop
  EXPECT_EQ(platform.desktop.beeps, 1);
}

}  // namespace
}  // namespace zefta

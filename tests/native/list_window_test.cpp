// The whole-tree command and the conversion list window on fake services.
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "modules/messages.h"
#include "modules/utf8.h"
#include "windows/conversion_list_texts.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window_texts.h"

namespace zefta {
namespace {

using namespace zefta::testing;

struct ListWindowFixture : MainWindowFixture {
  ListWindowFixture() { window.State().tempDir = u"C:\\TEMP"; }
  // The command on picked, the library writing lines for the list file.
  void Command(const std::u16string& picked, std::string lines, std::function<void(ConversionListWindow&)> react) {
    platform.folderPicker.result = picked;
    platform.treeLister.onCall = [this, lines] { platform.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = lines; };
    platform.windows.onShown = [react](Form& form) { react(dynamic_cast<ConversionListWindow&>(form)); };
    window.SMenuAllChange_Click();
  }
};

struct ListWindowTest : ::testing::Test, ListWindowFixture {};

TEST_F(ListWindowTest, TheCommandListsThePickedTreeInTheModeDirCheckSays) {
  const struct {
    std::u16string picked;
    int dirCheck;
    std::string directory;
    int mode;
  } cases[] = {{u"C:\\", 0, "C:", 0x102}, {u"C:\\DATA", 1, "C:\\DATA", 0x104}, {u"D:\\Café 한\\", 1, "D:\\Café 한", 0x104}};
  for (const auto& c : cases) {
    ListWindowFixture t;
    t.window.DirCheck.SetValue(c.dirCheck);
    std::vector<Pointer> atShow;
    // The picked tree's line, and one of another tree that a list file left by an earlier run still holds.
    t.Command(c.picked, "\"" + c.directory + "\", \"a.txt\"\r\n\"E:\\OLD\", \"b.txt\"\r\n", [&](ConversionListWindow& w) {
      atShow.push_back(t.platform.desktop.pointer);
      EXPECT_EQ(w.ChangeFileList0.Items(), Names{*FromUtf8(c.directory + "\\a.txt")});
    });
    ASSERT_EQ(t.platform.treeLister.calls.size(), 1u);
    EXPECT_EQ(t.platform.treeLister.calls[0].mode, c.mode);
    EXPECT_EQ(t.platform.treeLister.calls[0].directory, c.directory);
    EXPECT_EQ(t.platform.treeLister.calls[0].listPath, "C:\\TEMP\\ZEFTA.TMP");
    EXPECT_EQ(t.platform.desktop.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    EXPECT_EQ(atShow, std::vector<Pointer>{Pointer::Arrow});
  }
  Command(u"", "", nullptr);  // cancelled: nothing at all
  EXPECT_EQ(platform.folderPicker.titles.back(), main_texts::kFolderPickerTitle);
  // A folder whose name has no UTF-8 form: nothing listed, nothing of an earlier list shown.
  platform.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = "\"C:\\a\", \"b.txt\"\r\n";
  Command(u"C:\\a\xD800", "", [](ConversionListWindow& w) { EXPECT_FALSE(w.ChangeStart.Enabled()); });
  EXPECT_TRUE(platform.treeLister.calls.empty());
  platform.treeLister.available = false;
  Command(u"C:\\DATA", "", nullptr);
  EXPECT_EQ(platform.windows.shown, 1);
  EXPECT_EQ(Texts(), Names{conversion_list_texts::kLibraryMissing});
}

TEST_F(ListWindowTest, LoadsEveryEntryIntoTheListInUseCheckedInChoiceMode) {
  for (bool choice : {false, true}) {
    ListWindowFixture t;
    t.window.SMenuCfgSelectMark.SetChecked(choice);
    t.Command(u"C:\\DATA", "\"C:\\DATA\", \"A.TXT\"\r\n\"c:\\data\\Sub\", \"b.txt\"\r\n", [&](ConversionListWindow& w) {
      ListBox& used = w.ChangeFileList(choice ? 1 : 0);
      EXPECT_EQ(used.Items(), (Names{u"C:\\DATA\\A.TXT", u"c:\\data\\Sub\\b.txt"}));
      EXPECT_EQ(w.ChangeFileList(choice ? 0 : 1).Count(), 0);
      EXPECT_TRUE(used.Visible() && !w.ChangeFileList(choice ? 0 : 1).Visible() && !w.ChangeFileListTitle.Visible());
      EXPECT_EQ(used.SelectedIndexes(), (choice ? std::vector<int>{0, 1} : std::vector<int>{}));
      EXPECT_EQ(used.ListIndex(), choice ? 0 : -1);
      EXPECT_EQ(w.Left(), 15360 / 2);  // centred at every load
      w.Cancel.Click();
    });
    EXPECT_TRUE(t.platform.windows.lastUnloaded && t.platform.files.moves.empty());
    for (const std::string lines : {"", "\"E:\\OLD\", \"b.txt\"\r\n"}) {  // nothing of the picked tree
      t.Command(u"C:\\DATA", lines, [](ConversionListWindow& w) { EXPECT_FALSE(w.ChangeStart.Enabled()); });
    }
  }
}

TEST_F(ListWindowTest, TheRunWalksDownTheListAndKeepsTheWindowOpenUntilItEnds) {
  platform.files.AddDirectory(u"C:\\T\\SUB");
  platform.files.AddFile(u"C:\\T\\SUB\\B.TXT");
  platform.files.AddFile(u"C:\\T\\SUB\\C.TXT");
  window.SmallCheck.SetValue(1);
  window.SMenuCfgSelectMark.SetChecked(true);
  std::vector<bool> closable;
  Command(u"C:\\T", "\"C:\\T\", \"SUB\"\r\n\"C:\\T\\SUB\", \"B.TXT\"\r\n\"C:\\T\\SUB\", \"C.TXT\"\r\n",
          [&](ConversionListWindow& w) {
            w.ChangeFileList1.SetSelected(2, false);  // the user takes off one check mark
            platform.desktop.events = {[&] {
              w.ChangeStart.Click();  // neither a second run nor closing under this one
              w.Cancel.Click();
              closable.push_back(w.QueryUnload());
              EXPECT_EQ(w.ChangeFileList1.ListIndex(), 0);
              EXPECT_FALSE(w.ChangeFileList1.Selected(0));
            }};
            w.ChangeStart.Click();
            closable.push_back(w.QueryUnload());
            EXPECT_EQ(w.ChangeFileList1.ListIndex(), 2);
            EXPECT_TRUE(w.ChangeFileList1.SelectedIndexes().empty());
          });
  EXPECT_EQ(closable, (std::vector<bool>{false, true}));
  EXPECT_TRUE(platform.windows.lastUnloaded);
  // The folder first; then its file through the folder's old spelling.
  ASSERT_FALSE(platform.files.moves.empty());
  EXPECT_EQ(platform.files.moves.front().first, u"C:\\T\\SUB");
  EXPECT_EQ(platform.files.moves.back(), std::make_pair(std::u16string(u"C:\\T\\SUB\\B.TXT"), std::u16string(u"C:\\T\\SUB\\b.txt")));
  EXPECT_EQ(platform.files.ActualPath(u"c:\\t\\sub\\c.txt"), u"c:\\T\\sub\\C.TXT");
  EXPECT_EQ(platform.desktop.beeps, 1);
}

}  // namespace
}  // namespace zefta

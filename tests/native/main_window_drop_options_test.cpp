#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/messages.h"
#include "text_util.h"
#include "windows/about_window.h"
#include "windows/main_window.h"
#include "windows/main_window_texts.h"

namespace zefta {
namespace {

using namespace zefta::testing;

class MainWindowDropTest : public ::testing::Test {
 protected:
  MainWindowDropTest() {
    window.SetHandle(5);
    // Message boxes join the desktop log, so the order of boxes and beeps shows.
    platform.messages.onShow = [this] { platform.desktop.log.push_back(u"box"); };
  }
  DropData Files(std::vector<std::u16string> paths) { return DropData{true, std::move(paths)}; }

  FakePlatform platform;
  MainWindow window{platform.services};
};

TEST_F(MainWindowDropTest, DragOverOffersCopyOnlyForAFileList) {
  const struct {
    bool hasFileList;
    int requested;
    int expected;
  } cases[] = {
      {true, 1, 1}, {true, 3, 1}, {true, 7, 1}, {true, 2, 0}, {true, 4, 0}, {false, 1, 0}, {false, 7, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(window.OLEDragOver(DropData{c.hasFileList, {u"c:\\a.txt"}}, c.requested), c.expected)
        << c.hasFileList << " " << c.requested;
}

TEST_F(MainWindowDropTest, ThreePathsTwoNeedingConversionOneRefused) {
  platform.files.AddFile(u"c:\\Data\\a.txt");
  platform.files.AddFile(u"c:\\Data\\b.txt");
  platform.files.AddFile(u"c:\\Data\\C.TXT");
  platform.files.refusedRenames.insert(u"c:\\Data\\b.txt");
  window.SMenuMsgOn.SetChecked(true);

  window.OLEDragDrop(Files({u"c:\\Data\\a.txt", u"c:\\Data\\b.txt", u"c:\\Data\\C.TXT"}));

  EXPECT_EQ(platform.files.ActualPath(u"c:\\data\\a.txt"), u"c:\\Data\\A.TXT");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\data\\b.txt"), u"c:\\Data\\b.txt");
  EXPECT_EQ(platform.files.renameCalls.size(), 2u);
  EXPECT_EQ(platform.desktop.doEventsCalls, 3);
  EXPECT_EQ(platform.desktop.log, (std::vector<std::u16string>{u"front", u"box", u"beep", u"front", u"box"}));
  ASSERT_EQ(platform.messages.shown.size(), 2u);
  EXPECT_EQ(platform.messages.shown[0].text, U16("ファイル名の変更に失敗しました。"));
  EXPECT_EQ(platform.messages.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(platform.messages.shown[1].text, U16("2ファイル中、1ファイルを変換しました。"));
  EXPECT_EQ(platform.messages.shown[1].title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(platform.messages.shown[1].icon, MessageIcon::Information);
  EXPECT_EQ(platform.desktop.fronted, (std::vector<WindowHandle>{5, 5}));
}

TEST_F(MainWindowDropTest, RunsThatEndWithoutACompletionMessage) {
  const struct {
    const char* what;
    bool lower, extensionOnly, msgOn;
    std::vector<std::u16string> paths;
    std::vector<std::u16string> expectedNewPaths;
    int expectedProcessed;
  } cases[] = {
      {"already upper case", false, false, true, {u"c:\\Data\\A.TXT", u"c:\\Data\\SUB"}, {}, 0},
      // The folder part ("c:", "Data") is not the entry's own name.
      {"lower name under mixed-case folder", true, false, true, {u"c:\\Data\\readme.txt"}, {}, 0},
      {"message off", false, false, false, {u"c:\\Data\\a.txt"}, {u"c:\\Data\\A.TXT"}, 1},
      // A name without a dot under a dotted folder converts as a whole and stays in its folder.
      {"dotted folder, extension only", true, true, false, {u"c:\\Dir.D\\FILE"}, {u"c:\\Dir.D\\file"}, 1},
      {"drive root dropped", true, false, true, {u"C:\\"}, {}, 0},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    MainWindow w{fresh.services};
    for (const auto& path : c.paths) fresh.files.AddFile(path);
    w.SmallCheck.SetValue(c.lower ? 1 : 0);
    w.ExtCheck.SetValue(c.extensionOnly ? 1 : 0);
    w.SMenuMsgOn.SetChecked(c.msgOn);
    fresh.files.renameCalls.clear();

    w.OLEDragDrop(DropData{true, c.paths});

    std::vector<std::u16string> newPaths;
    for (const auto& call : fresh.files.renameCalls) newPaths.push_back(call.second);
    EXPECT_EQ(newPaths, c.expectedNewPaths) << c.what;
    EXPECT_EQ(w.State().processedCount.Value(), c.expectedProcessed) << c.what;
    EXPECT_EQ(fresh.desktop.beeps, 1) << c.what;
    EXPECT_TRUE(fresh.messages.shown.empty()) << c.what;
  }
}

TEST_F(MainWindowDropTest, DataWithoutAFileListDoesNothing) {
  platform.files.AddFile(u"c:\\Data\\a.txt");
  window.SMenuMsgOn.SetChecked(true);
  window.OLEDragDrop(DropData{false, {u"c:\\Data\\a.txt"}});
  EXPECT_TRUE(platform.files.renameCalls.empty());
  EXPECT_TRUE(platform.desktop.log.empty());
  EXPECT_EQ(platform.desktop.doEventsCalls, 0);
  EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(MainWindowDropTest, OptionChangedWhileTheRunYieldsAppliesToTheNextPath) {
  platform.files.AddFile(u"c:\\D\\a.txt");
  platform.files.AddFile(u"c:\\D\\B.TXT");
  platform.desktop.events.push_back([this] { window.SmallCheck.SetValue(1); });
  window.OLEDragDrop(Files({u"c:\\D\\a.txt", u"c:\\D\\B.TXT"}));
  EXPECT_EQ(platform.files.ActualPath(u"c:\\d\\a.txt"), u"c:\\D\\A.TXT");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\d\\b.txt"), u"c:\\D\\b.txt");
}

class MainWindowOptionsTest : public MainWindowDropTest {};

TEST_F(MainWindowOptionsTest, MenuItemsToggle) {
  MenuItem MainWindow::*const items[] = {&MainWindow::SMenuCfgSelectMark, &MainWindow::SMenuStartPosition,
                                         &MainWindow::SMenuMsgOn};
  for (auto item : items) {
    MenuItem& menu = window.*item;
    const bool others = window.SMenuCfgSelectMark.Checked() + window.SMenuStartPosition.Checked() +
                        window.SMenuMsgOn.Checked();
    menu.UserClick();
    EXPECT_TRUE(menu.Checked());
    EXPECT_EQ(window.SMenuCfgSelectMark.Checked() + window.SMenuStartPosition.Checked() + window.SMenuMsgOn.Checked(),
              others + 1);
    menu.UserClick();
    EXPECT_FALSE(menu.Checked());
  }
  EXPECT_TRUE(platform.settings.writes.empty());
}

TEST_F(MainWindowOptionsTest, HintTransitions) {
  using namespace main_texts;
  struct Step {
    std::function<void()> move;
    std::u16string text;
    int writes;  // panel writes so far
    int state;
  };
  const auto list = [this] { window.List.MouseMove(); };
  const auto dirCheck = [this] { window.DirCheck.MouseMove(); };
  const auto smallCheck = [this] { window.SmallCheck.MouseMove(); };
  const auto extCheck = [this] { window.ExtCheck.MouseMove(); };
  const auto surface = [this] { window.MouseMove(); };
  const auto frame = [this] { window.Frame.MouseMove(); };
  const auto button = [this] { window.ConversionStart.MouseMove(); };
  const std::vector<Step> steps = {
      // The first move over an emptying area writes the (already empty) panel once.
      {surface, u"", 1, 255},
      {frame, u"", 1, 255},
      {dirCheck, kHintDirCheck, 2, 2},
      {smallCheck, kHintSmallCheck, 3, 3},
      {extCheck, kHintExtCheck, 4, 4},
      {extCheck, kHintExtCheck, 4, 4},
      {extCheck, kHintExtCheck, 4, 4},
      {list, kHintList, 5, 1},
      {surface, u"", 6, 255},
      {frame, u"", 6, 255},
      {button, u"", 6, 255},
      {list, kHintList, 7, 1},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i].move();
    EXPECT_EQ(window.StatusBar.Text(), steps[i].text) << "step " << i;
    EXPECT_EQ(window.StatusBar.Writes(), steps[i].writes) << "step " << i;
    EXPECT_EQ(window.HintState, steps[i].state) << "step " << i;
  }
}

TEST_F(MainWindowOptionsTest, AboutWindowShowsNineLinesEachTimeAndOkCloses) {
  const std::vector<std::u16string> history = {
      U16("1.00-新規作成"),
      U16("1.01-画面ﾌｫｰﾏｯﾄの変更"),
      U16("1.02-ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ対応"),
      U16("1.03-設定のﾚｼﾞｽﾄﾘ化"),
      U16("1.04-ｵﾌﾟｼｮﾝﾒﾆｭｰ追加等"),
      U16("1.05-ｵﾌﾟｼｮﾝを環境設定に変更"),
      U16("    -ﾂｰﾙﾒﾆｭｰ追加"),
      U16("    -拡張子のみの指定追加"),
      U16("    -ｺﾏﾝﾄﾞﾗｲﾝ処理追加(ﾚｼﾞｽﾄﾘ異常対策)"),
  };
  int shown = 0;
  platform.windows.onShown = [&](Form& form) {
    auto& about = dynamic_cast<AboutWindow&>(form);
    ++shown;
    EXPECT_EQ(about.CaptionText(), U16("バージョン情報"));
    EXPECT_EQ(about.VersionLabel.Text(), U16("SORVEL Ver1.05"));
    EXPECT_FALSE(about.VersionLabelBorder);
    EXPECT_EQ(about.CorrespondList.Items(), history);
    EXPECT_TRUE(about.CorrespondList.SelectedIndexes().empty());
    about.Ok.Click();
  };
  window.SMenuHelpVersion.UserClick();
  EXPECT_TRUE(platform.windows.lastUnloaded);
  window.SMenuHelpVersion.UserClick();
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(platform.windows.lastUnloaded);
}

}  // namespace
}  // namespace zefta

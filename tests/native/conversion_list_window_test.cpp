#include "windows/conversion_list_window.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "text_util.h"
#include "windows/main_window.h"
#include "windows/main_window_texts.h"

namespace zefta {
namespace {

using namespace zefta::testing;

// The bare names of the listed entries, in list order.
std::vector<std::u16string> Names(const std::vector<ConversionEntry>& entries) {
  std::vector<std::u16string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

std::string PairLines(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string bytes;
  for (const auto& [dir, name] : entries) bytes += "\"" + dir + "\", \"" + name + "\"\r\n";
  return bytes;
}

class ConversionListTest : public ::testing::Test {
 protected:
  ConversionListTest() { state.tempDir = u"C:\\TEMP"; }

  // Writes the list file and adds its entries to the file system.
  void List(const std::vector<std::pair<std::string, std::string>>& entries, bool directories = false) {
    for (const auto& [dir, name] : entries) {
      const std::u16string path = U16(dir + "\\" + name);
      if (directories && name.find('.') == std::string::npos)
        platform.files.AddDirectory(path);
      else
        platform.files.AddFile(path);
    }
    platform.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = PairLines(entries);
  }

  // Shows the window; react runs while it is open.
  void Show(std::function<void(ConversionListWindow&)> react) {
    platform.windows.onShown = [&](Form& form) {
      auto& window = dynamic_cast<ConversionListWindow&>(form);
      window.SetHandle(8);
      auto unload = window.onUnload;
      window.onUnload = [&, unload] {
        ++unloads;
        unload();
      };
      react(window);
    };
    platform.windows.ShowModal(window, owner);
  }

  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> texts;
    for (const auto& m : platform.messages.shown) texts.push_back(m.text);
    return texts;
  }

  FakePlatform platform;
  ProgramState state;
  ConversionEngine engine{platform.files, state.processedCount, state.convertedCount};
  MenuItem selectMark, msgOn;
  CaseOptions options;
  ConversionListWindow window{{platform.services, state, engine, selectMark, msgOn, [this] { return options; }, {}}};
  struct Owner : Form {
    FormLayout Layout() override { return {}; }
  } owner;
  int unloads = 0;
};

TEST_F(ConversionListTest, LoadFillsTheListInUse) {
  List({{"C:\\DATA", "A.TXT"}, {"C:\\DATA\\SUB", "b.txt"}});
  for (bool choice : {false, true}) {
    ConversionListWindow w{{platform.services, state, engine, selectMark, msgOn, [this] { return options; }, {}}};
    selectMark.SetChecked(choice);
    w.SetOuterSize(5000, 4500);
    w.Load();
    ListBox& used = w.ChangeFileList(choice ? 1 : 0);
    EXPECT_EQ(w.ListInUse(), choice ? 1 : 0);
    EXPECT_EQ(used.Items(), (std::vector<std::u16string>{u"C:\\DATA\\A.TXT", u"C:\\DATA\\SUB\\b.txt"}));
    EXPECT_EQ(Names(w.Entries()), (std::vector<std::u16string>{u"A.TXT", u"b.txt"}));
    EXPECT_EQ(w.ChangeFileList(choice ? 0 : 1).Count(), 0);
    EXPECT_TRUE(used.Visible());
    EXPECT_FALSE(w.ChangeFileList(choice ? 0 : 1).Visible());
    EXPECT_FALSE(w.ChangeFileListTitle.Visible());
    EXPECT_TRUE(w.ChangeStart.Enabled());
    // Choice mode: every entry checked, the first one current.
    EXPECT_EQ(used.SelectedIndexes(), (choice ? std::vector<int>{0, 1} : std::vector<int>{}));
    EXPECT_EQ(used.ListIndex(), choice ? 0 : -1);
    // Centred at every load, whatever the main window's start position.
    EXPECT_EQ(w.Left(), (15360 - 5000) / 2);
    EXPECT_EQ(w.Top(), (11520 - 4500) / 2 - 150);
  }
}

TEST_F(ConversionListTest, EmptyOrMissingListFileDisablesChangeStart) {
  for (bool choice : {false, true}) {
    for (bool present : {false, true}) {
      FakePlatform fresh;
      if (present) fresh.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = "";
      selectMark.SetChecked(choice);
      ConversionEngine freshEngine{fresh.files, state.processedCount, state.convertedCount};
      ConversionListWindow w{{fresh.services, state, freshEngine, selectMark, msgOn, [this] { return options; }, {}}};
      w.Load();
      EXPECT_EQ(w.ChangeFileList(w.ListInUse()).Count(), 0);
      EXPECT_FALSE(w.ChangeStart.Enabled()) << choice << present;
      EXPECT_TRUE(w.Cancel.Enabled());
    }
  }
}

TEST_F(ConversionListTest, LinesOutsideTheListedTreeAreLeftOut) {
  // A list file the library could not replace still holds an earlier tree.
  List({{"C:\\OLD", "A.TXT"}, {"C:\\DATA2", "b.txt"}, {"c:\\data\\Sub", "c.txt"}, {"C:\\DATA", "d.txt"}});
  ConversionListWindow w{{platform.services, state, engine, selectMark, msgOn, [this] { return options; }, u"C:\\Data"}};
  w.Load();
  EXPECT_EQ(w.ChangeFileList0.Items(), (std::vector<std::u16string>{u"c:\\data\\Sub\\c.txt", u"C:\\DATA\\d.txt"}));
  EXPECT_EQ(Names(w.Entries()), (std::vector<std::u16string>{u"c.txt", u"d.txt"}));
  ConversionListWindow stale{{platform.services, state, engine, selectMark, msgOn, [this] { return options; }, u"E:"}};
  stale.Load();
  EXPECT_EQ(stale.ChangeFileList0.Count(), 0);
  EXPECT_FALSE(stale.ChangeStart.Enabled());
}

TEST_F(ConversionListTest, RunCountsAndMessages) {
  const struct {
    const char* what;
    bool choice, lower, extensionOnly, msgOn;
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<int> unchecked;          // check marks removed by the user
    std::vector<std::string> refused;    // renames that fail
    std::vector<std::string> expectedNewPaths;
    std::vector<std::string> expectedMessages;
  } cases[] = {
      {"plain, one of three needs it", false, false, false, true,
       {{"C:\\DATA", "A.TXT"}, {"C:\\DATA", "b.txt"}, {"C:\\DATA", "C.TXT"}}, {}, {},
       {"C:\\DATA\\B.TXT"}, {"1ファイル中、1ファイルを変換しました。"}},
      {"choice, every mark removed", true, false, false, true,
       {{"C:\\DATA", "a.txt"}, {"C:\\DATA", "b.txt"}}, {0, 1}, {}, {}, {"変換対象ファイルは有りませんでした。"}},
      {"choice, one mark removed", true, false, false, true,
       {{"C:\\DATA", "a.txt"}, {"C:\\DATA", "b.txt"}, {"C:\\DATA", "c.txt"}}, {1}, {},
       {"C:\\DATA\\A.TXT", "C:\\DATA\\C.TXT"}, {"2ファイル中、2ファイルを変換しました。"}},
      {"all already in case", false, true, false, true, {{"C:\\Data", "a.txt"}}, {}, {}, {},
       {"変換対象ファイルは有りませんでした。"}},
      {"one of two fails, silently", false, false, false, true,
       {{"C:\\DATA", "a.txt"}, {"C:\\DATA", "b.txt"}}, {}, {"C:\\DATA\\b.txt"},
       {"C:\\DATA\\A.TXT", "C:\\DATA\\B.TXT"}, {"2ファイル中、1ファイルを変換しました。"}},
      {"every rename fails", false, false, false, true, {{"C:\\DATA", "a.txt"}}, {}, {"C:\\DATA\\a.txt"},
       {"C:\\DATA\\A.TXT"}, {"変換対象ファイルは有りませんでした。"}},
      {"message off, converted", false, false, false, false, {{"C:\\DATA", "a.txt"}}, {}, {},
       {"C:\\DATA\\A.TXT"}, {}},
      {"message off, nothing", false, false, false, false, {{"C:\\DATA", "A.TXT"}}, {}, {}, {}, {}},
      // The test looks at the bare name; the folder part is never converted.
      {"extension only", false, true, true, true,
       {{"C:\\Data", "README.txt"}, {"C:\\Dir.X", "FILE"}, {"C:\\Data", "photo.JPG"}}, {}, {},
       {"C:\\Dir.X\\file", "C:\\Data\\photo.jpg"}, {"2ファイル中、2ファイルを変換しました。"}},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    ProgramState runState;
    runState.tempDir = u"C:\\TEMP";
    MenuItem mark, message;
    mark.SetChecked(c.choice);
    message.SetChecked(c.msgOn);
    for (const auto& [dir, name] : c.entries) fresh.files.AddFile(U16(dir + "\\" + name));
    for (const auto& path : c.refused) fresh.files.refusedRenames.insert(U16(path));
    fresh.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = PairLines(c.entries);
    const CaseOptions caseOptions{c.lower, c.extensionOnly};
    ConversionEngine runEngine{fresh.files, runState.processedCount, runState.convertedCount};
    ConversionListWindow w{{fresh.services, runState, runEngine, mark, message, [&] { return caseOptions; }, {}}};
    bool unloaded = false;
    fresh.windows.onShown = [&](Form&) {
      w.SetHandle(8);
      w.onUnload = [&] { unloaded = true; };
      for (int index : c.unchecked) w.ChangeFileList1.SetSelected(index, false);
      w.ChangeStart.Click();
    };
    fresh.windows.ShowModal(w, owner);

    std::vector<std::string> newPaths, texts;
    for (const auto& call : fresh.files.renameCalls) newPaths.push_back(U8(call.second));
    for (const auto& shown : fresh.messages.shown) {
      texts.push_back(U8(shown.text));
      EXPECT_EQ(shown.icon, MessageIcon::Information) << c.what;
      EXPECT_EQ(shown.owner, 8u) << c.what;
      EXPECT_EQ(shown.title, U16("SORVELからのお知らせ")) << c.what;
    }
    EXPECT_EQ(newPaths, c.expectedNewPaths) << c.what;
    EXPECT_EQ(texts, c.expectedMessages) << c.what;
    EXPECT_EQ(fresh.desktop.beeps, 1) << c.what;
    EXPECT_EQ(fresh.desktop.fronted, std::vector<WindowHandle>(texts.size(), 8)) << c.what;
    EXPECT_EQ(fresh.desktop.doEventsCalls, static_cast<int>(c.entries.size())) << c.what;
    EXPECT_TRUE(unloaded) << c.what;
    // The highlight or the current entry has walked to the bottom.
    ListBox& used = w.ChangeFileList(w.ListInUse());
    const int last = used.Count() - 1;
    if (c.choice) {
      EXPECT_TRUE(used.SelectedIndexes().empty()) << c.what;
      EXPECT_EQ(used.ListIndex(), last) << c.what;
    } else {
      EXPECT_EQ(used.SelectedIndexes(), std::vector<int>{last}) << c.what;
    }
  }
}

TEST_F(ConversionListTest, DirectoryRenamedBeforeItsOwnFile) {
  options = {true, false};
  msgOn.SetChecked(true);
  List({{"C:\\T", "SUB"}, {"C:\\T\\SUB", "B.TXT"}}, true);
  Show([](ConversionListWindow& w) { w.ChangeStart_Click(); });
  ASSERT_EQ(platform.files.renameCalls.size(), 2u);
  EXPECT_EQ(platform.files.renameCalls[0].second, u"C:\\T\\sub");
  // The file is reached through the directory's old letter case.
  EXPECT_EQ(platform.files.renameCalls[1].first, u"C:\\T\\SUB\\B.TXT");
  EXPECT_EQ(platform.files.renameCalls[1].second, u"C:\\T\\SUB\\b.txt");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\t\\sub"), u"c:\\T\\sub");
  EXPECT_EQ(SplitPath(platform.files.ActualPath(u"c:\\t\\sub\\b.txt")).name, u"b.txt");
  EXPECT_EQ(Texts(), (std::vector<std::u16string>{U16("2ファイル中、2ファイルを変換しました。")}));
}

TEST_F(ConversionListTest, CancelRenamesNothing) {
  msgOn.SetChecked(true);
  List({{"C:\\DATA", "a.txt"}});
  Show([](ConversionListWindow& w) { w.Cancel.Click(); });
  EXPECT_EQ(unloads, 1);
  EXPECT_TRUE(platform.files.renameCalls.empty());
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_EQ(platform.desktop.beeps, 0);
}

TEST_F(ConversionListTest, ButtonsAndCloseBoxWaitWhileARunIsActive) {
  msgOn.SetChecked(true);
  List({{"C:\\DATA", "a.txt"}, {"C:\\DATA", "b.txt"}});
  std::vector<bool> closeAllowed;
  Show([&](ConversionListWindow& w) {
    platform.desktop.events = {
        [&] { w.ChangeStart.Click(); },
        [&] {
          w.Cancel.Click();
          closeAllowed.push_back(w.QueryUnload());
        },
    };
    closeAllowed.push_back(w.QueryUnload());
    w.ChangeStart.Click();
    closeAllowed.push_back(w.QueryUnload());
  });
  EXPECT_EQ(platform.files.renameCalls.size(), 2u);
  EXPECT_EQ(platform.desktop.beeps, 1);
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(closeAllowed, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(Texts(), (std::vector<std::u16string>{U16("2ファイル中、2ファイルを変換しました。")}));
}

class TreeCommandTest : public ::testing::Test {
 protected:
  TreeCommandTest() {
    main.SetHandle(3);
    main.State().tempDir = u"C:\\TEMP";
  }
  FakePlatform platform;
  MainWindow main{platform.services};
};

TEST_F(TreeCommandTest, CancelledPickerEndsSilently) {
  platform.folderPicker.result = u"";
  main.SMenuAllChange.UserClick();
  EXPECT_EQ(platform.folderPicker.titles, (std::vector<std::u16string>{main_texts::kFolderPickerTitle}));
  EXPECT_TRUE(platform.treeLister.calls.empty());
  EXPECT_TRUE(platform.desktop.pointerHistory.empty());
  EXPECT_EQ(platform.windows.shown, 0);
  EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(TreeCommandTest, ListsTheTreeAndShowsTheListWindow) {
  const struct {
    std::u16string picked;
    int dirCheck;
    std::string directory;
    int mode;
  } cases[] = {
      {u"C:\\", 0, "C:", 2},
      {u"C:\\DATA", 1, "C:\\DATA", 4},
      {u"D:\\Work\\", 1, "D:\\Work", 4},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    MainWindow w{fresh.services};
    w.State().tempDir = u"C:\\TEMP";
    w.DirCheck.SetValue(c.dirCheck);
    fresh.folderPicker.result = c.picked;
    std::vector<Pointer> pointerDuringListing, pointerAtShow;
    fresh.treeLister.onCall = [&] {
      pointerDuringListing.push_back(fresh.desktop.pointer);
      // The picked tree's line, and one of another tree left by an earlier run.
      fresh.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] =
          "\"" + c.directory + "\", \"a.txt\"\r\n\"E:\\OLD\", \"b.txt\"\r\n";
    };
    fresh.windows.onShown = [&](Form& form) {
      pointerAtShow.push_back(fresh.desktop.pointer);
      auto& list = dynamic_cast<ConversionListWindow&>(form);
      const std::string expected = c.directory + "\\a.txt";
      EXPECT_EQ(list.ChangeFileList0.Items(), std::vector<std::u16string>{U16(expected)});
    };
    w.SMenuAllChange_Click();
    ASSERT_EQ(fresh.treeLister.calls.size(), 1u);
    EXPECT_EQ(fresh.treeLister.calls[0].mode, c.mode);
    EXPECT_EQ(fresh.treeLister.calls[0].directory, c.directory);
    EXPECT_EQ(fresh.treeLister.calls[0].listPath, "C:\\TEMP\\ZEFTA.TMP");
    EXPECT_EQ(pointerDuringListing, std::vector<Pointer>{Pointer::Hourglass});
    EXPECT_EQ(pointerAtShow, std::vector<Pointer>{Pointer::Arrow});
    EXPECT_EQ(fresh.windows.shown, 1);
  }
}

TEST_F(TreeCommandTest, MissingLibraryShowsAMessageAndNoWindow) {
  platform.folderPicker.result = u"C:\\DATA";
  platform.treeLister.available = false;
  main.SMenuAllChange_Click();
  EXPECT_EQ(platform.windows.shown, 0);
  EXPECT_EQ(platform.desktop.pointer, Pointer::Arrow);
  ASSERT_EQ(platform.messages.shown.size(), 1u);
  EXPECT_EQ(platform.messages.shown[0].text, U16("KESTRUM.DLL が読み込めないため、変換を開始できません。"));
  EXPECT_EQ(platform.messages.shown[0].title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(platform.messages.shown[0].icon, MessageIcon::Exclamation);
}

}  // namespace
}  // namespace zefta

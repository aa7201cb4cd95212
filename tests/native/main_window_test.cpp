// The main window's handlers on fake services: start-up, the entry browser,
// what may happen while a run lets events run, drops, hints and menus. The
// no-data-loss runs check what every conversion reports.
#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "modules/messages.h"
#include "forms/about_window.h"
#include "forms/main_window_texts.h"

namespace zefta {
namespace {

using namespace zefta::testing;

struct BrowserTest : ::testing::Test, MainWindowFixture {
  BrowserTest() {
    for (auto path : {u"c:\\Work\\b.txt", u"c:\\Work\\A.TXT", u"c:\\Work\\Hidden.txt", u"c:\\Work\\System.sys",
                      u"c:\\Root.txt", u"d:\\OnD.txt"})
      platform.files.AddFile(path);
    for (auto path : {u"c:\\Work\\Sub", u"c:\\Work\\HiddenDir", u"c:\\OnlyDirs\\Inner"}) platform.files.AddDirectory(path);
    for (auto path : {u"c:\\Work\\Hidden.txt", u"c:\\Work\\HiddenDir"}) platform.files.Find(path)->hidden = true;
    platform.files.Find(u"c:\\Work\\System.sys")->system = true;
  }
};

TEST_F(BrowserTest, ListShowsTheFolderAsDirCheckSaysAndEnablesTheStart) {
  const struct {
    const char16_t* folder;
    int dirCheck;
    Names listed;
  } cases[] = {{u"C:\\Work", 0, {u"A.TXT", u"b.txt"}}, {u"C:\\Work", 1, {u"A.TXT", u"b.txt", u"Sub"}},
               {u"C:\\OnlyDirs", 0, {}},            {u"C:\\OnlyDirs", 1, {u"Inner"}}};
  for (const auto& c : cases) {
    MainWindowFixture f;
    f.platform.files = platform.files;
    f.StartIn(c.folder, c.dirCheck);
    EXPECT_EQ(f.window.List.Items(), c.listed) << U8(c.folder) << c.dirCheck;
    EXPECT_EQ(f.window.State().entryCount, static_cast<int>(c.listed.size()));
    EXPECT_EQ(f.window.ConversionStart.Enabled(), !c.listed.empty());
  }
  StartIn(u"C:\\OnlyDirs");
  window.DirCheck.UserClick();
  window.DirCheck.SetValue(2);  // grey keeps the filter in force
  EXPECT_EQ(window.List.Items(), Names{u"Inner"});
  window.DirCheck.SetValue(0);
  EXPECT_FALSE(window.ConversionStart.Enabled());
  window.DirList.SetPath(u"c:\\");
  EXPECT_EQ(window.State().folderPath, u"c:\\");
  window.DirList.SetPath(u"c:\\Work");
  EXPECT_EQ(window.State().folderPath, u"c:\\Work\\");
  EXPECT_EQ(window.FileList.Path(), u"c:\\Work");
  platform.files.unreadableFolders.insert(u"c:\\Work");
  window.RefreshEntryList();
  EXPECT_EQ(window.List.Count(), 0);
}

TEST_F(BrowserTest, AnUnreadableDriveReturnsToTheLastOneThatCouldBeRead) {
  StartIn(u"C:\\Work");
  platform.files.unreadableDrives.insert(u"d:");
  window.DriveList.SetListIndex(1);
  EXPECT_EQ(Texts(), Names{main_texts::kDriveUnreadable});
  EXPECT_FALSE(platform.messages.shown[0].title.empty());
  EXPECT_EQ(window.DriveList.ListIndex(), 0);
  EXPECT_EQ(window.DirList.Path(), u"c:\\");  // that drive's current folder
  EXPECT_EQ(window.List.Items(), Names{u"Root.txt"});
  platform.files.unreadableDrives = {u"c:", u"d:"};
  window.DriveList.SetListIndex(1);  // and when that one fails too, it stays there
  EXPECT_EQ(platform.messages.shown.size(), 3u);
  EXPECT_EQ(window.State().lastDriveIndex, 0);
  platform.files.unreadableDrives.clear();
  window.DriveList.SetListIndex(1);
  EXPECT_EQ(window.State().lastDriveIndex, 1);
  EXPECT_EQ(window.List.Items(), Names{u"OnD.txt"});
  window.DriveList.SetListIndex(0);  // the first drive is remembered like any other
  platform.files.unreadableDrives.insert(u"d:");
  window.DriveList.SetListIndex(1);
  EXPECT_EQ(window.DriveList.ListIndex(), 0);
}

TEST_F(BrowserTest, WhatHappensWhileARunLetsEventsRun) {
  platform.files.AddFile(u"c:\\Work\\C.TXT");
  StartIn(u"C:\\Work");
  Select({u"A.TXT", u"b.txt", u"C.TXT"});
  std::vector<bool> enabled;
  platform.desktop.events = {
      [&] {
        enabled = {window.DirCheck.Enabled(), window.SmallCheck.Enabled(), window.ProcEnd.Enabled(),
                   window.ExtCheck.Enabled(), window.ConversionStart.Enabled()};
        window.ExtCheck.UserClick();  // applies from the next entry on
        window.DirList.SetPath(u"c:\\OnlyDirs");
        window.ConversionStart.Click();  // none of these starts a second run
        window.List.DblClick();
        window.OLEDragDrop(DropData{true, {u"c:\\Work\\C.TXT"}});
        window.SMenuAllChange_Click();
      }};
  window.ConversionStart.Click();
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true, true}));
  EXPECT_TRUE(window.DirCheck.Enabled() && window.SmallCheck.Enabled() && window.ProcEnd.Enabled());
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Work\\a.txt"), u"c:\\Work\\a.txt");
  EXPECT_EQ(platform.files.ActualPath(u"c:\\Work\\c.txt"), u"c:\\Work\\C.txt");
  EXPECT_EQ(platform.desktop.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Default}));
  EXPECT_TRUE(platform.folderPicker.titles.empty());
  EXPECT_EQ(window.State().processedCount.Value(), 3);
  // The refill after the run shows the folder the user opened meanwhile.
  EXPECT_EQ(window.List.Items(), Names{});
}

TEST(StartUp, TheCommandLineThePreviousInstanceAndLoad) {
  const std::pair<const char16_t*, bool> arguments[] = {
      {u"/CLEAR", true}, {u"/clear", true}, {u"/CLEAR ", false}, {u" /CLEAR", false}, {u"/CLEARX", false}};
  for (const auto& [text, clears] : arguments) {
    MainWindowFixture f;
    f.Store(u"DIR", u"1");
    f.platform.environment.arguments = text;
    if (clears) f.platform.desktop.openTitles.insert(u"SORVEL");  // the option wins over a running instance
    EXPECT_EQ(f.window.Initialize(), !clears) << U8(text);
    EXPECT_EQ(f.Stored(u"DIR"), clears ? u"<none>" : u"1");
    EXPECT_EQ(f.platform.desktop.ended, clears);
    EXPECT_TRUE(f.platform.messages.shown.empty() && f.platform.settings.writes.empty()) << U8(text);
  }
  MainWindowFixture second;
  second.platform.desktop.openTitles.insert(u"SORVEL");
  EXPECT_TRUE(!second.window.Initialize() && second.platform.desktop.ended);
  EXPECT_EQ(second.Texts(), Names{main_texts::kAlreadyRunning});
  EXPECT_EQ(second.platform.messages.shown[0].icon, MessageIcon::Information);
  for (bool centred : {false, true}) {
    MainWindowFixture f;
    f.platform.files.AddFile(u"d:\\a.txt");
    f.platform.files.AddDirectory(u"d:\\sub");
    f.Store(u"DRV", u"D:\\");
    f.Store(u"STTPOS", centred ? u"1" : u"0");
    f.Store(u"DIR", u"2");  // grey: the filter stays at files only
    f.window.SetOuterSize(6000, 5000);
    f.window.Load();
    EXPECT_EQ(f.window.CaptionText(), u"SORVEL");
    EXPECT_TRUE(f.window.StatusBar.Spring());
    EXPECT_EQ(f.window.Left(), centred ? (15360 - 6000) / 2 : 0);
    EXPECT_EQ(f.window.Top(), centred ? (11520 - 5000) / 2 - 150 : 0);
    EXPECT_EQ(f.window.State().lastDriveIndex, 1);
    EXPECT_EQ(f.window.List.Items(), Names{u"a.txt"});
  }
}

TEST(Drops, AreTakenAsCopiesOfFileListsOnlyAndConvertTheirOwnNames) {
  MainWindowFixture f;
  const std::pair<int, int> effects[] = {{1, 1}, {3, 1}, {7, 1}, {2, 0}, {4, 0}};
  for (const auto& [requested, shown] : effects) {
    EXPECT_EQ(f.window.OLEDragOver(DropData{true, {u"c:\\a.txt"}}, requested), shown) << requested;
    EXPECT_EQ(f.window.OLEDragOver(DropData{false, {u"c:\\a.txt"}}, requested), 0);
  }
  f.platform.files.AddFile(u"c:\\Data\\a.txt");
  f.platform.files.AddFile(u"c:\\Data\\UP.TXT");
  f.window.OLEDragDrop(DropData{false, {u"c:\\Data\\a.txt"}});
  f.window.UpdateUndo();  // nothing to undo yet
  EXPECT_EQ(f.platform.desktop.beeps, 0);
  // The folder part is no part of the test: an upper-case name under a
  // mixed-case folder needs nothing; a drive root neither.
  f.window.OLEDragDrop(DropData{true, {u"c:\\Data\\UP.TXT", u"C:\\", u"c:\\Data\\a.txt"}});
  EXPECT_TRUE(f.platform.messages.shown.empty());  // SMenuMsgOn is not checked
  EXPECT_EQ(f.platform.desktop.beeps, 1);
  EXPECT_EQ(f.platform.files.ActualPath(u"c:\\data\\a.txt"), u"c:\\Data\\A.TXT");
  EXPECT_TRUE(f.window.SMenuUndo.Enabled()) << "a drop can be undone";
  for (const auto& move : f.platform.files.moves) EXPECT_TRUE(move.first.starts_with(u"c:\\Data\\a.txt"));
}

TEST(Options, MenuItemsToggleHintsChangeOnEnteringAnAreaAndAboutLoadsAfresh) {
  MainWindowFixture f;
  MainWindow& w = f.window;
  for (MenuItem* item : {&w.SMenuCfgSelectMark, &w.SMenuStartPosition, &w.SMenuMsgOn}) {
    item->UserClick();
    EXPECT_TRUE(item->Checked());
  }
  w.SMenuMsgOn.UserClick();
  EXPECT_TRUE(w.SMenuCfgSelectMark.Checked() && w.SMenuStartPosition.Checked() && !w.SMenuMsgOn.Checked());
  EXPECT_TRUE(f.platform.settings.writes.empty());
  using namespace main_texts;
  const struct {
    std::function<void()> move;
    std::u16string text;
    int writes, state;
  } steps[] = {{w.SMenuUndo.Select, kHintUndo, 1, 5}, {[&] { w.MenuClosed(); }, u"", 2, 255},  // the menu gone
               {w.MouseMove, u"", 2, 255},        {w.Frame.MouseMove, u"", 2, 255},
               {w.DirCheck.MouseMove, kHintDirCheck, 3, 2}, {w.SmallCheck.MouseMove, kHintSmallCheck, 4, 3},
               {w.ExtCheck.MouseMove, kHintExtCheck, 5, 4}, {w.ExtCheck.MouseMove, kHintExtCheck, 5, 4},
               {w.List.MouseMove, kHintList, 6, 1},        {w.ConversionStart.MouseMove, u"", 7, 255},
               {w.DirList.MouseMove, u"", 7, 255},         {w.FileList.MouseMove, u"", 7, 255},
               {w.StatusBar.MouseMove, u"", 7, 255}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].move();
    EXPECT_EQ(w.StatusBar.Text(), steps[i].text) << i;
    EXPECT_EQ(w.StatusBar.Writes(), steps[i].writes) << i;
    EXPECT_EQ(w.HintState, steps[i].state) << i;
  }
  EXPECT_FALSE(w.DriveList.MouseMove);  // the drive list leaves the panel as it is
  std::vector<int> lines;
  f.platform.windows.onShown = [&](Form& form) {
    auto& about = dynamic_cast<AboutWindow&>(form);
    lines.push_back(about.CorrespondList.Count());
    EXPECT_FALSE(about.VersionLabel.Text().empty() || about.CaptionText().empty());
    about.Ok.Click();
  };
  w.SMenuHelpVersion.UserClick();
  w.SMenuHelpVersion.UserClick();
  EXPECT_EQ(lines, (std::vector<int>{9, 9}));
  EXPECT_TRUE(f.platform.windows.lastUnloaded);
}

}  // namespace
}  // namespace zefta

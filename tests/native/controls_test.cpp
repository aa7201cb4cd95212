// The control models: what they hold, what they refuse, and what they tell
// the window that mirrors them.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/controls.h"
#include "fakes.h"
#include "text_util.h"

namespace zefta {
namespace {

using Names = std::vector<std::u16string>;

TEST(ControlModels, ChangesAreToldOnceUserClicksTakenWhenEnabled) {
  CheckBox box;
  MenuItem item;
  StatusPanel panel;
  int told = 0, clicks = 0;
  for (ControlBase* control : std::initializer_list<ControlBase*>{&box, &item, &panel})
    control->onStateChanged = [&] { ++told; };
  box.Click = item.Click = [&] { ++clicks; };
  const std::pair<std::function<void()>, int> steps[] = {
      {[&] { box.SetValue(0); }, 0},      {[&] { box.SetValue(2); }, 1},       {[&] { box.SetEnabled(true); }, 0},
      {[&] { item.SetChecked(false); }, 0}, {[&] { item.SetChecked(true); }, 1}, {[&] { panel.SetText(u"x"); }, 1},
      {[&] { panel.SetSpring(true); }, 1}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const int before = told;
    steps[i].first();
    EXPECT_EQ(told - before, steps[i].second) << "step " << i;
  }
  EXPECT_EQ(clicks, 1);  // SetValue raises Click on a change only
  EXPECT_EQ(panel.Writes(), 1);
  box.UserClick();  // grey -> clear -> checked
  EXPECT_EQ(box.Value(), 0);
  box.UserClick();
  EXPECT_EQ(box.Value(), 1);
  for (int bad : {3, -1}) EXPECT_THROW(box.SetValue(bad), PlatformError);
  item.UserClick();
  box.SetEnabled(false);
  item.SetEnabled(false);
  box.UserClick();
  item.UserClick();
  EXPECT_TRUE(clicks == 4 && box.Value() == 1) << "disabled, the box and the item take no click";
}

TEST(ControlModels, ListBoxesSortKeepTheirSelectionAndRefuseIndexesOutside) {
  ListBox single(true, ListBox::Selection::Single);
  std::vector<std::pair<ListBox::Change, int>> told;
  single.onListChanged = [&](ListBox::Change change, int index) { told.emplace_back(change, index); };
  single.SetItems({u"b", u"D", u"c"});
  single.SetSelected(0, true);  // "b"
  single.AddItem(u"A");         // shifts "b" to 1
  single.SetSelected(3, true);  // "D": one selected at a time
  single.SetListIndex(3);
  EXPECT_EQ(single.Items(), (Names{u"A", u"b", u"c", u"D"}));
  EXPECT_EQ(single.SelectedIndexes(), std::vector<int>{3});
  using C = ListBox::Change;
  EXPECT_EQ(told, (std::vector<std::pair<C, int>>{{C::Reset, -1}, {C::Selection, 0}, {C::Added, 0},
                                                  {C::Selection, 1}, {C::Selection, 3}, {C::Current, 3}}));
  single.AssignSelectionFromView({1}, 0);  // a view shorter than the list: the rest unselected
  EXPECT_FALSE(single.Selected(3));
  single.SetSelected(2, true);  // and the one it selected is cleared by the next
  EXPECT_EQ(single.SelectedIndexes(), std::vector<int>{2});
  for (int bad : {-1, 4}) EXPECT_THROW(single.SetSelected(bad, true), PlatformError) << bad;
  for (int bad : {-2, 4}) EXPECT_THROW(single.SetListIndex(bad), PlatformError) << bad;
  ListBox one(false, ListBox::Selection::Single);  // all of a list of one selected is its one item
  one.SetItems({u"a"});
  one.SetAllSelected(true);
  one.AddItem(u"b");
  one.SetSelected(1, true);
  EXPECT_EQ(one.SelectedIndexes(), std::vector<int>{1});

  ListBox extended(false, ListBox::Selection::Extended), checks(false, ListBox::Selection::Single, true);
  for (ListBox* list : {&extended, &checks}) {
    list->SetItems({u"x", u"y", u"z"});
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelectedIndexes(), (std::vector<int>{0, 2}));
    EXPECT_EQ(list->Items(), (Names{u"x", u"y", u"z"}));  // unsorted lists keep their order
  }
  // One sort key per item gives the same order as comparing item by item.
  Names names{u"readme", u"README", u"b.txt", u"ReadMe", u"日本語", u"A_b", u"a_B", u"Zz", u"zZ", u"_x", u"10", u"9"};
  Names expected = names;
  std::stable_sort(expected.begin(), expected.end(), ListOrderLess);
  ListBox sorted(true, ListBox::Selection::Extended);
  sorted.SetItems(names);
  EXPECT_EQ(sorted.Items(), expected);
  EXPECT_EQ(sorted.Items().front(), u"10");
}

TEST(ControlModels, DriveAndDirectoryListsFollowTheFileSystem) {
  testing::FakeFileSystem files;
  files.AddDirectory(u"c:\\a\\b\\Deep");
  files.AddDirectory(u"c:\\a\\b\\Other");
  DriveList drives(files);
  DirList dirs(files);
  int driveChanges = 0, drivesTold = 0, dirChanges = 0, dirsTold = 0;
  drives.Change = [&] { ++driveChanges; };
  drives.onStateChanged = [&] { ++drivesTold; };
  dirs.Change = [&] { ++dirChanges; };
  dirs.onStateChanged = [&] { ++dirsTold; };
  drives.Refresh();
  EXPECT_EQ(drives.Drives(), (Names{u"c:", u"d:"}));
  drives.SetDrive(u"D:\\x");
  drives.SetDrive(u"d:");
  EXPECT_EQ(drives.Drive(), u"d:");
  EXPECT_EQ(driveChanges, 1);
  EXPECT_EQ(drivesTold, 2);  // the refill, then the change of drive
  EXPECT_THROW(drives.SetDrive(u"q:"), PlatformError);
  EXPECT_THROW(drives.SetListIndex(2), PlatformError);

  // A full path, a path from the current drive's root, a relative name, "..".
  const std::pair<const char16_t*, const char16_t*> paths[] = {
      {u"C:\\a\\b", u"c:\\a\\b"}, {u"\\a", u"c:\\a"}, {u"b\\Deep", u"c:\\a\\b\\Deep"}, {u"..\\..", u"c:\\a"},
      {u"c:/a//b/./", u"c:\\a\\b"}, {u"c:a", u"c:\\a"}, {u"d:", u"d:\\"}};
  for (const auto& [text, full] : paths) {
    dirs.SetPath(text);
    EXPECT_EQ(dirs.Path(), full) << testing::U8(text);
  }
  dirs.SetPath(u"d:\\");  // no change, no event
  EXPECT_EQ(dirChanges, 7);
  EXPECT_EQ(dirsTold, 7);
  for (const char16_t* bad : {u"c:\\nowhere", u"nope", u"1:"}) EXPECT_THROW(dirs.SetPath(bad), PlatformError);
  files.unreadableDrives.insert(u"c:");
  EXPECT_THROW(dirs.SetPath(u"c:\\a"), PlatformError);
  files.unreadableDrives.clear();

  // Rows: the root, the ancestors, the folder shown, then its subfolders.
  dirs.SetPath(u"c:\\a\\b");
  EXPECT_EQ(dirs.CurrentRow(), 2);
  const Names rowPaths{u"c:\\", u"c:\\a", u"c:\\a\\b", u"c:\\a\\b\\Deep", u"c:\\a\\b\\Other", u"c:\\a\\b"};
  for (int row = 0; row < 6; ++row) EXPECT_EQ(dirs.PathOfRow(row), rowPaths[static_cast<std::size_t>(row)]) << row;
  EXPECT_EQ(dirs.Rows()[3].level, 3);
  std::vector<bool> open;
  for (const auto& row : dirs.Rows()) open.push_back(row.open);
  EXPECT_EQ(open, (std::vector<bool>{true, true, true, false, false})) << "the root, the ancestors and the folder shown";
  FileList fileList(files);
  files.AddFile(u"c:\\a\\b\\z.txt");
  files.AddFile(u"c:\\a\\b\\Y.txt");
  fileList.SetPath(u"c:\\a\\b");
  EXPECT_EQ(fileList.Files(), (Names{u"Y.txt", u"z.txt"}));  // files only, no "." or ".."
  files.drives = {u"c:"};
  drives.Refresh();  // the drive shown has gone
  EXPECT_EQ(drives.ListIndex(), -1);
  dirs.OpenRow(1);
  files.Remove(u"c:\\a\\b");
  dirs.OpenRow(2);  // gone since it was listed: the rows show what is there now
  EXPECT_EQ(dirs.Path(), u"c:\\a");
  EXPECT_EQ(dirs.Rows().size(), 2u);
}

}  // namespace
}  // namespace zefta

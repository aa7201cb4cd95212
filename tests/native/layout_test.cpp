// What the three windows' layouts promise the user: a focus order, drops on
// the main window only, and controls that line up and stay inside their
// windows. Relations, not the figures of the tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window_fixture.h"
#include "windows/about_window.h"
#include "windows/conversion_list_window.h"

namespace zefta {
namespace {

using namespace zefta::testing;

const ControlLayout& Row(const FormLayout& layout, std::string_view name) {
  return *std::find_if(layout.controls.begin(), layout.controls.end(),
                       [&](const ControlLayout& c) { return name == c.name; });
}

// Every tab index once, from 0 on.
void ExpectTabOrder(const FormLayout& layout) {
  std::vector<int> indexes;
  for (const auto& c : layout.controls) indexes.push_back(c.tabIndex);
  std::sort(indexes.begin(), indexes.end());
  for (std::size_t i = 0; i < indexes.size(); ++i) EXPECT_EQ(indexes[i], static_cast<int>(i)) << layout.name;
}

// Every control inside its window's client area, or inside its frame, in a legible font.
void ExpectInside(const FormLayout& layout) {
  EXPECT_GE(layout.fontPoints, 8) << layout.name;
  for (const auto& c : layout.controls) {
    const int width = c.container ? Row(layout, c.container).width : layout.clientWidth;
    const int height = c.container ? Row(layout, c.container).height : layout.clientHeight;
    EXPECT_GE(c.left, 0) << c.name;
    EXPECT_GE(c.top, 0) << c.name;
    EXPECT_LE(c.left + c.width, width) << c.name;
    EXPECT_LE(c.top + c.height, height) << c.name;
    EXPECT_TRUE(c.fontPoints == 0 || c.fontPoints >= 8) << c.name;  // the window's font, or one as legible
  }
}

TEST(Layouts, FocusOrderDropsAndPlaces) {
  MainWindowFixture f;
  ProgramState state;
  ConversionEngine engine(f.platform.files, state.processedCount, state.convertedCount);
  MenuItem mark, message;
  ConversionListWindow list({f.platform.services, state, engine, mark, message, [] { return CaseOptions{}; }, {}});
  AboutWindow about;
  const FormLayout main = f.window.Layout(), listLayout = list.Layout(), aboutLayout = about.Layout();

  // Drops are taken by the main window alone.
  for (const FormLayout* layout : {&main, &listLayout, &aboutLayout}) {
    const bool isMain = layout == &main;
    EXPECT_EQ(layout->dropTarget, isMain) << layout->name;
    EXPECT_EQ(layout->minimizeButton, isMain) << layout->name;
    EXPECT_EQ(layout->showInTaskbar, isMain) << layout->name;
  }
  for (const FormLayout* other : {&listLayout, &aboutLayout}) {
    for (const auto& c : other->controls) EXPECT_FALSE(c.dropTarget) << c.name;
  }
  for (const FormLayout* layout : {&main, &listLayout, &aboutLayout}) {
    ExpectTabOrder(*layout);
    ExpectInside(*layout);
  }
  // The three options in a column inside their frame, top to bottom.
  const auto& dir = Row(main, "DirCheck");
  const auto& small = Row(main, "SmallCheck");
  const auto& ext = Row(main, "ExtCheck");
  EXPECT_EQ(small.left, dir.left);
  EXPECT_EQ(ext.left, dir.left);
  EXPECT_LT(dir.top, small.top);
  EXPECT_LT(small.top, ext.top);
  // The file list lies wholly inside List, behind it.
  const auto& names = Row(main, "List");
  const auto& files = Row(main, "FileList");
  EXPECT_GE(files.left, names.left);
  EXPECT_GE(files.top, names.top);
  EXPECT_LE(files.left + files.width, names.left + names.width);
  EXPECT_LE(files.top + files.height, names.top + names.height);
  EXPECT_LT(&names, &files);
  // The status bar along the whole bottom edge.
  const auto& bar = Row(main, "StatusBar");
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.width, main.clientWidth);
  EXPECT_EQ(bar.top + bar.height, main.clientHeight);
  // The buttons of the list window side by side, and the About window's OK under its frame's right edge.
  EXPECT_EQ(Row(listLayout, "ChangeStart").top, Row(listLayout, "Cancel").top);
  EXPECT_EQ(Row(listLayout, "ChangeStart").height, Row(listLayout, "Cancel").height);
  EXPECT_EQ(Row(aboutLayout, "Ok").left + Row(aboutLayout, "Ok").width,
            Row(aboutLayout, "CorrespondFrame").left + Row(aboutLayout, "CorrespondFrame").width);
  // Ids come from the tables: one per row, and 0 for a name not there.
  EXPECT_NE(MenuId(main, "MenuFile"), MenuId(main, "ProcEnd"));
  EXPECT_EQ(MenuId(main, "SMenuHelpVersion") - MenuId(main, "MenuFile"), static_cast<int>(main.menus.size()) - 1);
  EXPECT_EQ(ControlId(main, "DriveList") - ControlId(main, "StatusBar"), static_cast<int>(main.controls.size()) - 1);
  EXPECT_EQ(MenuId(main, "Nothing"), 0);
  EXPECT_EQ(ControlId(main, "Nothing"), 0);
}

}  // namespace
}  // namespace zefta

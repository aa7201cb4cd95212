// What the three windows' layouts promise the user: the focus order, which
// controls take drops, the fonts, and controls that line up and stay inside
// their windows. Relations, not the figures of the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

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

// The names in the order the Tab key visits them; every tab index once.
Names TabOrder(const FormLayout& layout) {
  std::vector<const ControlLayout*> rows;
  for (const auto& c : layout.controls) rows.push_back(&c);
  std::sort(rows.begin(), rows.end(), [](auto a, auto b) { return a->tabIndex < b->tabIndex; });
  Names names;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]->tabIndex, static_cast<int>(i)) << layout.name;
    names.push_back(std::u16string(rows[i]->name, rows[i]->name + std::strlen(rows[i]->name)));
  }
  return names;
}

// Every control inside its window's client area, or inside its frame.
void ExpectInside(const FormLayout& layout) {
  for (const auto& c : layout.controls) {
    const int width = c.container ? Row(layout, c.container).width : layout.clientWidth;
    const int height = c.container ? Row(layout, c.container).height : layout.clientHeight;
    EXPECT_TRUE(c.left >= 0 && c.top >= 0 && c.left + c.width <= width && c.top + c.height <= height) << c.name;
  }
}

TEST(Layouts, FocusOrderDropsFontsAndPlaces) {
  MainWindowFixture f;
  ProgramState state;
  ConversionEngine engine(f.platform.files, state.processedCount, state.convertedCount);
  MenuItem mark, message;
  ConversionListWindow list({f.platform.services, state, engine, mark, message, [] { return CaseOptions{}; }, u""});
  AboutWindow about;
  const FormLayout main = f.window.Layout(), listLayout = list.Layout(), aboutLayout = about.Layout();

  EXPECT_EQ(TabOrder(main), (Names{u"DriveList", u"DirList", u"FileList", u"List", u"Frame", u"DirCheck", u"SmallCheck",
                                  u"ExtCheck", u"ConversionStart", u"StatusBar"}));
  EXPECT_EQ(TabOrder(aboutLayout), (Names{u"CorrespondList", u"Ok", u"VersionLabel", u"CorrespondFrame"}));
  EXPECT_EQ(TabOrder(listLayout),
            (Names{u"ChangeFileList0", u"ChangeFileList1", u"ChangeFileListTitle", u"ChangeStart", u"Cancel"}));

  Names drops;
  for (const auto& c : main.controls)
    if (c.dropTarget) drops.push_back(std::u16string(c.name, c.name + std::strlen(c.name)));
  EXPECT_EQ(drops, (Names{u"Frame", u"DirCheck", u"SmallCheck", u"List", u"ConversionStart", u"DirList", u"DriveList"}));
  EXPECT_TRUE(main.dropTarget && main.minimizeButton && main.showInTaskbar);
  for (const FormLayout* other : {&listLayout, &aboutLayout}) {
    EXPECT_FALSE(other->dropTarget || other->minimizeButton || other->showInTaskbar);
    for (const auto& c : other->controls) EXPECT_FALSE(c.dropTarget) << c.name;
  }

  // 12 points, the list window 9 with 12 for its two buttons; nothing else of its own.
  EXPECT_EQ(main.fontPoints, 12);
  EXPECT_EQ(aboutLayout.fontPoints, 12);
  EXPECT_EQ(listLayout.fontPoints, 9);
  for (const FormLayout* layout : {&main, &listLayout, &aboutLayout})
    for (const auto& c : layout->controls)
      EXPECT_EQ(c.fontPoints, std::string_view(c.name) == "ChangeStart" || std::string_view(c.name) == "Cancel" ? 12 : 0)
          << c.name;

  for (const FormLayout* layout : {&main, &listLayout, &aboutLayout}) ExpectInside(*layout);
  // The three options in a column inside their frame, top to bottom.
  const auto& dir = Row(main, "DirCheck");
  const auto& small = Row(main, "SmallCheck");
  const auto& ext = Row(main, "ExtCheck");
  EXPECT_TRUE(dir.left == small.left && small.left == ext.left && dir.top < small.top && small.top < ext.top);
  // The file list lies wholly inside List, behind it.
  const auto& names = Row(main, "List");
  const auto& files = Row(main, "FileList");
  EXPECT_TRUE(files.left >= names.left && files.top >= names.top && files.left + files.width <= names.left + names.width &&
              files.top + files.height <= names.top + names.height);
  EXPECT_LT(&names, &files);
  // The status bar along the whole bottom edge.
  const auto& bar = Row(main, "StatusBar");
  EXPECT_TRUE(bar.left == 0 && bar.width == main.clientWidth && bar.top + bar.height == main.clientHeight);
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

// What the three windows' layouts promise the user: a focus order, drops on
// the main window only, and controls that line up and stay inside their
// windows at every common scale. Relations, not the figures of the tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/twips.h"
#include "main_window_fixture.h"
#include "forms/about_window.h"
#include "forms/conversion_list_window.h"
#include "forms/progress_window.h"

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

// 100 % to 200 %, and the twips themselves.
constexpr int kDpis[] = {96, 120, 144, 168, 192, kTwipsPerInch};

// Every control inside its window's client area, or inside its frame, in a legible font.
void ExpectInside(const FormLayout& layout) {
  EXPECT_GE(layout.fontPoints, 8) << layout.name;
  for (const auto& c : layout.controls) {
    EXPECT_TRUE(c.fontPoints == 0 || c.fontPoints >= 8) << c.name;  // the window's font, or one as legible
    for (int dpi : kDpis) {
      const PixelRect place = PlaceAt(c, dpi);
      const PixelRect parent = c.container ? PlaceAt(Row(layout, c.container), dpi) : ClientAt(layout, dpi);
      EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= parent.Width() && place.bottom <= parent.Height())
          << c.name << " at " << dpi;
    }
  }
}

// One margin to the window's left and right edges (the status bar, which
// spans the window, and the controls inside frames aside).
void ExpectEvenMargins(const FormLayout& layout) {
  int left = layout.clientWidth, right = 0;
  for (const auto& c : layout.controls) {
    if (c.container || c.kind == ControlKind::StatusBar) continue;
    left = std::min(left, c.box.left);
    right = std::max(right, c.box.left + c.box.width);
  }
  EXPECT_EQ(layout.clientWidth - right, left) << layout.name;
}

int Right(const TwipsBox& box) { return box.left + box.width; }

TEST(Layouts, FocusOrderDropsAndPlaces) {
  MainWindowFixture f;
  ProgramState state;
  ConversionEngine engine(f.platform.files, state.processedCount, state.convertedCount);
  MenuItem mark, message;
  ConversionListWindow list({f.platform.services, state, engine, mark, message, [] { return CaseOptions{}; }, {}});
  AboutWindow about;
  ProgressWindow progress;
  const FormLayout main = f.window.Layout(), listLayout = list.Layout(), aboutLayout = about.Layout(),
                   progressLayout = progress.Layout();

  for (const FormLayout* layout : {&main, &listLayout, &aboutLayout, &progressLayout}) {
    // Drops, the minimize button and the taskbar are the main window's alone.
    const bool isMain = layout == &main;
    EXPECT_TRUE(layout->dropTarget == isMain && layout->minimizeButton == isMain && layout->showInTaskbar == isMain)
        << layout->name;
    for (const auto& c : layout->controls) EXPECT_TRUE(isMain || !c.dropTarget) << c.name;
    ExpectTabOrder(*layout);
    ExpectInside(*layout);
    ExpectEvenMargins(*layout);
  }
  // The main window in two columns: the drive, folder and entry lists on the
  // left edge, the folder list, the frame and the start button on the right.
  const auto box = [](const FormLayout& layout, std::string_view name) { return Row(layout, name).box; };
  for (auto name : {"DirList", "List", "FileList"})
    EXPECT_EQ(box(main, name).left, box(main, "DriveList").left) << name;
  EXPECT_EQ(Right(box(main, "List")), Right(box(main, "DriveList")));
  for (auto name : {"Frame", "ConversionStart"}) EXPECT_EQ(Right(box(main, name)), Right(box(main, "DirList"))) << name;
  EXPECT_EQ(box(main, "Frame").left, box(main, "ConversionStart").left);
  EXPECT_EQ(box(main, "Frame").top, box(main, "List").top);
  // The progress window's two lines one above the other, its button under their right end.
  const TwipsBox activity = box(progressLayout, "Activity"), place = box(progressLayout, "Place");
  EXPECT_TRUE(activity.left == place.left && activity.width == place.width && activity.top < place.top);
  EXPECT_EQ(Right(box(progressLayout, "Cancel")), Right(activity));
  // The list window's two lists (plain, with check boxes) in one place, the buttons under its right end.
  const TwipsBox plain = box(listLayout, "ChangeFileList0"), marked = box(listLayout, "ChangeFileList1");
  EXPECT_TRUE(plain.left == marked.left && plain.top == marked.top && plain.width == marked.width);
  EXPECT_EQ(Right(box(listLayout, "Cancel")), Right(plain));
  EXPECT_EQ(box(listLayout, "ChangeStart").width, box(listLayout, "Cancel").width);
  // The three options in a column inside their frame, top to bottom.
  const auto &dir = Row(main, "DirCheck").box, &small = Row(main, "SmallCheck").box, &ext = Row(main, "ExtCheck").box;
  EXPECT_TRUE(small.left == dir.left && ext.left == dir.left && dir.top < small.top && small.top < ext.top);
  // The file list lies wholly inside List, behind it.
  const PixelRect names = PlaceAt(Row(main, "List"), kTwipsPerInch), files = PlaceAt(Row(main, "FileList"), kTwipsPerInch);
  EXPECT_TRUE(files.left >= names.left && files.top >= names.top && files.right <= names.right &&
              files.bottom <= names.bottom);
  EXPECT_LT(&Row(main, "List"), &Row(main, "FileList"));
  // The status bar along the whole bottom edge.
  for (int dpi : kDpis) {
    const PixelRect bar = PlaceAt(Row(main, "StatusBar"), dpi), client = ClientAt(main, dpi);
    EXPECT_TRUE(bar.left == 0 && bar.right == client.right && bar.bottom == client.bottom) << dpi;
  }
  // The buttons of the list window side by side, and the About window's OK under its frame's right edge.
  const auto &start = Row(listLayout, "ChangeStart").box, &cancel = Row(listLayout, "Cancel").box;
  EXPECT_TRUE(start.top == cancel.top && start.height == cancel.height);
  const auto &ok = Row(aboutLayout, "Ok").box, &frame = Row(aboutLayout, "CorrespondFrame").box;
  EXPECT_EQ(ok.left + ok.width, frame.left + frame.width);
  // Ids come from the tables: one per row, and 0 for a name not there.
  EXPECT_EQ(MenuId(main, "SMenuHelpVersion") - MenuId(main, "MenuFile"), static_cast<int>(main.menus.size()) - 1);
  EXPECT_EQ(ControlId(main, "DriveList") - ControlId(main, "StatusBar"), static_cast<int>(main.controls.size()) - 1);
  EXPECT_EQ(MenuId(main, "Nothing") + ControlId(main, "Nothing"), 0);
}

}  // namespace
}  // namespace zefta

// The Win32 binding of a form under Wine: the controls its layout table asks
// for, each kind mirroring its model and passing the user's input back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "modules/messages.h"
#include "platform/win32/support/fault_report.h"
#include "platform/win32/window/form_window.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/window/message_loop.h"
#include "platform/win32/support/text.h"

namespace zefta {
namespace {

using win32::U;
using win32::W;

// One control of every kind, and a menu item with a shortcut.
class Sample : public Form {
 public:
  explicit Sample(FileSystem& files) : Drives(files), Folders(files), Files(files) {}
  FormLayout Layout() override {
    using K = ControlKind;
    return {.name = "Sample",
            .caption = u"",
            .clientWidth = 9600,
            .clientHeight = 6000,
            .fontPoints = 9,
            .border = BorderStyle::FixedSingle,
            .minimizeButton = true,
            .controls = {
                {.name = "Status", .kind = K::StatusBar, .box = {0, 5600, 9600, 400}, .tabIndex = 9, .model = &Status},
                {.name = "Box", .kind = K::Frame, .box = {6400, 120, 3000, 900}, .tabIndex = 0, .model = &Box},
                {.name = "Check", .kind = K::CheckBox, .box = {120, 300, 2600, 300}, .tabIndex = 1, .model = &Check,
                 .container = "Box"},
                {.name = "Note", .kind = K::Label, .box = {6400, 1100, 3000, 300}, .tabIndex = 2, .model = &Note},
                {.name = "Go", .kind = K::CommandButton, .box = {6400, 1500, 3000, 500}, .tabIndex = 3, .model = &Go},
                {.name = "Names", .kind = K::ListBox, .box = {120, 120, 3000, 2400}, .tabIndex = 4, .model = &Names,
                 .fontPoints = 12},
                {.name = "Marks", .kind = K::ListBox, .box = {3240, 120, 3000, 2400}, .tabIndex = 5, .model = &Marks,
                 .fontPoints = 12},
                {.name = "Drives", .kind = K::DriveList, .box = {120, 2640, 3000, 360}, .tabIndex = 6,
                 .model = &Drives},
                {.name = "Folders", .kind = K::DirList, .box = {120, 3100, 3000, 2400}, .tabIndex = 7,
                 .model = &Folders},
                {.name = "Files", .kind = K::FileList, .box = {3240, 3100, 3000, 2400}, .tabIndex = 8, .model = &Files},
            },
            .menus = {
                {.name = "MenuFile", .caption = u"ファイル(&F)", .level = 0, .model = &MenuFile},
                {.name = "Mark", .caption = u"印(&M)", .level = 1, .model = &Mark, .shortcut = u"Ctrl+M"},
            }};
  }
  StatusPanel Status;
  Caption Box, Note;
  CheckBox Check;
  CommandButton Go;
  ListBox Names{false, ListBox::Selection::Extended};
  ListBox Marks{false, ListBox::Selection::Single, true, ListBox::Rows::Owner};
  DriveList Drives;
  DirList Folders;
  FileList Files;
  MenuItem MenuFile, Mark;
};

void Click(HWND control, int x, int y, WPARAM keys = 0) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
  SendMessageW(control, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

class Binding : public ::testing::Test {
 protected:
  Binding() { window.Show(SW_SHOWNORMAL); }
  HWND Control(const char* name) { return window.Control(name); }
  win32::Win32FileSystem files;
  Sample form{files};
  win32::FormWindow window{form, nullptr, false};
  FormLayout layout = form.Layout();
};

TEST_F(Binding, CaptionsStatusBarButtonAndCheckBoxFollowTheirModelsAndReportClicks) {
  form.Box.SetText(u"処理");
  form.Note.SetText(u"ﾃﾞｨﾚｸﾄﾘ");
  form.Status.SetText(u"変換するﾌｧｲﾙを指定して下さい。");
  for (const auto& [name, shown] : {std::pair{"Box", u"処理"}, {"Note", u"ﾃﾞｨﾚｸﾄﾘ"}, {"Status", u"変換するﾌｧｲﾙを指定して下さい。"}}) {
    wchar_t text[64] = {};
    GetWindowTextW(Control(name), text, 64);  // a status bar's: its first panel's
    EXPECT_EQ(U(text), shown) << name;
  }
  int clicks = 0;
  form.Go.Click = [&] { ++clicks; };
  SendMessageW(Control("Go"), BM_CLICK, 0, 0);
  form.Go.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Control("Go")));
  EXPECT_EQ(clicks, 1);

  HWND check = Control("Check");
  form.Check.SetValue(2);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_EQ(form.Check.Value(), 0) << "a click on grey clears";
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the view shows what the model decided";
}

TEST_F(Binding, ListBoxSelectionFlowsBothWaysAndAWideEntryScrollsSideways) {
  HWND list = Control("Names");
  form.Names.SetItems({u"b.txt", u"A.txt", u"c.txt", u"日本語.txt"});
  wchar_t text[32] = {};
  SendMessageW(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(U(text), u"日本語.txt") << "in the model's order";
  form.Names.SetSelected(1, true);
  EXPECT_GT(SendMessageW(list, LB_GETSEL, 1, 0), 0);
  RECT row;
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  Click(list, 5, row.top + 2);
  Click(list, 5, row.top + 2 + 2 * (row.bottom - row.top), MK_CONTROL);
  EXPECT_EQ(form.Names.SelectedIndexes(), (std::vector<int>{0, 2}));
  EXPECT_EQ(form.Names.ListIndex(), 2);

  const auto scrolls = [&] {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    return GetScrollInfo(list, SB_HORZ, &info) && info.nMax - info.nMin + 1 > static_cast<int>(info.nPage);
  };
  EXPECT_FALSE(scrolls());
  const std::u16string wide = u"C:\\" + std::u16string(40, u'x') + u"\\日本語のフォルダ\\" + std::u16string(40, u'y');
  form.Names.AddItem(wide);
  EXPECT_TRUE(scrolls());
  HDC dc = GetDC(list);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, W(wide), static_cast<int>(wide.size()), &size);
  ReleaseDC(list, dc);
  EXPECT_GE(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), size.cx) << "to the end of the entry";
  form.Names.SetItems({u"x"});
  EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 0) << "a refill clears the view's selection";
  EXPECT_FALSE(scrolls()) << "and the scroll bar goes with the wide entry";
}

// Rows past 65,535 included: a click on a row's box flips that row's mark
// and no other, however far down the list is scrolled.
TEST_F(Binding, CheckListRowsHaveRoomAroundTheTextAndTheirBoxesFlipTheMarks) {
  HWND list = Control("Marks");
  EXPECT_GT(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), SendMessageW(Control("Names"), LB_GETITEMHEIGHT, 0, 0))
      << "owner-drawn rows are taller than a plain list's in the same font, whose rows hold the descent";
  form.Marks.SetRows(100000, [](std::size_t i) { return u"C:\\" + std::u16string(win32::U(std::to_wstring(i).c_str())); });
  form.Marks.SetSelected(0, true);
  wchar_t text[32] = {};
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 70000, reinterpret_cast<LPARAM>(text)), 8);
  EXPECT_EQ(U(text), u"C:\\70000") << "the owner's text, asked on the list's own thread";
  for (const int index : {1, 70000}) {
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT row;
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    Click(list, row.left + 4, (row.top + row.bottom) / 2);
    Click(list, row.left + 200, (row.top + row.bottom) / 2);  // on the text: the mark stays
  }
  EXPECT_EQ(form.Marks.SelectedIndexes(), (std::vector<int>{0, 1, 70000})) << "checking one keeps the others";
  EXPECT_EQ(form.Marks.ListIndex(), 70000);
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(list, WM_KEYDOWN, VK_END, 0);
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(form.Marks.SelectedIndexes(), (std::vector<int>{0, 1, 99999})) << "Space flips the current item";
}

TEST_F(Binding, FolderListsShowTheirModelsAndOpenTheRowTheUserChooses) {
  form.Drives.Refresh();
  EXPECT_EQ(SendMessageW(Control("Drives"), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(form.Drives.Drives().size()));
  form.Files.SetPath(u"C:\\windows");
  EXPECT_EQ(SendMessageW(Control("Files"), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(form.Files.Files().size()));
  form.Folders.SetPath(u"C:\\windows");
  HWND dirs = Control("Folders");
  EXPECT_EQ(SendMessageW(dirs, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(form.Folders.Rows().size()));
  EXPECT_EQ(SendMessageW(dirs, LB_GETCURSEL, 0, 0), form.Folders.CurrentRow());
  const std::u16string child = form.Folders.PathOfRow(form.Folders.CurrentRow() + 1), root = form.Folders.PathOfRow(0);
  SendMessageW(dirs, LB_SETCURSEL, form.Folders.CurrentRow() + 1, 0);
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ControlId(layout, "Folders"), LBN_DBLCLK), LPARAM(dirs));
  EXPECT_EQ(form.Folders.Path(), child) << "a double-click opens the highlighted row";
  SendMessageW(dirs, LB_SETCURSEL, 0, 0);
  SendMessageW(dirs, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form.Folders.Path(), root) << "so does Enter";
}

TEST_F(Binding, AMenuItemRunsByItsShortcutOnlyWhileEnabled) {
  const UINT mark = static_cast<UINT>(MenuId(layout, "Mark"));
  int clicks = 0;
  form.Mark.Click = [&] { ++clicks; };
  auto press = [&] {  // Ctrl+M in a list, through the program's message pump
    BYTE keys[256] = {};
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG message{Control("Names"), WM_KEYDOWN, 'M', 1, GetTickCount(), {0, 0}};
    win32::DispatchOne(message);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
    SetKeyboardState(keys);
  };
  press();
  EXPECT_EQ(clicks, 1);
  form.Mark.SetEnabled(false);
  EXPECT_TRUE(GetMenuState(GetMenu(window.Handle()), mark, MF_BYCOMMAND) & MF_GRAYED);
  press();
  EXPECT_EQ(clicks, 1) << "nor does a disabled item";
}

TEST_F(Binding, AFaultInAHandlerIsLoggedAndShownInOneBoxAndTheWindowGoesOn) {
  const std::wstring log = win32::FaultLogPath();
  DeleteFileW(log.c_str());
  form.Go.Click = [] { throw std::runtime_error("injected fault"); };
  std::u16string shown;
  std::thread user([&] {  // the box is modal: another thread reads and closes it
    HWND box = nullptr;
    for (int i = 0; i < 200 && !(box = FindWindowW(L"#32770", W(MessageTitle()))); ++i) Sleep(50);
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    shown = U(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(Control("Go"), BM_CLICK, 0, 0);
  user.join();
  EXPECT_EQ(shown, kActionNotFinishedText);
  std::ifstream file{std::filesystem::path(log)};
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("injected fault"), std::string::npos) << lines[0];
  int clicks = 0;
  form.Go.Click = [&] { ++clicks; };
  SendMessageW(Control("Go"), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

// A row whose model is not of the class its kind binds fails the window
// before it exists, naming the row.
class OneRow : public Form {
 public:
  OneRow(ControlKind kind, ControlBase* model) : kind_(kind), model_(model) {}
  FormLayout Layout() override {
    return {.name = "OneRow",
            .caption = u"",
            .clientWidth = 3000,
            .clientHeight = 3000,
            .fontPoints = 9,
            .border = BorderStyle::FixedDialog,
            .controls = {{.name = "Odd", .kind = kind_, .box = {0, 0, 1000, 300}, .tabIndex = 0, .model = model_}}};
  }

 private:
  ControlKind kind_;
  ControlBase* model_;
};

TEST(LayoutCheck, ARowWhoseModelDoesNotFitItsKindFailsTheWindow) {
  CommandButton button;
  const struct {
    ControlKind kind;
    ControlBase* model;
    const char* failure;
  } cases[] = {{ControlKind::CheckBox, &button, "layout row \"Odd\" needs a CheckBox model"},
               {ControlKind::ListBox, nullptr, "layout row \"Odd\" needs a ListBox model"}};
  for (const auto& c : cases) {
    OneRow form(c.kind, c.model);
    try {
      win32::FormWindow window(form, nullptr, false);
      ADD_FAILURE() << c.failure << ": the window was built";
    } catch (const std::exception& failure) {
      EXPECT_STREQ(failure.what(), c.failure);
    }
    EXPECT_EQ(form.Handle(), 0u) << c.failure;
  }
}

}  // namespace
}  // namespace zefta

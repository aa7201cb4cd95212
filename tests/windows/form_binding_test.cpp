// The Win32 binding of the main window's layout and models, under Wine.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/form_window.h"
#include "platform/win32/window_host_win32.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"
#include "windows/main_window.h"

namespace zefta {
namespace {

using win32::TwipsToPixelsX;
using win32::TwipsToPixelsY;
using win32::U;
using win32::W;

struct RealServices {
  win32::Win32FileSystem files;
  win32::Win32MessageBoxes messages;
  win32::RegistrySettingsStore settings;
  win32::Win32Environment environment;
  win32::Win32Desktop desktop;
  win32::ShellFolderPicker folderPicker;
  win32::Win32CodePage codePage;
  win32::KestrumTreeLister treeLister;
  win32::Win32FileReader fileReader;
  win32::Win32WindowHost windows;
  Services services{files, messages, settings, environment, desktop, folderPicker, codePage, treeLister, fileReader, windows};
};

std::u16string TextOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return U(buffer);
}

std::u16string ListText(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return u"<none>";
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  return U(buffer.c_str());
}

std::vector<std::u16string> ListTexts(HWND list) {
  std::vector<std::u16string> texts;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) texts.push_back(ListText(list, i));
  return texts;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::DispatchOne(message);
}

// A key pressed in a control, through the program's message pump.
void PressKey(HWND target, WPARAM key, bool control = false, bool shift = false) {
  BYTE keys[256] = {};
  if (control) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
  SetKeyboardState(keys);
  MSG message{target, WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
  win32::DispatchOne(message);
  const BYTE none[256] = {};
  SetKeyboardState(const_cast<BYTE*>(none));
  PumpMessages();
}

class MainWindowBinding : public ::testing::Test {
 protected:
  MainWindowBinding() : main(platform.services), window(main, nullptr, false) {
    // Menu items whose handlers end the program or open windows count instead.
    main.ProcEnd.Click = [this] { ++procEndClicks; };
    main.SMenuMsgOn.Click = [this] { ++msgOnClicks; };
    main.SMenuHelpVersion.Click = [this] { ++versionClicks; };
  }
  HWND Control(const char* name) { return window.Control(name); }
  std::string NameOf(HWND hwnd) {
    for (const auto& c : layout.controls)
      if (Control(c.name) == hwnd) return c.name;
    return "?";
  }

  RealServices platform;
  MainWindow main;
  win32::FormWindow window;
  FormLayout layout = main.Layout();
  int procEndClicks = 0, msgOnClicks = 0, versionClicks = 0;
};

TEST_F(MainWindowBinding, WindowGeometryStyleAndFontFollowTheLayout) {
  HWND hwnd = window.Handle();
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(main.Handle(), reinterpret_cast<WindowHandle>(hwnd));
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, TwipsToPixelsX(6255));
  EXPECT_EQ(client.bottom, TwipsToPixelsY(5535));
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize it";
  EXPECT_TRUE(style & WS_SYSMENU);
  // The outer size is known before Load, so that centring works.
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(main.Width(), win32::PixelsToTwipsX(outer.right - outer.left));
  EXPECT_GT(main.Height(), 5535);

  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("List"), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
  EXPECT_EQ(U(font.lfFaceName), u"ＭＳ ゴシック");
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72));
  ReleaseDC(nullptr, dc);
}

TEST_F(MainWindowBinding, EveryControlAtItsConvertedRectWithItsId) {
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlLayout& c = layout.controls[i];
    SCOPED_TRACE(c.name);
    HWND hwnd = Control(c.name);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(GetDlgCtrlID(hwnd), ControlId(layout, c.name));
    HWND parent = GetParent(hwnd);
    EXPECT_EQ(parent, c.container ? Control(c.container) : window.Handle());
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, TwipsToPixelsX(c.left));
    EXPECT_EQ(rect.top, TwipsToPixelsY(c.top));
    EXPECT_EQ(rect.right - rect.left, TwipsToPixelsX(c.width));
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixelsY(c.height));
  }
  // The end-to-end drivers find controls by these ids.
  EXPECT_EQ(GetDlgItem(window.Handle(), ControlId(layout, "List")), Control("List"));

  EXPECT_EQ(GetWindowLongW(Control("DirCheck"), GWL_STYLE) & BS_TYPEMASK, BS_3STATE);
  const LONG listStyle = GetWindowLongW(Control("List"), GWL_STYLE);
  EXPECT_TRUE(listStyle & LBS_EXTENDEDSEL);
  EXPECT_FALSE(listStyle & LBS_SORT) << "the model keeps the order";
  EXPECT_EQ(TextOf(Control("Frame")), u"処理");
  EXPECT_EQ(TextOf(Control("DirCheck")), u"ﾃﾞｨﾚｸﾄﾘも対象");
  EXPECT_EQ(TextOf(Control("ConversionStart")), u"変換開始");
}

TEST_F(MainWindowBinding, StackingFollowsTheTableFrontToBack) {
  std::vector<std::string> top, inFrame;
  for (HWND h = GetWindow(window.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) top.push_back(NameOf(h));
  for (HWND h = GetWindow(Control("Frame"), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) inFrame.push_back(NameOf(h));
  EXPECT_EQ(top, (std::vector<std::string>{"StatusBar", "Frame", "List", "ConversionStart", "FileList", "DirList",
                                           "DriveList"}))
      << "FileList lies behind List";
  EXPECT_EQ(inFrame, (std::vector<std::string>{"ExtCheck", "DirCheck", "SmallCheck"}));
}

TEST_F(MainWindowBinding, TabMovesTheFocusInTabIndexOrder) {
  window.Show(SW_SHOWNORMAL);
  PumpMessages();
  SetFocus(Control("DriveList"));
  std::vector<std::string> visited{NameOf(GetFocus())};
  for (int i = 0; i < 8; ++i) {
    PressKey(GetFocus(), VK_TAB);
    visited.push_back(NameOf(GetFocus()));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"DriveList", "DirList", "FileList", "List", "DirCheck", "SmallCheck",
                                               "ExtCheck", "ConversionStart", "DriveList"}));
  PressKey(GetFocus(), VK_TAB, false, true);
  EXPECT_EQ(NameOf(GetFocus()), "ConversionStart") << "Shift+Tab goes back";
  // A disabled control is passed over.
  main.DirCheck.SetEnabled(false);
  SetFocus(Control("List"));
  PressKey(GetFocus(), VK_TAB);
  EXPECT_EQ(NameOf(GetFocus()), "SmallCheck");
}

TEST_F(MainWindowBinding, MenusCaptionsShortcutsAndAccelerators) {
  HMENU bar = GetMenu(window.Handle());
  ASSERT_TRUE(bar);
  auto text = [](HMENU menu, int position) {
    wchar_t buffer[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
    return U(buffer);
  };
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  EXPECT_EQ(text(bar, 0), u"ファイル(&F)");
  EXPECT_EQ(text(bar, 1), u"ツール(&T)");
  EXPECT_EQ(text(bar, 2), u"環境設定(&C)");
  EXPECT_EQ(text(bar, 3), u"ヘルプ(&H)");
  EXPECT_EQ(text(GetSubMenu(bar, 0), 0), u"SORVELの終了(&X)\tCtrl+X");
  HMENU tool = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(tool), 3);
  EXPECT_EQ(text(tool, 0), u"指定ディレクトリ以降全て変換...(&S)\tCtrl+S");
  EXPECT_TRUE(GetMenuState(tool, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(text(tool, 2), u"全て変換で変換対象を選択する(&C)\tCtrl+C");
  EXPECT_EQ(text(GetSubMenu(bar, 2), 0), u"起動時は画面中央に表示する(&P)\tCtrl+P");
  EXPECT_EQ(text(GetSubMenu(bar, 2), 1), u"完了メッセージを表示する(&M)\tCtrl+M");
  EXPECT_EQ(text(GetSubMenu(bar, 3), 0), u"バージョン情報(&A)\tCtrl+A");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 2), 1), static_cast<UINT>(MenuId(layout, "SMenuMsgOn")));

  ACCEL accels[16];
  const int count = CopyAcceleratorTableW(window.Accelerators(), accels, 16);
  std::vector<std::pair<WORD, WORD>> keys;
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(accels[i].fVirt, FVIRTKEY | FCONTROL);
    keys.emplace_back(accels[i].key, accels[i].cmd);
  }
  auto id = [&](const char* name) { return static_cast<WORD>(MenuId(layout, name)); };
  const WORD kProcEnd = id("ProcEnd"), kSMenuMsgOn = id("SMenuMsgOn");
  EXPECT_EQ(keys, (std::vector<std::pair<WORD, WORD>>{{'X', kProcEnd},
                                                      {'S', id("SMenuAllChange")},
                                                      {'C', id("SMenuCfgSelectMark")},
                                                      {'P', id("SMenuStartPosition")},
                                                      {'M', kSMenuMsgOn},
                                                      {'A', id("SMenuHelpVersion")}}));

  // The shortcuts work while a list has the focus.
  window.Show(SW_SHOWNORMAL);
  PumpMessages();
  PressKey(Control("List"), 'M', true);
  PressKey(Control("DirList"), 'A', true);
  EXPECT_EQ(msgOnClicks, 1);
  EXPECT_EQ(versionClicks, 1);
  PressKey(Control("List"), 'M');
  EXPECT_EQ(msgOnClicks, 1) << "M alone is no shortcut";
  // A disabled item shows grey and does not run.
  main.ProcEnd.SetEnabled(false);
  EXPECT_TRUE(GetMenuState(bar, kProcEnd, MF_BYCOMMAND) & MF_GRAYED);
  PressKey(Control("List"), 'X', true);
  EXPECT_EQ(procEndClicks, 0);
  main.ProcEnd.SetEnabled(true);
  EXPECT_FALSE(GetMenuState(bar, kProcEnd, MF_BYCOMMAND) & MF_GRAYED);
  PressKey(Control("List"), 'X', true);
  EXPECT_EQ(procEndClicks, 1);
  // Check marks follow the model.
  main.SMenuMsgOn.SetChecked(true);
  EXPECT_TRUE(GetMenuState(bar, kSMenuMsgOn, MF_BYCOMMAND) & MF_CHECKED);
  main.SMenuMsgOn.SetChecked(false);
  EXPECT_FALSE(GetMenuState(bar, kSMenuMsgOn, MF_BYCOMMAND) & MF_CHECKED);
  // A menu command by id, as the menu bar sends it.
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(kSMenuMsgOn, 0), 0);
  EXPECT_EQ(msgOnClicks, 2);
}

TEST_F(MainWindowBinding, CheckBoxStatesBothWays) {
  window.Show(SW_SHOWNORMAL);
  HWND ext = Control("ExtCheck");
  int clicks = 0;
  main.ExtCheck.Click = [&] { ++clicks; };
  main.ExtCheck.SetValue(2);
  EXPECT_EQ(SendMessageW(ext, BM_GETCHECK, 0, 0), BST_INDETERMINATE) << "state 2 shows grey";
  main.ExtCheck.SetValue(1);
  EXPECT_EQ(SendMessageW(ext, BM_GETCHECK, 0, 0), BST_CHECKED);
  // A click by the user goes through the model, which decides the next state.
  SendMessageW(ext, BM_CLICK, 0, 0);
  EXPECT_EQ(main.ExtCheck.Value(), 0);
  EXPECT_EQ(SendMessageW(ext, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(ext, BM_CLICK, 0, 0);
  EXPECT_EQ(main.ExtCheck.Value(), 1);
  EXPECT_EQ(SendMessageW(ext, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 4);
  main.ExtCheck.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(ext));
  main.ExtCheck.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(ext));
}

TEST_F(MainWindowBinding, ListSelectionFlowsBothWays) {
  window.Show(SW_SHOWNORMAL);
  HWND list = Control("List");
  int clicks = 0, doubleClicks = 0;
  main.List.Click = [&] { ++clicks; };
  main.List.DblClick = [&] { ++doubleClicks; };
  main.List.SetItems({u"b.txt", u"A.txt", u"c.txt", u"日本語.txt"});
  EXPECT_EQ(ListTexts(list), main.List.Items()) << "the view shows the model's order";
  main.List.SetSelected(1, true);
  EXPECT_GT(SendMessageW(list, LB_GETSEL, 1, 0), 0);

  // A plain click selects only the item clicked; Ctrl-click adds one.
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const LPARAM first = MAKELPARAM(item.left + 5, item.top + 2);
  const LPARAM third = MAKELPARAM(item.left + 5, item.top + 2 + 2 * (item.bottom - item.top));
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, first);
  SendMessageW(list, WM_LBUTTONUP, 0, first);
  EXPECT_EQ(main.List.SelectedIndexes(), std::vector<int>{0});
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, third);
  SendMessageW(list, WM_LBUTTONUP, MK_CONTROL, third);
  EXPECT_EQ(main.List.SelectedIndexes(), (std::vector<int>{0, 2}));
  EXPECT_EQ(main.List.ListIndex(), 2);
  EXPECT_GE(clicks, 2);

  // A selection made in the view and announced as the list box does.
  SendMessageW(list, LB_SETSEL, TRUE, 3);
  SendMessageW(list, LB_SETSEL, FALSE, 0);
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ControlId(layout, "List"), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(main.List.SelectedIndexes(), (std::vector<int>{2, 3}));
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, first);
  EXPECT_EQ(doubleClicks, 1);

  // A refill by the model clears the view's selection.
  main.List.SetItems({u"x"});
  EXPECT_EQ(ListTexts(list), std::vector<std::u16string>{u"x"});
  EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 0);
}

TEST_F(MainWindowBinding, StatusBarCaptionPositionAndMouseMoves) {
  HWND status = Control("StatusBar");
  main.StatusBar.SetText(u"変換するﾌｧｲﾙを指定して下さい。");
  main.StatusBar.SetSpring(true);
  wchar_t buffer[256] = {};
  SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_EQ(U(buffer), u"変換するﾌｧｲﾙを指定して下さい。");
  int right = 0;
  EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 1, reinterpret_cast<LPARAM>(&right)), 1);
  EXPECT_EQ(right, -1) << "the one panel springs to the full width";

  main.SetCaption(u"SORVEL");
  EXPECT_EQ(TextOf(window.Handle()), u"SORVEL");
  EXPECT_EQ(platform.desktop.FindWindowByTitle(u"SORVEL"), reinterpret_cast<WindowHandle>(window.Handle()));
  main.Move(1500, 3000);
  RECT rect;
  GetWindowRect(window.Handle(), &rect);
  EXPECT_EQ(rect.left, TwipsToPixelsX(1500));
  EXPECT_EQ(rect.top, TwipsToPixelsY(3000));

  int frame = 0, bar = 0, surface = 0, list = 0;
  main.Frame.MouseMove = [&] { ++frame; };
  main.StatusBar.MouseMove = [&] { ++bar; };
  main.Form::MouseMove = [&] { ++surface; };
  main.List.MouseMove = [&] { ++list; };
  for (const char* name : {"Frame", "StatusBar", "List", "DriveList"}) SendMessageW(Control(name), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(frame, 1);
  EXPECT_EQ(bar, 1);
  EXPECT_EQ(list, 1);
  EXPECT_EQ(surface, 1) << "the drive list raises nothing";
}

TEST_F(MainWindowBinding, FolderListOpensRowsAndTheListsFollow) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  const std::u16string folder = U(base) + u"zefta_binding";
  CreateDirectoryW(W(folder), nullptr);
  CreateDirectoryW(W(folder + u"\\サブ"), nullptr);
  HANDLE h = CreateFileW(W(folder + u"\\サブ\\x.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);

  main.DriveList.Refresh();
  EXPECT_EQ(SendMessageW(Control("DriveList"), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(main.DriveList.Drives().size()));
  main.DirList.SetPath(folder);
  HWND dirs = Control("DirList");
  ASSERT_EQ(SendMessageW(dirs, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(main.DirList.Rows().size()));
  EXPECT_EQ(SendMessageW(dirs, LB_GETCURSEL, 0, 0), main.DirList.CurrentRow());
  const int row = static_cast<int>(SendMessageW(dirs, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(L"サブ")));
  ASSERT_GT(row, main.DirList.CurrentRow());
  SendMessageW(dirs, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ControlId(layout, "DirList"), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(dirs));
  EXPECT_EQ(main.DirList.Path().substr(main.DirList.Path().size() - 3), u"\\サブ");
  EXPECT_EQ(ListTexts(Control("FileList")), std::vector<std::u16string>{u"x.txt"});
  EXPECT_EQ(ListTexts(Control("List")), std::vector<std::u16string>{u"x.txt"});
  EXPECT_TRUE(IsWindowEnabled(Control("ConversionStart")));
  // Enter opens the highlighted row: the parent folder.
  SendMessageW(dirs, LB_SETCURSEL, static_cast<WPARAM>(main.DirList.CurrentRow() - 1), 0);
  SendMessageW(dirs, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(main.DirList.Path(), main.DirList.PathOfRow(main.DirList.CurrentRow()));
  EXPECT_EQ(main.DirList.Path().size(), folder.size());

  DeleteFileW(W(folder + u"\\サブ\\x.txt"));
  RemoveDirectoryW(W(folder + u"\\サブ"));
  RemoveDirectoryW(W(folder));
}

// A small dialog for the modal host.
class TestDialog : public Form {
 public:
  FormLayout Layout() override {
    FormLayout layout{"TestDialog", u"テスト", 3000, 1500, 9, BorderStyle::FixedDialog, false, false, false, {}, {}};
    layout.controls = {{"Ok", ControlKind::CommandButton, u"OK", 120, 120, 1200, 400, 0, nullptr, false, 12, &Ok}};
    return layout;
  }
  void Load() override {
    loadedHidden = !IsWindowVisible(reinterpret_cast<HWND>(Handle()));
    style = GetWindowLongW(reinterpret_cast<HWND>(Handle()), GWL_STYLE);
    exStyle = GetWindowLongW(reinterpret_cast<HWND>(Handle()), GWL_EXSTYLE);
    hwnd = reinterpret_cast<HWND>(Handle());
    owner = GetWindow(hwnd, GW_OWNER);
    PostMessageW(GetDlgItem(hwnd, ControlId(Layout(), "Ok")), BM_CLICK, 0, 0);
  }
  CommandButton Ok;
  bool loadedHidden = false;
  LONG style = 0, exStyle = 0;
  HWND hwnd = nullptr;
  HWND owner = nullptr;
};

TEST_F(MainWindowBinding, ModalWindowLoadsHiddenDisablesItsOwnerAndEndsAtUnload) {
  window.Show(SW_SHOWNORMAL);
  TestDialog dialog;
  bool ownerWasEnabled = true;
  int fontPoints = 0;
  dialog.Ok.Click = [&] {
    ownerWasEnabled = IsWindowEnabled(window.Handle()) != FALSE;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog.hwnd, ControlId(dialog.Layout(), "Ok")), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    HDC dc = GetDC(nullptr);
    fontPoints = MulDiv(-font.lfHeight, 72, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    dialog.Unload();
  };
  platform.windows.ShowModal(dialog, main);
  EXPECT_TRUE(dialog.loadedHidden) << "Load runs before the window is shown";
  EXPECT_FALSE(ownerWasEnabled);
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
  EXPECT_FALSE(IsWindow(dialog.hwnd));
  EXPECT_EQ(dialog.Handle(), 0u);
  EXPECT_EQ(fontPoints, 12) << "a control's own font size";
  EXPECT_TRUE(dialog.exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(dialog.owner, window.Handle());
}

// A list with a check box before every item, as the conversion list shows.
class CheckListForm : public Form {
 public:
  FormLayout Layout() override {
    FormLayout layout{"CheckList", u"", 4935, 4215, 9, BorderStyle::FixedDialog, false, false, false, {}, {}};
    layout.controls = {{"Targets", ControlKind::ListBox, u"", 120, 120, 4695, 3210, 0, nullptr, false, 0, &Targets}};
    return layout;
  }
  ListBox Targets{false, ListBox::Selection::Single, true};
};

TEST(CheckListBinding, TheCheckBoxOfAnItemFlipsItsMark) {
  CheckListForm form;
  win32::FormWindow window(form, nullptr, false);
  window.Show(SW_SHOWNORMAL);
  HWND list = window.Control("Targets");
  ASSERT_TRUE(GetWindowLongW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED);
  int clicks = 0;
  form.Targets.Click = [&] { ++clicks; };
  form.Targets.SetItems({u"C:\\a.txt", u"C:\\b.txt", u"C:\\c.txt"});
  form.Targets.SetSelected(0, true);
  EXPECT_EQ(ListTexts(list), form.Targets.Items());
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const int y = (item.top + item.bottom) / 2;
  auto click = [&](int x) {
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  click(item.left + 4);  // on the check box of the second item
  EXPECT_EQ(form.Targets.SelectedIndexes(), (std::vector<int>{0, 1})) << "checking one keeps the others";
  EXPECT_EQ(form.Targets.ListIndex(), 1);
  click(item.left + 200);  // on its text: highlighted, mark unchanged
  EXPECT_EQ(form.Targets.SelectedIndexes(), (std::vector<int>{0, 1}));
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(form.Targets.SelectedIndexes(), std::vector<int>{0}) << "Space flips the current item";
  click(item.left + 4);
  EXPECT_EQ(form.Targets.SelectedIndexes(), (std::vector<int>{0, 1}));
  EXPECT_GE(clicks, 3);
}

// A plain single-choice list and a check list, as the conversion list window has.
class WalkForm : public Form {
 public:
  FormLayout Layout() override {
    FormLayout layout{"Walk", u"", 9000, 4215, 9, BorderStyle::FixedDialog, false, false, false, {}, {}};
    layout.controls = {{"Plain", ControlKind::ListBox, u"", 120, 120, 4200, 3210, 0, nullptr, false, 0, &Plain},
                       {"Checks", ControlKind::ListBox, u"", 4500, 120, 4200, 3210, 1, nullptr, false, 0, &Checks}};
    return layout;
  }
  ListBox Plain{false, ListBox::Selection::Single};
  ListBox Checks{false, ListBox::Selection::Single, true};
};

// Pumps until done() or the time-out; the highlight of a fast walk catches up by a timer.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpMessages();
    Sleep(5);
  }
  return true;
}

TEST(ListHighlightBinding, AWalkDownEndsOnTheModelsEntryAndAUsersClickIsNotUndone) {
  WalkForm form;
  win32::FormWindow window(form, nullptr, false);
  window.Show(SW_SHOWNORMAL);
  HWND plain = window.Control("Plain"), checks = window.Control("Checks");
  std::vector<std::u16string> items;
  for (int i = 0; i < 400; ++i) items.push_back(u"C:\\d\\entry" + U(std::to_wstring(i).c_str()));
  form.Plain.SetItems(items);
  form.Checks.SetItems(items);
  for (int i = 0; i < 400; ++i) {
    form.Plain.SetSelected(i, true);
    form.Checks.SetSelected(i, false);
    form.Checks.SetListIndex(i);
    PumpMessages();
  }
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(plain, LB_GETCURSEL, 0, 0) == 399; }, 2000));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(checks, LB_GETCURSEL, 0, 0) == 399; }, 2000));
  EXPECT_GE(SendMessageW(plain, LB_GETTOPINDEX, 0, 0), 380) << "the last entry is scrolled into view";

  // Two moves in quick succession: the second waits for the timer. A click
  // by the user before it fires is the newer choice and stays.
  form.Plain.SetSelected(395, true);
  form.Plain.SetSelected(396, true);
  const int top = static_cast<int>(SendMessageW(plain, LB_GETTOPINDEX, 0, 0));
  RECT item;
  SendMessageW(plain, LB_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM(item.left + 5, item.top + 2);
  SendMessageW(plain, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(plain, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(form.Plain.SelectedIndexes(), std::vector<int>{top});
  Sleep(250);
  PumpMessages();
  EXPECT_EQ(SendMessageW(plain, LB_GETCURSEL, 0, 0), top);
  EXPECT_EQ(form.Plain.SelectedIndexes(), std::vector<int>{top});
}

// A list whose widest entry is wider than the list scrolls sideways to the
// whole entry, check box included, and stops scrolling when it no longer is.
TEST(ListWidthBinding, ListsScrollSidewaysToTheirWidestEntry) {
  WalkForm form;
  win32::FormWindow window(form, nullptr, false);
  window.Show(SW_SHOWNORMAL);
  const std::u16string wide = u"C:\\" + std::u16string(30, u'x') + u"\\日本語のフォルダ\\" + std::u16string(30, u'y') + u".txt";
  const auto scrolls = [](HWND list) {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    return GetScrollInfo(list, SB_HORZ, &info) && info.nMax - info.nMin + 1 > static_cast<int>(info.nPage);
  };
  for (ListBox* model : {&form.Plain, &form.Checks}) {
    HWND list = window.Control(model == &form.Plain ? "Plain" : "Checks");
    SCOPED_TRACE(model == &form.Plain ? "plain" : "check list");
    model->SetItems({u"C:\\a.txt"});
    EXPECT_FALSE(scrolls(list));
    model->AddItem(wide);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, W(wide), static_cast<int>(wide.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const LRESULT box = model->CheckBoxes() ? SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) : 0;
    EXPECT_GE(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), text.cx + box);
    EXPECT_TRUE(scrolls(list));
    model->SetItems({u"C:\\a.txt"});
    EXPECT_FALSE(scrolls(list));
  }
}

}  // namespace
}  // namespace zefta

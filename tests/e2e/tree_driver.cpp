// Drives the whole-tree conversion of ZEFTA.EXE under Wine: the Tool menu
// command, the shell's folder picker (its tree walked down to the prepared
// folder, then OK), and the conversion list window, in plain mode and in
// choice mode with some check marks removed. Then checks the disk.
//
// zefta_e2e_tree <ZEFTA.EXE> <prepared folder> <screenshot prefix>
// The folder holds two like trees, plain\ and choice\, and temp\ for the list file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "picker.h"
#include "window_ids.h"

namespace {

using namespace e2e;

// Every name below a folder as a path relative to it, sorted.
void Walk(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out) {
  for (const std::wstring& name : NamesOnDisk(relative.empty() ? root : root + L"\\" + relative)) {
    const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
    out.push_back(path);
    const DWORD attributes = GetFileAttributesW((root + L"\\" + path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) Walk(root, path, out);
  }
}

std::wstring TreeOnDisk(const std::wstring& root) {
  std::vector<std::wstring> paths;
  Walk(root, L"", paths);
  std::sort(paths.begin(), paths.end());
  return Join(paths);
}

std::wstring Sorted(std::vector<std::wstring> items) {
  std::sort(items.begin(), items.end());
  return Join(items);
}

std::wstring ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"<none>";
  char buffer[8192];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof(buffer), &got, nullptr);
  CloseHandle(file);
  const int size = MultiByteToWideChar(932, 0, buffer, static_cast<int>(got), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(932, 0, buffer, static_cast<int>(got), text.data(), size);
  return text;
}

void Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& shots) {
  const std::wstring plain = folder + L"\\plain", choice = folder + L"\\choice", temp = folder + L"\\temp";
  const std::wstring listFile = temp + L"\\ZEFTA.TMP";
  // Plain mode, directories included; the window shows the prepared folder.
  StoreSettings({{L"DRV", folder}, {L"MARK", L"0"}, {L"DIR", L"1"}, {L"MSG", L"1"}});
  Process program;
  if (!Start(program, exe, L"", {L"TEMP=" + temp})) return Check(false, "ZEFTA.EXE starts", exe);
  HWND main = WaitForMainWindow(program);
  if (!main) return;
  const DWORD pid = program.Id();

  // Cancel in the picker: nothing happens.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuAllChange"), 0), 0);
  if (HWND picker = WaitForPicker(pid)) {
    Check(true, "the Tool menu item shows the folder picker");
    PostMessageW(GetDlgItem(picker, IDCANCEL), BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindow(picker); }, 10000), "Cancel closes the picker");
    Check(!WaitFor([&] { return FindTopLevel(pid, nullptr, kListCaption) || FindTopLevel(pid, L"#32770"); }, 1000),
          "after Cancel no window and no message");
    CheckEqual(ReadBytes(listFile), L"<none>", "after Cancel no list file");
    Check(IsWindowEnabled(main) != FALSE, "the main window takes input again");
  } else {
    Check(false, "the Tool menu item shows the folder picker");
    DescribeWindows(pid);
  }

  // Plain mode: every entry that needs it is converted.
  const std::vector<std::wstring> plainListed{
      plain + L"\\DONE",
      plain + L"\\My File, v2.txt",
      plain + L"\\ReadOnly.txt",
      plain + L"\\Readme.Txt",
      plain + L"\\UPPER.TXT",
      plain + L"\\サブDir",
      plain + L"\\サブDir\\Deep",
      plain + L"\\サブDir\\Deep\\Mixed.Case.doc",
      plain + L"\\サブDir\\Deep\\漢字.TXT",
      plain + L"\\サブDir\\inner.txt",
      plain + L"\\サブDir\\ＡＢＣ全角.TXT",
      plain + L"\\ソDir",
      plain + L"\\ソDir\\x.txt",
      plain + L"\\日本語メモ.txt",
      plain + L"\\表ソフト.txt",
  };
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuAllChange"), 0), 0);
  if (!PickFolder(program, plain, shots + L"-folder-picker.bmp")) return;
  HWND window = WaitForListWindow(pid);
  if (!window) return DescribeWindows(pid);
  HWND list = GetDlgItem(window, ListWindowControl("ChangeFileList0"));
  HWND start = GetDlgItem(window, ListWindowControl("ChangeStart"));
  Check(IsWindowVisible(list) && !IsWindowVisible(GetDlgItem(window, ListWindowControl("ChangeFileList1"))) &&
            !IsWindowVisible(GetDlgItem(window, ListWindowControl("ChangeFileListTitle"))),
        "plain mode shows the plain list only");
  CheckEqual(Sorted(ListTexts(list)), Join(plainListed), "the list shows every entry of the tree, directories too");
  const std::vector<std::wstring> listed = ListTexts(list);
  const auto position = [&](const std::wstring& p) { return std::find(listed.begin(), listed.end(), p) - listed.begin(); };
  Check(position(plain + L"\\サブDir") < position(plain + L"\\サブDir\\inner.txt"),
        "a directory is listed before its entries");
  Check(IsWindowEnabled(start) != FALSE, "変換開始 is enabled");
  Check(!IsWindowEnabled(main), "the main window waits while the list is shown");
  Sleep(300);
  Check(SaveScreenshot(window, shots + L"-list-window.bmp"), "screenshot of the list window");
  PostMessageW(start, BM_CLICK, 0, 0);
  MessageBoxSeen done = AnswerMessageBox(pid, 30000);
  Check(done.seen, "the completion message appears");
  CheckEqual(done.title, kMessageTitle, "its title");
  CheckEqual(done.text, L"11ファイル中、11ファイルを変換しました。", "its text");
  Check(WaitFor([&] { return !IsWindow(window); }, 10000), "the list window closes after the run");
  CheckEqual(TreeOnDisk(plain),
             L"DONE, MY FILE, V2.TXT, README.TXT, READONLY.TXT, UPPER.TXT, サブDIR, サブDIR\\DEEP, "
             L"サブDIR\\DEEP\\MIXED.CASE.DOC, サブDIR\\DEEP\\漢字.TXT, サブDIR\\INNER.TXT, サブDIR\\ＡＢＣ全角.TXT, "
             L"ソDIR, ソDIR\\X.TXT, 日本語メモ.TXT, 表ソフト.TXT",
             "every name of the plain tree in capitals");

  // Choice mode from the keyboard: Ctrl+C checks 全て変換で変換対象を選択する,
  // ﾃﾞｨﾚｸﾄﾘも対象 cleared (files only), Ctrl+S starts the command.
  HWND dirCheck = GetDlgItem(GetDlgItem(main, MainControl("Frame")), MainControl("DirCheck"));
  PostMessageW(dirCheck, BM_CLICK, 0, 0);
  Check(WaitFor([&] { return SendMessageW(dirCheck, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 5000),
        "ﾃﾞｨﾚｸﾄﾘも対象 cleared");
  Check(MakeForeground(main), "the main window comes to the front");
  PressKeys({VK_CONTROL}, 'C');
  PressKeys({VK_CONTROL}, 'S');
  if (!PickFolder(program, choice, L"")) return;
  window = WaitForListWindow(pid);
  if (!window) return DescribeWindows(pid);
  list = GetDlgItem(window, ListWindowControl("ChangeFileList1"));
  start = GetDlgItem(window, ListWindowControl("ChangeStart"));
  Check(IsWindowVisible(list) && !IsWindowVisible(GetDlgItem(window, ListWindowControl("ChangeFileList0"))),
        "choice mode shows the check list");
  const std::vector<std::wstring> choiceListed = ListTexts(list);
  CheckEqual(Sorted(choiceListed),
             Sorted({choice + L"\\Readme.Txt", choice + L"\\UPPER.TXT", choice + L"\\日本語メモ.txt",
                     choice + L"\\ReadOnly.txt", choice + L"\\サブDir\\inner.txt", choice + L"\\サブDir\\ＡＢＣ全角.TXT",
                     choice + L"\\サブDir\\Deep\\Mixed.Case.doc", choice + L"\\サブDir\\Deep\\漢字.TXT"}),
             "the list shows the files only");
  CheckEqual(std::to_wstring(SendMessageW(list, LB_GETCURSEL, 0, 0)), L"0", "entry 0 is the current one");
  const auto index = [&](const std::wstring& p) {
    return static_cast<int>(std::find(choiceListed.begin(), choiceListed.end(), p) - choiceListed.begin());
  };
  // Mixed.Case.doc: made current, then the space bar. Readme.Txt: a click on
  // its check box. The click moves the current entry, so it comes last: a
  // message sent to the list overtakes those posted before it.
  const int mixed = index(choice + L"\\サブDir\\Deep\\Mixed.Case.doc");
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(mixed), 0);
  PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0390001);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index(choice + L"\\Readme.Txt")), reinterpret_cast<LPARAM>(&item));
  PostClick(list, item.left + 4, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_NULL, 0, 0);
  // A file held open without sharing: its rename fails, silently.
  HANDLE held = CreateFileW((choice + L"\\サブDir\\inner.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  Check(held != INVALID_HANDLE_VALUE, "inner.txt held open");
  Sleep(300);
  Check(SaveScreenshot(window, shots + L"-check-list-window.bmp"), "screenshot of the check list");
  PostMessageW(start, BM_CLICK, 0, 0);
  done = AnswerMessageBox(pid, 30000);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  Check(done.seen, "the completion message appears");
  CheckEqual(done.text, L"3ファイル中、2ファイルを変換しました。", "its text: the held file not converted");
  Check(!FindTopLevel(pid, L"#32770"), "no failure message");
  Check(WaitFor([&] { return !IsWindow(window); }, 10000), "the list window closes after the run");
  CheckEqual(TreeOnDisk(choice),
             L"DONE, READONLY.TXT, Readme.Txt, UPPER.TXT, サブDir, サブDir\\Deep, サブDir\\Deep\\Mixed.Case.doc, "
             L"サブDir\\Deep\\漢字.TXT, サブDir\\inner.txt, サブDir\\ＡＢＣ全角.TXT, 日本語メモ.TXT",
             "only the checked files converted, directories kept");

  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(program.Ended(20000), "the program ends at the close box");
  CheckEqual(Setting(L"MARK"), L"1", "MARK stored after Ctrl+C");
  CheckEqual(Setting(L"DIR"), L"0", "DIR stored");

  // Without KESTRUM.DLL beside it the command says so and opens nothing.
  const std::wstring before = ReadBytes(listFile);
  Process alone;
  if (!Start(alone, folder + L"\\nolib\\ZEFTA.EXE", L"", {L"TEMP=" + temp}))
    return Check(false, "ZEFTA.EXE without its library starts");
  main = WaitForMainWindow(alone);
  if (!main) return;
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuAllChange"), 0), 0);
  if (!PickFolder(alone, plain, L"")) return;
  const MessageBoxSeen missing = AnswerMessageBox(alone.Id(), 20000);
  Check(missing.seen, "without the library a message appears");
  CheckEqual(missing.title, kMessageTitle, "its title");
  CheckEqual(missing.text, L"KESTRUM.DLL が読み込めないため、変換を開始できません。", "its text");
  Check(!FindTopLevel(alone.Id(), nullptr, kListCaption), "no list window");
  Check(before != L"<none>" && ReadBytes(listFile) == before, "the list file of the last run untouched");
  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(alone.Ended(20000), "the program ends at the close box");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: zefta_e2e_tree <ZEFTA.EXE> <folder> <screenshot prefix>\n");
    return 2;
  }
  Run(argv[1], argv[2], argv[3]);
  return Verdict();
}

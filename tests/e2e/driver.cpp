// Drives the real ZEFTA.EXE under Wine through each scenario in turn as a user
// would, and checks what only the real program on the real display shows.
// zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix> [scenario...]
// run_e2e.sh prepares a folder for each scenario inside the prepared folder.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "driving.h"
#include "gestures.h"

namespace e2e {

// Elsewhere: the journal's scenarios, and those of a big tree.
void UndoneAfterARestart();
void KilledRunsAreMended();
void ListingCancelledThenFinished();
void RunStoppedThenUndone();

namespace {

// Drags `paths` from this process onto a point of the screen and drops them
// there. The drag runs on a thread of its own: the target shows its messages
// while the drag waits, and this thread answers them. Tells the effect the
// target chose and how many messages it showed.
std::wstring DragOnto(POINT at, const std::vector<std::wstring>& paths, DWORD pid) {
  DWORD effect = 0xFFFF;
  int messages = 0;
  SetCursorPos(at.x, at.y);
  HANDLE thread = StartDrag(paths, &effect);
  for (const DWORD start = GetTickCount(); WaitForSingleObject(thread, 50) == WAIT_TIMEOUT && GetTickCount() - start < 30000;)
    messages += !AnswerMessageBox(pid, 0).empty();
  const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
  Check(ended, "the drag ends");
  if (!ended) TerminateThread(thread, 1);  // it would write into this frame later
  CloseHandle(thread);
  return L"effect " + std::to_wstring(effect) + L", " + std::to_wstring(messages) + L" message(s)";
}

void SelectedEntriesConverted() {
  const std::wstring folder = g_root + L"\\main";
  Program program({{L"DRV", folder}});
  if (!program.MainWindow()) return;
  HWND list = MainControl(program.main, "List");
  Check(ListCountIs(list, 5), "List shows the folder's five files", Join(ListTexts(list)));
  SaveScreenshot(program.main, g_shots + L"-main-window.bmp");
  for (const wchar_t* name : {L"abc.txt", L"Mixed.Txt", L"gone.txt"})
    SendMessageW(list, LB_SETSEL, TRUE, SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(name)));
  SendMessageW(program.main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  // gone.txt disappears between the listing and the run: its rename fails.
  DeleteFileW((folder + L"\\gone.txt").c_str());
  PostMessageW(MainControl(program.main, "ConversionStart"), BM_CLICK, 0, 0);
  Check(WaitForWindow(program.Id(), L"#32770", L"SORVELからのお知らせ", 30000), "a message box with the program's title");
  CheckEqual(AnswerMessageBox(program.Id()), L"ファイル名の変更に失敗しました。", "it tells of the entry that could not be renamed");
  CheckEqual(AnswerMessageBox(program.Id()), L"3ファイル中、2ファイルを変換しました。", "then the completion message box");
  CheckEqual(NamesOnDisk(folder), L"ABC.TXT, MIXED.TXT, UPPER.TXT, keep.txt, sub", "names on disk");
}

void DroppedFilesConverted() {
  const std::wstring folder = g_root + L"\\drop";
  Program program({{L"DRV", folder}});
  if (!program.MainWindow()) return;
  HWND list = MainControl(program.main, "List");
  const std::vector<std::wstring> files{folder + L"\\abc.txt", folder + L"\\Mixed.Txt"};
  const std::wstring refused = L"effect 0, 0 message(s)";
  CheckEqual(DragOnto(CentreOf(FrameControl(program.main, "ExtCheck")), files, program.Id()), refused,
             "files dropped on 拡張子だけが対象");
  // While About is shown the main window takes no drop, as it takes no click.
  program.Command("SMenuHelpVersion");
  HWND about = WaitForWindow(program.Id(), nullptr, L"バージョン情報");
  RECT aboutArea{}, listArea{};
  GetWindowRect(about, &aboutArea);
  GetWindowRect(list, &listArea);
  const POINT corner{listArea.left + 5, listArea.bottom - 5};
  Check(about && !PtInRect(&aboutArea, corner), "About shown, a corner of List free of it");
  SaveScreenshot(about, g_shots + L"-about-window.bmp");
  CheckEqual(DragOnto(corner, files, program.Id()), refused, "files dropped on List while About is shown");
  PostMessageW(about, WM_CLOSE, 0, 0);
  WaitFor([&] { return IsWindowEnabled(program.main) != FALSE; });
  CheckEqual(NamesOnDisk(folder), L"Mixed.Txt, abc.txt, keep.txt", "nothing renamed by the refused drops");
  CheckEqual(DragOnto(CentreOf(list), files, program.Id()), L"effect 1, 1 message(s)", "files dropped on List: a copy");
  CheckEqual(NamesOnDisk(folder), L"ABC.TXT, MIXED.TXT, keep.txt", "names on disk after the drop");
}

// Names outside the code page, the top folder's too, beside the look-alikes its best fit makes of them,
// which are unchecked (choice mode); ソ and 表 end in the byte of "\" in Shift-JIS.
void TreeConvertedThroughTheListWindow() {
  const std::wstring tree = g_root + L"\\tree\\Top 한", t = tree + L"\\";
  Program program({{L"DRV", g_root + L"\\tree"}, {L"DIR", L"1"}, {L"SMALL", L"1"}, {L"MARK", L"1"}, {L"MSG", L"1"}});
  if (!program.MainWindow()) return;
  program.Command("SMenuAllChange");
  HWND window = PickFolder(program.Id(), program.info.hProcess, tree) ? WaitForWindow(program.Id(), nullptr, L"変換ファイル一覧") : nullptr;
  Check(window != nullptr, "the conversion list window appears");
  if (!window) return;
  HWND list = ShownList(window);
  const std::vector<std::wstring> listed = WalkOrder(tree);
  std::vector<std::wstring> sorted = listed, expected;
  std::sort(sorted.begin(), sorted.end());
  for (const wchar_t* name : {L"Cafe.TXT", L"Café.TXT", L"Plain.TXT", L"ReadOnly.txt", L"Readme.Txt", L"a", L"a\\b.TXT",
                              L"a¥b.TXT", L"サブDir", L"サブDir\\Mixed.Case.doc", L"ソDir", L"ソDir\\x.txt", L"表ソフト.txt",
                              L"한글.TXT", L"😀.TXT"})
    expected.push_back(t + name);
  CheckEqual(Join(sorted), Join(expected), "the tree holds every name");
  Check(ListCountIs(list, static_cast<LRESULT>(listed.size())), "the list window lists every entry of the tree");
  for (const wchar_t* lookAlike : {L"Cafe.TXT", L"a\\b.TXT"}) {  // a click on each one's check box, scrolled into view
    const auto index = static_cast<WPARAM>(std::find(listed.begin(), listed.end(), t + lookAlike) - listed.begin());
    RECT row{};
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row));
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(list, message, 0, MAKELPARAM(row.left + 4, row.top + 2));
  }
  SaveScreenshot(window, g_shots + L"-tree-list-window.bmp");
  PostMessageW(FindWindowExW(window, nullptr, L"Button", L"変換開始"), BM_CLICK, 0, 0);
  CheckEqual(AnswerMessageBox(program.Id()), L"10ファイル中、10ファイルを変換しました。", "the run counts every checked name");
  CheckEqual(NamesOnDisk(tree) + L" / " + NamesOnDisk(t + L"a") + L" / " + NamesOnDisk(t + L"ソdir") + L" / " +
                 NamesOnDisk(t + L"サブdir"),
             L"Cafe.TXT, a, a¥b.txt, café.txt, plain.txt, readme.txt, readonly.txt, サブdir, ソdir, 表ソフト.txt, 한글.txt, "
             L"😀.txt / b.TXT / x.txt / mixed.case.doc",
             "every checked name in lower case, the read-only file's too, the look-alikes as they were");
}

void ClearRemovesTheSettings() {
  Program clear({{L"DIR", L"1"}}, L"/clear");
  HKEY key = nullptr;
  Check(clear.Ended() && RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsSection, 0, KEY_READ, &key) == ERROR_FILE_NOT_FOUND,
        "/clear ends by itself and removes the settings section");
}

void SecondInstanceEnds() {
  Program first({{L"DRV", g_root + L"\\drop"}});
  if (!first.MainWindow()) return;
  Program second({});
  Check(WaitForWindow(second.Id(), L"#32770", nullptr, 60000) && !WaitForWindow(second.Id(), nullptr, L"SORVEL", 0),
        "the second start shows a message box and no main window");
  CheckEqual(AnswerMessageBox(second.Id(), 0), L"すでに起動されているので終了します。", "the second start's message box");
  Check(second.Ended() && IsWindowVisible(first.main), "the second start ends, the first runs on");
}

const struct {
  std::wstring name;
  void (*run)();
  bool byDefault = true;
} kScenarios[] = {
    {L"selection", SelectedEntriesConverted},
    {L"drop", DroppedFilesConverted},
    {L"tree", TreeConvertedThroughTheListWindow},
    {L"clear", ClearRemovesTheSettings},
    {L"second-instance", SecondInstanceEnds},
    {L"undo", UndoneAfterARestart},
    {L"listing-cancelled", ListingCancelledThenFinished},
    {L"run-stopped", RunStoppedThenUndone},
    {L"killed-runs", KilledRunsAreMended, false},
};

}  // namespace
}  // namespace e2e

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  if (argc < 4) {
    std::printf("usage: zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix> [scenario...]\n");
    return 2;
  }
  g_exe = argv[1], g_root = argv[2], g_shots = argv[3];
  for (const auto& scenario : kScenarios) {
    const bool named = std::find(argv + 4, argv + argc, scenario.name) != argv + argc;
    if (argc > 4 ? !named : !scenario.byDefault) continue;
    const int failuresBefore = g_failures;
    std::printf("== %ls\n", scenario.name.c_str());
    scenario.run();
    std::printf("== %ls %s\n", scenario.name.c_str(), g_failures == failuresBefore ? "passed" : "FAILED");
  }
  std::printf("%s: %d failure(s)\n", g_failures == 0 ? "PASSED" : "FAILED", g_failures);
  return g_failures == 0 ? 0 : 1;
}

// A tree too big to wait for without a word: its listing shows how far it
// is and stops on Esc, and a run over thousands of files does the same; the
// names on disk afterwards show that a stop renames nothing more.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "driving.h"
#include "gestures.h"
#include "modules/messages.h"
#include "forms/conversion_list_texts.h"
#include "forms/progress_texts.h"

namespace e2e {

namespace {

// The program answers a message within a quarter of a second.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result) != 0;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
  return text;
}

long LowerCaseNames(const std::wstring& folder) {
  const std::wstring names = NamesOnDisk(folder);
  return static_cast<long>(std::count(names.begin(), names.end(), L's'));  // "s0123.txt": one "s" each
}

}  // namespace

void ListingCancelledThenFinished() {
  const std::wstring tree = g_root + L"\\big";
  const std::wstring before = NamesOnDisk(tree + L"\\D00");
  Program program({{L"DRV", g_root}, {L"DIR", L"0"}, {L"MARK", L"0"}});
  if (!program.MainWindow()) return;
  program.Command("SMenuAllChange");
  if (!PickFolder(program.Id(), program.info.hProcess, tree)) return;
  HWND progress = WaitForWindow(program.Id(), nullptr, Text(zefta::progress_texts::kCaption).c_str(), 10000);
  Check(progress != nullptr, "a progress window shows while the tree is listed");
  if (!progress) return;
  HWND count = FindWindowExW(progress, nullptr, L"Static", nullptr);
  const std::wstring first = WindowText(count);
  Sleep(300);
  const std::wstring later = WindowText(count);
  Check(first.starts_with(Text(zefta::progress_texts::kListingBefore)) && later != first, "the count moves", later);
  Check(Answers(program.main) && !IsWindowEnabled(program.main), "the main window answers and takes no input");
  SaveScreenshot(progress, g_shots + L"-listing-progress.bmp");
  PostMessageW(count, WM_KEYDOWN, VK_ESCAPE, 0);
  Check(WaitFor([&] { return !IsWindow(progress); }, 1000), "Esc ends the listing at once");
  Check(!WaitForWindow(program.Id(), nullptr, Text(zefta::conversion_list_texts::kCaption).c_str(), 1500),
        "no list window opens");
  Check(WaitFor([&] { return IsWindowEnabled(program.main) != FALSE; }), "the main window is back as it was");

  program.Command("SMenuAllChange");
  if (!PickFolder(program.Id(), program.info.hProcess, tree)) return;
  HWND window = WaitForWindow(program.Id(), nullptr, Text(zefta::conversion_list_texts::kCaption).c_str(), 120000);
  Check(window && ListCountIs(ShownList(window), 10000), "a second try lists every file of the tree");
  if (window) PostMessageW(FindWindowExW(window, nullptr, L"Button", Text(zefta::conversion_list_texts::kCancel).c_str()), BM_CLICK, 0, 0);
  Check(NamesOnDisk(tree + L"\\D00") == before, "nothing renamed");
}

void RunStoppedThenUndone() {
  const std::wstring folder = g_root + L"\\stop";
  const std::wstring before = NamesOnDisk(folder);
  Program program({{L"DRV", folder}, {L"SMALL", L"1"}, {L"MSG", L"1"}, {L"DIR", L"0"}});
  if (!program.MainWindow()) return;
  ConvertEverything(program);
  HWND status = MainControl(program.main, "StatusBar");
  Check(WaitFor([&] { return WindowText(status).starts_with(Text(zefta::progress_texts::kConverting)); }, 10000),
        "the status bar shows how far the run is", WindowText(status));
  Check(Answers(program.main), "the window answers during the run");
  SaveScreenshot(program.main, g_shots + L"-run-progress.bmp");
  PostMessageW(MainControl(program.main, "List"), WM_KEYDOWN, VK_ESCAPE, 0);
  const std::wstring report = AnswerMessageBox(program.Id(), 60000);
  const long converted = LowerCaseNames(folder);
  const std::wstring counts = std::to_wstring(converted);
  CheckEqual(report, Text(zefta::kStoppedText) + L"\n" + counts + L"ファイル中、" + counts + L"ファイルを変換しました。",
             "the report tells of the stop and counts what the run did");
  Check(converted > 0 && converted < 3000, "Esc stopped the run part way", counts);
  PressCtrlZ(program.main);
  AnswerMessageBox(program.Id(), 120000);
  Check(NamesOnDisk(folder) == before, "Ctrl+Z takes the stopped run back");
}

}  // namespace e2e

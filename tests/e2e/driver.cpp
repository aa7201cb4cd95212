// Drives the real ZEFTA.EXE under Wine the way a user would: select entries,
// press 変換開始, read and answer the message boxes, close the window; then
// checks the disk and the registry. It waits by polling, with time-outs.
//
// zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix>
// The folder holds abc.txt, Mixed.Txt, UPPER.TXT, keep.txt, .hidden.txt and sub\.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "window_ids.h"

namespace {

using namespace e2e;

int Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& shots) {
  // The stored folder is the prepared one; everything else takes its default.
  StoreSettings({{L"DRV", folder}});

  Process first;
  if (!Start(first, exe, L"")) {
    Check(false, "ZEFTA.EXE starts", exe);
    return 1;
  }
  HWND main = WaitForMainWindow(first);
  if (!main) return 1;
  HWND list = GetDlgItem(main, MainControl("List"));
  HWND start = GetDlgItem(main, MainControl("ConversionStart"));
  Check(list && start, "List and ConversionStart found by id");
  if (!list || !start) return 1;
  const std::vector<std::wstring> before{L"abc.txt", L"keep.txt", L"Mixed.Txt", L"UPPER.TXT"};
  Check(WaitFor([&] { return ListTexts(list) == before; }, 20000),
        "List shows the folder's files, sorted, without the hidden one and the folder", Join(ListTexts(list)));
  Check(IsWindowEnabled(start) != FALSE, "変換開始 is enabled");
  Check(SaveScreenshot(main, shots + L"-main-window.bmp"), "screenshot of the main window");

  // The About window, modal over the main window.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuHelpVersion"), 0), 0);
  HWND about = nullptr;
  Check(WaitFor([&] { return (about = FindTopLevel(first.info.dwProcessId, nullptr, L"バージョン情報")) != nullptr; },
                20000),
        "Ctrl+A's menu item shows the About window");
  if (about) {
    Check(!IsWindowEnabled(main), "the main window waits while About is shown");
    Sleep(300);
    Check(SaveScreenshot(about, shots + L"-about-window.bmp"), "screenshot of the About window");
    PostMessageW(GetDlgItem(about, AboutControl("Ok")), BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(main); }, 10000), "OK closes it");
  }

  // A second start while the first runs.
  {
    Process second;
    Check(Start(second, exe, L""), "a second instance starts");
    const MessageBoxSeen box = AnswerMessageBox(second.info.dwProcessId, 60000);
    Check(box.seen, "the second instance shows a message box");
    CheckEqual(box.title, kMessageTitle, "its title");
    CheckEqual(box.text, L"すでに起動されているので終了します。", "its text");
    Check(second.Ended(20000), "the second instance ends after the answer");
  }

  // Select three entries, as the list box reports a user's selection.
  const std::vector<std::wstring> wanted{L"abc.txt", L"Mixed.Txt", L"UPPER.TXT"};
  const std::vector<std::wstring> shown = ListTexts(list);
  for (std::size_t i = 0; i < shown.size(); ++i)
    if (std::find(wanted.begin(), wanted.end(), shown[i]) != wanted.end())
      SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(MainControl("List"), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  Check(SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 3, "three entries selected");

  // The button press; the run ends with the completion message.
  PostMessageW(start, BM_CLICK, 0, 0);
  const MessageBoxSeen done = AnswerMessageBox(first.info.dwProcessId, 30000, shots + L"-completion-message.bmp");
  Check(done.seen, "the completion message appears");
  CheckEqual(done.title, kMessageTitle, "its title");
  CheckEqual(done.text, L"3ファイル中、2ファイルを変換しました。", "its text");

  const std::vector<std::wstring> expectedDisk{L".hidden.txt", L"ABC.TXT", L"MIXED.TXT", L"UPPER.TXT", L"keep.txt", L"sub"};
  CheckEqual(Join(NamesOnDisk(folder)), Join(expectedDisk), "names on disk");
  const std::vector<std::wstring> after{L"ABC.TXT", L"keep.txt", L"MIXED.TXT", L"UPPER.TXT"};
  Check(WaitFor([&] { return ListTexts(list) == after && SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 0; }, 10000),
        "List refreshed with the new names and no selection", Join(ListTexts(list)));

  // Closing saves the seven settings and ends the program.
  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(first.Ended(20000), "the program ends at the close box");
  const std::wstring drive = Setting(L"DRV");
  Check(_wcsicmp(drive.c_str(), folder.c_str()) == 0, "DRV is the folder shown", drive);
  const std::pair<const wchar_t*, const wchar_t*> values[] = {
      {L"STTPOS", L"1"}, {L"MSG", L"1"}, {L"MARK", L"0"}, {L"DIR", L"0"}, {L"SMALL", L"0"}, {L"EXT", L"0"}};
  for (const auto& [name, value] : values) CheckEqual(Setting(name), value, Utf8(name).c_str());

  // "/clear" deletes the section and shows nothing.
  {
    Process clear;
    Check(Start(clear, exe, L"/clear"), "ZEFTA.EXE /clear starts");
    Check(clear.Ended(30000), "/clear ends by itself");
    Check(!SectionExists(), "/clear deleted the settings section");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: zefta_e2e <ZEFTA.EXE> <folder> <screenshot prefix>\n");
    return 2;
  }
  // Every early return follows a failed check.
  Run(argv[1], argv[2], argv[3]);
  return Verdict();
}

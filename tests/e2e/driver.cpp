// Drives the real ZEFTA.EXE under Wine through each scenario in turn as a user
// would, and checks what only the real program on the real display shows.
// zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix> [scenario...]
// run_e2e.sh prepares a folder for each scenario inside the prepared folder.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fakes.h"
#include "windows/main_window.h"

namespace {

std::wstring g_exe, g_root, g_shots;
int g_failures = 0;

void Check(bool ok, const std::string& what, const std::wstring& detail = L"") {
  char bytes[8192] = {};
  WideCharToMultiByte(CP_UTF8, 0, detail.c_str(), -1, bytes, sizeof(bytes) - 1, nullptr, nullptr);
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), *bytes ? ": " : "", bytes);
  std::fflush(stdout);
  g_failures += !ok;
}

void CheckEqual(const std::wstring& actual, const std::wstring& expected, const std::string& what) {
  Check(actual == expected, what, actual == expected ? actual : L"got \"" + actual + L"\", want \"" + expected + L"\"");
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 20000) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
    if (GetTickCount() - start > milliseconds) return false;
  return true;
}

// The ids of the main window's controls and menu items from its own layout,
// built on the fakes.
zefta::testing::FakePlatform g_fakes;
const zefta::FormLayout& MainLayout() {
  static zefta::MainWindow window(g_fakes.services);
  static const zefta::FormLayout layout = window.Layout();
  return layout;
}
HWND MainControl(HWND main, const char* name) { return GetDlgItem(main, zefta::ControlId(MainLayout(), name)); }
HWND FrameControl(HWND main, const char* name) {
  return GetDlgItem(MainControl(main, "Frame"), zefta::ControlId(MainLayout(), name));
}
// The list of the conversion list window in use (it has two, one shown).
HWND ShownList(HWND window) {
  HWND list = nullptr;
  while ((list = FindWindowExW(window, list, L"ListBox", nullptr)) && !IsWindowVisible(list)) {}
  return list;
}

// Waits for a visible top-level window of the process with this class and
// title (either may be left open); nullptr when none came in time.
HWND WaitForWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD milliseconds = 20000) {
  HWND w = nullptr;
  WaitFor([&] {
    DWORD owner = 0;
    while ((w = FindWindowExW(nullptr, w, className, title)) && (GetWindowThreadProcessId(w, &owner), owner != pid || !IsWindowVisible(w))) {}
    return w != nullptr;
  }, milliseconds);
  return w;
}

std::wstring Join(const std::vector<std::wstring>& items) {
  std::wstring joined;
  for (const auto& item : items) joined += (joined.empty() ? L"" : L", ") + item;
  return joined;
}

std::vector<std::wstring> ListTexts(HWND list) {
  std::vector<std::wstring> texts;
  for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    texts.push_back(text);
  }
  return texts;
}

bool ListCountIs(HWND list, LRESULT count) {
  return WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == count; });
}

// As stored, sorted; none for a folder that is not there.
std::wstring NamesOnDisk(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return Join(names);
}

constexpr wchar_t kSettingsSection[] = L"Software\\VB and VBA Program Settings\\ZEFTA\\SYSTEM";

// ZEFTA.EXE started in its own folder with these settings in place of those
// the registry holds (none given: those). When done it is closed at the close
// box, and must end then.
struct Program {
  PROCESS_INFORMATION info{};
  HWND main = nullptr;
  Program(const std::vector<std::pair<std::wstring, std::wstring>>& settings, const std::wstring& arguments = L"",
          const std::wstring& exe = g_exe) {
    if (!settings.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsSection);
    for (const auto& [name, value] : settings)
      RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsSection, name.c_str(), REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Check(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         exe.substr(0, exe.find_last_of(L'\\')).c_str(), &startup, &info),
          "ZEFTA.EXE starts", line);
  }
  ~Program() {
    if (main && !Ended(0)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      Check(Ended(), "the program ends at the close box");
    }
    if (!Ended(0)) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  DWORD Id() const { return info.dwProcessId; }
  bool Ended(DWORD milliseconds = 20000) const { return WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0; }
  HWND MainWindow() {
    Check((main = WaitForWindow(Id(), nullptr, L"SORVEL", 60000)) != nullptr, "the main window appears");
    return main;
  }
  void Command(const char* menuItem) const {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(zefta::MenuId(MainLayout(), menuItem), 0), 0);
  }
};

// Waits for a message box of the process, reads its text (empty if none came)
// and presses its button.
std::wstring AnswerMessageBox(DWORD pid, DWORD timeout = 30000) {
  HWND dialog = WaitForWindow(pid, L"#32770", nullptr, timeout);
  if (!dialog) return L"";
  // The text is the first static control with text (the icon's has none).
  HWND label = nullptr;
  while ((label = FindWindowExW(dialog, label, L"Static", nullptr)) && GetWindowTextLengthW(label) == 0) {}
  wchar_t text[1024] = {};
  GetWindowTextW(label, text, 1024);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(dialog); });
  return text;
}

// The tree of the shell's folder picker lives in the program's process: an
// item's text is read through a buffer allocated there, which goes with it.
struct PickerTree {
  HWND tree;
  HANDLE process;
  char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));

  std::wstring Text(HTREEITEM item) const {
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(query));
    query.cchTextMax = 260;
    wchar_t text[261] = {};
    if (WriteProcessMemory(process, remote, &query, sizeof(query), nullptr) && TreeView_GetItem(tree, remote))
      ReadProcessMemory(process, query.pszText, text, sizeof(wchar_t) * 260, nullptr);
    return text;
  }
  // The first item at most `depth` levels below `parent` (expanded, which
  // fills its children in) whose text `wanted` accepts.
  HTREEITEM Find(HTREEITEM parent, int depth, const std::function<bool(const std::wstring&)>& wanted) const {
    if (parent) TreeView_Expand(tree, parent, TVE_EXPAND);
    for (HTREEITEM c = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); c; c = TreeView_GetNextSibling(tree, c))
      if (HTREEITEM found = wanted(Text(c)) ? c : depth > 1 ? Find(c, depth - 1, wanted) : nullptr) return found;
    return nullptr;
  }
};

// Walks the picker's tree down to the folder as a user would, then OK.
bool PickFolder(const Program& program, const std::wstring& folder) {
  HWND picker = WaitForWindow(program.Id(), L"#32770", nullptr);
  HWND treeView = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
  const PickerTree tree{treeView, program.info.hProcess};
  // The drive shows as "Z:" or "... (Z:)", under the desktop or the computer;
  // each folder below it by its name.
  HTREEITEM item = treeView ? tree.Find(nullptr, 3, [&](const std::wstring& text) {
    return text.rfind(folder.substr(0, 2), 0) == 0 || text.find(L"(" + folder.substr(0, 2) + L")") != std::wstring::npos;
  }) : nullptr;
  for (std::size_t at = 3, end; item && at < folder.size(); at = end + 1) {
    end = std::min(folder.find(L'\\', at), folder.size());
    item = tree.Find(item, 1, [&](const std::wstring& text) { return text == folder.substr(at, end - at); });
  }
  Check(item != nullptr, "the folder picker shows the folder", folder);
  if (!item) return false;
  TreeView_SelectItem(treeView, item);
  PostMessageW(GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(picker); });
}

// Holds the button down for a few rounds of the drag loop, so that the target
// sees the drag enter and move, then drops.
class DropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }  // lives as long as the drag
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    return escape ? DRAGDROP_S_CANCEL : ++rounds >= 5 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
  int rounds = 0;
};

// The drag data is what the clipboard holds, as a file manager's copy leaves
// it: the dropped-file list (DROPFILES, each path and its NUL, one more NUL).
void PutOnClipboard(const std::vector<std::wstring>& paths) {
  std::wstring text;
  for (const auto& path : paths) text += path + L'\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (text.size() + 1) * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(block));
  *files = {sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
  std::copy(text.begin(), text.end(), reinterpret_cast<wchar_t*>(files + 1));
  GlobalUnlock(block);
  static HWND owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  OpenClipboard(owner);
  EmptyClipboard();
  SetClipboardData(CF_HDROP, block);
  CloseClipboard();
}

DWORD WINAPI DragThread(void* effect) {
  OleInitialize(nullptr);
  IDataObject* data = nullptr;
  DropSource source;
  if (OleGetClipboard(&data) == S_OK) {
    DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, static_cast<DWORD*>(effect));
    data->Release();
  }
  OleUninitialize();
  return 0;
}

// Drags `paths` from this process onto a point of the screen and drops them
// there. The drag runs on a thread of its own: the target shows its messages
// while the drag waits, and this thread answers them. Tells the effect the
// target chose and how many messages it showed.
std::wstring DragOnto(POINT at, const std::vector<std::wstring>& paths, DWORD pid) {
  PutOnClipboard(paths);
  DWORD effect = 0xFFFF;
  int messages = 0;
  SetCursorPos(at.x, at.y);
  HANDLE thread = CreateThread(nullptr, 0, &DragThread, &effect, 0, nullptr);
  for (const DWORD start = GetTickCount(); WaitForSingleObject(thread, 50) == WAIT_TIMEOUT && GetTickCount() - start < 30000;)
    messages += !AnswerMessageBox(pid, 0).empty();
  const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
  Check(ended, "the drag ends");
  if (!ended) TerminateThread(thread, 1);  // it would write into this frame later
  CloseHandle(thread);
  return L"effect " + std::to_wstring(effect) + L", " + std::to_wstring(messages) + L" message(s)";
}

POINT CentreOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The window as the screen shows it once painted, as a BMP file.
void SaveScreenshot(HWND window, const std::wstring& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Sleep(300);
  RECT area;
  GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  // 24 bits a pixel, rows top down, each padded to whole DWORDs.
  BITMAPINFOHEADER header{sizeof(header), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD bytes = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
  void* pixels = nullptr;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(header);
  const BITMAPFILEHEADER file{0x4D42, offset + bytes, 0, 0, offset};
  HANDLE out = CreateFileW((g_shots + L"-" + name + L".bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &header, sizeof(header), &written, nullptr);
  WriteFile(out, pixels, bytes, &written, nullptr);
  CloseHandle(out);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void SelectedEntriesConverted() {
  const std::wstring folder = g_root + L"\\main";
  Program program({{L"DRV", folder}});
  if (!program.MainWindow()) return;
  HWND list = MainControl(program.main, "List");
  Check(ListCountIs(list, 5), "List shows the folder's five files", Join(ListTexts(list)));
  SaveScreenshot(program.main, L"main-window");
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
  HWND window = PickFolder(program, tree) ? WaitForWindow(program.Id(), nullptr, L"変換ファイル一覧") : nullptr;
  Check(window != nullptr, "the conversion list window appears");
  if (!window) return;
  HWND list = ShownList(window);
  std::vector<std::wstring> listed = ListTexts(list), sorted = listed, expected;
  std::sort(sorted.begin(), sorted.end());
  for (const wchar_t* name : {L"Cafe.TXT", L"Café.TXT", L"Plain.TXT", L"ReadOnly.txt", L"Readme.Txt", L"a", L"a\\b.TXT",
                              L"a¥b.TXT", L"サブDir", L"サブDir\\Mixed.Case.doc", L"ソDir", L"ソDir\\x.txt", L"表ソフト.txt",
                              L"한글.TXT", L"😀.TXT"})
    expected.push_back(t + name);
  CheckEqual(Join(sorted), Join(expected), "the list window lists every entry of the tree under its own name");
  for (const wchar_t* lookAlike : {L"Cafe.TXT", L"a\\b.TXT"}) {  // a click on each one's check box, scrolled into view
    const auto index = static_cast<WPARAM>(std::find(listed.begin(), listed.end(), t + lookAlike) - listed.begin());
    RECT row{};
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row));
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) SendMessageW(list, message, 0, MAKELPARAM(row.left + 4, row.top + 2));
  }
  SaveScreenshot(window, L"tree-list-window");
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

void SettingsKeptAcrossARestart() {
  {
    Program first({{L"DRV", g_root + L"\\settings"}, {L"DIR", L"0"}, {L"SMALL", L"0"}});
    if (!first.MainWindow()) return;
    // The clicks come before the close box: posted messages keep their order.
    for (const char* box : {"DirCheck", "SmallCheck"}) PostMessageW(FrameControl(first.main, box), BM_CLICK, 0, 0);
  }
  Program again({});
  if (!again.MainWindow()) return;
  HWND list = MainControl(again.main, "List");
  Check(ListCountIs(list, 2), "the restarted window shows the same folder, with its directory", Join(ListTexts(list)));
  Check(SendMessageW(FrameControl(again.main, "DirCheck"), BM_GETCHECK, 0, 0) == BST_CHECKED &&
            SendMessageW(FrameControl(again.main, "SmallCheck"), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "the restarted window has both check boxes checked");
}

void MissingLibraryReported() {
  Program alone({{L"DRV", g_root + L"\\nolib"}}, L"", g_root + L"\\nolib\\ZEFTA.EXE");
  if (!alone.MainWindow()) return;
  alone.Command("SMenuAllChange");
  if (!PickFolder(alone, g_root + L"\\nolib")) return;
  CheckEqual(AnswerMessageBox(alone.Id()), L"KESTRUM.DLL が読み込めないため、変換を開始できません。",
             "without KESTRUM.DLL the tree command says so");
}

const struct {
  std::wstring name;
  void (*run)();
} kScenarios[] = {
    {L"selection", SelectedEntriesConverted},
    {L"drop", DroppedFilesConverted},
    {L"tree", TreeConvertedThroughTheListWindow},
    {L"clear", ClearRemovesTheSettings},
    {L"second-instance", SecondInstanceEnds},
    {L"settings", SettingsKeptAcrossARestart},
    {L"missing-library", MissingLibraryReported},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::printf("usage: zefta_e2e <ZEFTA.EXE> <prepared folder> <screenshot prefix> [scenario...]\n");
    return 2;
  }
  g_exe = argv[1], g_root = argv[2], g_shots = argv[3];
  for (const auto& scenario : kScenarios) {
    if (argc > 4 && std::find(argv + 4, argv + argc, scenario.name) == argv + argc) continue;
    const int failuresBefore = g_failures;
    std::printf("== %ls\n", scenario.name.c_str());
    scenario.run();
    std::printf("== %ls %s\n", scenario.name.c_str(), g_failures == failuresBefore ? "passed" : "FAILED");
  }
  std::printf("%s: %d failure(s)\n", g_failures == 0 ? "PASSED" : "FAILED", g_failures);
  return g_failures == 0 ? 0 : 1;
}

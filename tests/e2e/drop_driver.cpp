// Drives ZEFTA.EXE under Wine as a file manager and a keyboard user would:
// files dragged onto the main window with OLE drag-and-drop (this process is
// the drag source), a drop refused over 拡張子だけが対象, the shortcuts Ctrl+M and
// Ctrl+P, and the About window opened twice. Then checks disk and registry.
//
// zefta_e2e_drop <ZEFTA.EXE> <prepared folder> <screenshot prefix>
// The folder holds abc.txt, Mixed.Txt, UPPER.TXT, keep.txt, frame.txt,
// surface.txt and Folder\.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "window_ids.h"

namespace {

using namespace e2e;

// The drag data: the dropped-file list (CF_HDROP) of the given paths, or
// only plain text when there are none.
class DataObject final : public IDataObject {
 public:
  explicit DataObject(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    medium->hGlobal = paths_.empty() ? MakeText() : MakeFileList();
    return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format || !(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
    return format->cfFormat == Format() ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format{Format(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  CLIPFORMAT Format() const { return paths_.empty() ? CF_UNICODETEXT : CF_HDROP; }
  HGLOBAL MakeFileList() const {
    // DROPFILES, then each path with its NUL, then one more NUL.
    std::size_t chars = 1;
    for (const auto& path : paths_) chars += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    if (!block) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& path : paths_) {
      wcscpy(text, path.c_str());
      text += path.size() + 1;
    }
    GlobalUnlock(block);
    return block;
  }
  static HGLOBAL MakeText() {
    static constexpr wchar_t kText[] = L"abc.txt";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(kText));
    if (block) {
      std::memcpy(GlobalLock(block), kText, sizeof(kText));
      GlobalUnlock(block);
    }
    return block;
  }

  std::vector<std::wstring> paths_;
  LONG references_ = 1;
};

// Holds the "button" down for a few rounds of the drag loop, so the target
// sees the drag enter and move, then releases it.
class DropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++rounds_ >= 5 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    lastFeedback = effect;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

  DWORD lastFeedback = 0;

 private:
  int rounds_ = 0;
  LONG references_ = 1;
};

struct Drag {
  std::vector<std::wstring> paths;
  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  HRESULT result = E_PENDING;
  DWORD effect = 0xFFFF;
};

DWORD WINAPI DragThread(void* parameter) {
  auto* drag = static_cast<Drag*>(parameter);
  OleInitialize(nullptr);
  auto* data = new DataObject(drag->paths);
  auto* source = new DropSource;
  DWORD effect = DROPEFFECT_NONE;
  drag->result = DoDragDrop(data, source, drag->allowed, &effect);
  drag->effect = effect;
  source->Release();
  data->Release();
  OleUninitialize();
  return 0;
}

// The centre of a window on the screen.
POINT CentreOf(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A drag from here to a point of the screen, dropped there. The drag runs on
// its own thread: the target's drop handler shows its messages while the drag
// source waits, and this thread answers every one until the drag has ended.
// Each message box seen is added to `boxes`.
Drag DragOnto(POINT at, const std::vector<std::wstring>& paths, DWORD pid, std::vector<MessageBoxSeen>& boxes,
              DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
  Drag drag;
  drag.paths = paths;
  drag.allowed = allowed;
  SetCursorPos(at.x, at.y);
  HANDLE thread = CreateThread(nullptr, 0, &DragThread, &drag, 0, nullptr);
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(thread, 50) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > 30000) {
      Check(false, "the drag ends");
      TerminateThread(thread, 1);
      break;
    }
    if (FindTopLevel(pid, L"#32770")) {
      MessageBoxSeen box = AnswerMessageBox(pid, 0);
      if (box.seen) boxes.push_back(box);
    }
  }
  CloseHandle(thread);
  return drag;
}

Drag DragOnto(HWND target, const std::vector<std::wstring>& paths, DWORD pid, std::vector<MessageBoxSeen>& boxes,
              DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
  return DragOnto(CentreOf(target), paths, pid, boxes, allowed);
}

std::wstring Outcome(const Drag& drag) {
  return L"result " + std::to_wstring(drag.result) + L", effect " + std::to_wstring(drag.effect);
}

// The check mark of a menu item: 1, 0, or -1 when the menu of another
// process cannot be read (Wine keeps menus inside their process).
int MenuChecked(HWND main, int id) {
  const UINT state = GetMenuState(GetMenu(main), static_cast<UINT>(id), MF_BYCOMMAND);
  if (state == static_cast<UINT>(-1)) return -1;
  return (state & MF_CHECKED) != 0 ? 1 : 0;
}

// Opens About, checks its nine lines, optionally saves it, closes it with OK.
void OpenAbout(HWND main, DWORD pid, bool byShortcut, const char* how, const std::wstring& screenshot) {
  if (byShortcut) {
    MakeForeground(main);
    PressKeys({VK_CONTROL}, 'A');
  } else {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuHelpVersion"), 0), 0);
  }
  HWND window = nullptr;
  Check(WaitFor([&] { return (window = FindTopLevel(pid, nullptr, L"バージョン情報")) != nullptr; }, 20000), how);
  if (!window) return;
  HWND list = GetDlgItem(GetDlgItem(window, AboutControl("CorrespondFrame")), AboutControl("CorrespondList"));
  const std::vector<std::wstring> lines{L"1.00-新規作成",
                                        L"1.01-画面ﾌｫｰﾏｯﾄの変更",
                                        L"1.02-ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ対応",
                                        L"1.03-設定のﾚｼﾞｽﾄﾘ化",
                                        L"1.04-ｵﾌﾟｼｮﾝﾒﾆｭｰ追加等",
                                        L"1.05-ｵﾌﾟｼｮﾝを環境設定に変更",
                                        L"    -ﾂｰﾙﾒﾆｭｰ追加",
                                        L"    -拡張子のみの指定追加",
                                        L"    -ｺﾏﾝﾄﾞﾗｲﾝ処理追加(ﾚｼﾞｽﾄﾘ異常対策)"};
  Check(SendMessageW(list, LB_GETCOUNT, 0, 0) == 9, "the history list holds nine lines",
        std::to_wstring(SendMessageW(list, LB_GETCOUNT, 0, 0)));
  CheckEqual(Join(ListTexts(list)), Join(lines), "the nine lines in order");
  CheckEqual(TextOf(GetDlgItem(window, AboutControl("VersionLabel"))), L"SORVEL Ver1.05", "the version label");
  if (!screenshot.empty()) {
    Sleep(300);
    Check(SaveScreenshot(window, screenshot), "screenshot of the About window");
  }
  PostMessageW(GetDlgItem(window, AboutControl("Ok")), BM_CLICK, 0, 0);
  Check(WaitFor([&] { return !IsWindow(window) && IsWindowEnabled(main); }, 10000), "OK closes About");
}

void Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& shots) {
  StoreSettings({{L"DRV", folder}});
  Process program;
  if (!Start(program, exe, L"")) return Check(false, "ZEFTA.EXE starts", exe);
  HWND main = WaitForMainWindow(program);
  if (!main) return;
  const DWORD pid = program.Id();
  HWND list = GetDlgItem(main, MainControl("List"));
  HWND start = GetDlgItem(main, MainControl("ConversionStart"));
  HWND extCheck = GetDlgItem(GetDlgItem(main, MainControl("Frame")), MainControl("ExtCheck"));
  Check(list && start && extCheck, "List, ConversionStart and ExtCheck found by id");
  if (!list || !start || !extCheck) return;
  const std::vector<std::wstring> shown{L"abc.txt",  L"frame.txt",   L"keep.txt",
                                        L"Mixed.Txt", L"surface.txt", L"UPPER.TXT"};
  Check(WaitFor([&] { return ListTexts(list) == shown; }, 20000), "List shows the folder's files",
        Join(ListTexts(list)));
  const std::wstring before = Join(NamesOnDisk(folder));
  auto path = [&](const wchar_t* name) { return folder + L"\\" + name; };
  std::vector<MessageBoxSeen> boxes;

  // Text without a file list: no drop, nothing shown.
  Drag drag = DragOnto(list, {}, pid, boxes);
  Check(drag.result == DRAGDROP_S_DROP && drag.effect == DROPEFFECT_NONE, "text dragged over List is refused",
        Outcome(drag));
  Check(boxes.empty(), "no message after the refused text");

  // Files over 拡張子だけが対象 and the status bar: refused, nothing renamed.
  // (FileList lies hidden under List; a drag never reaches it.)
  const std::vector<std::wstring> three{path(L"abc.txt"), path(L"Mixed.Txt"), path(L"UPPER.TXT")};
  const std::pair<HWND, const char*> refusing[] = {
      {extCheck, "files dragged over ExtCheck are refused"},
      {GetDlgItem(main, MainControl("StatusBar")), "files dragged over the status bar are refused"},
  };
  for (const auto& [target, what] : refusing) {
    drag = DragOnto(target, three, pid, boxes);
    Check(target && drag.result == DRAGDROP_S_DROP && drag.effect == DROPEFFECT_NONE, what, Outcome(drag));
  }
  // A source that allows only a move: only copy is taken, so no drop.
  drag = DragOnto(list, three, pid, boxes, DROPEFFECT_MOVE);
  Check(drag.result == DRAGDROP_S_DROP && drag.effect == DROPEFFECT_NONE, "files offered only as a move are refused",
        Outcome(drag));
  Check(boxes.empty(), "no message after the refused drops");
  CheckEqual(Join(NamesOnDisk(folder)), before, "nothing renamed by the refused drops");

  // The same files onto List: two renamed, one already in capitals.
  drag = DragOnto(list, three, pid, boxes);
  Check(drag.result == DRAGDROP_S_DROP && drag.effect == DROPEFFECT_COPY, "files dropped on List are taken as a copy",
        Outcome(drag));
  Check(boxes.size() == 1, "one message after the drop", std::to_wstring(boxes.size()));
  if (!boxes.empty()) {
    CheckEqual(boxes[0].title, kMessageTitle, "its title");
    CheckEqual(boxes[0].text, L"2ファイル中、2ファイルを変換しました。", "its text");
  }
  CheckEqual(Join(NamesOnDisk(folder)), L"ABC.TXT, Folder, MIXED.TXT, UPPER.TXT, frame.txt, keep.txt, surface.txt",
             "names on disk");
  CheckEqual(Join(ListTexts(list)), Join(shown), "List still shows the old names");

  // On the button: a path that does not exist fails, a folder is converted
  // although ﾃﾞｨﾚｸﾄﾘも対象 is clear.
  boxes.clear();
  drag = DragOnto(start, {path(L"gone.txt"), path(L"Folder"), path(L"UPPER.TXT")}, pid, boxes);
  Check(drag.effect == DROPEFFECT_COPY, "files dropped on 変換開始 are taken");
  Check(boxes.size() == 2, "two messages after the drop", std::to_wstring(boxes.size()));
  if (boxes.size() >= 2) {
    CheckEqual(boxes[0].text, L"ファイル名の変更に失敗しました。", "the first is the rename failure");
    CheckEqual(boxes[1].text, L"2ファイル中、1ファイルを変換しました。", "then the completion message");
  }
  CheckEqual(Join(NamesOnDisk(folder)), L"ABC.TXT, FOLDER, MIXED.TXT, UPPER.TXT, frame.txt, keep.txt, surface.txt",
             "names on disk");

  // On the frame's caption and on the window's own surface between List and
  // the frame: both take files too.
  RECT frame{}, listRect{};
  GetWindowRect(GetDlgItem(main, MainControl("Frame")), &frame);
  GetWindowRect(list, &listRect);
  boxes.clear();
  drag = DragOnto(POINT{frame.right - 8, frame.top + 3}, {path(L"frame.txt")}, pid, boxes);
  Check(drag.effect == DROPEFFECT_COPY && boxes.size() == 1 && boxes[0].text == L"1ファイル中、1ファイルを変換しました。",
        "a file dropped on the frame is converted", Outcome(drag));
  boxes.clear();
  Check(frame.left - listRect.right >= 2, "a gap between List and the frame");
  drag = DragOnto(POINT{(listRect.right + frame.left) / 2, (listRect.top + listRect.bottom) / 2}, {path(L"surface.txt")},
                  pid, boxes);
  Check(drag.effect == DROPEFFECT_COPY && boxes.size() == 1 && boxes[0].text == L"1ファイル中、1ファイルを変換しました。",
        "a file dropped on the window's surface is converted", Outcome(drag));
  CheckEqual(Join(NamesOnDisk(folder)), L"ABC.TXT, FOLDER, FRAME.TXT, MIXED.TXT, SURFACE.TXT, UPPER.TXT, keep.txt",
             "names on disk");

  // While About is shown the main window takes no drop, as it takes no click.
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuHelpVersion"), 0), 0);
  HWND modal = nullptr;
  Check(WaitFor([&] { return (modal = FindTopLevel(pid, nullptr, L"バージョン情報")) != nullptr; }, 20000),
        "About is shown");
  if (modal) {
    RECT about{}, listArea{};
    GetWindowRect(modal, &about);
    GetWindowRect(list, &listArea);
    // A corner of List that About does not cover.
    POINT corner{listArea.left + 5, listArea.bottom - 5};
    Check(!PtInRect(&about, corner), "a corner of List is free of About");
    boxes.clear();
    drag = DragOnto(corner, {path(L"keep.txt")}, pid, boxes);
    Check(drag.effect == DROPEFFECT_NONE && boxes.empty(), "a drop on List while About is shown is refused",
          Outcome(drag));
    CheckEqual(Join(NamesOnDisk(folder)), L"ABC.TXT, FOLDER, FRAME.TXT, MIXED.TXT, SURFACE.TXT, UPPER.TXT, keep.txt",
               "nothing renamed");
    PostMessageW(GetDlgItem(modal, AboutControl("Ok")), BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindow(modal) && IsWindowEnabled(main); }, 10000), "OK closes About");
  }

  // The shortcuts flip their items. Ctrl+A after them: once About is shown,
  // the keys before it have been handled too.
  const bool menuReadable = MenuChecked(main, MainMenu("SMenuMsgOn")) >= 0;
  if (menuReadable) {
    Check(MenuChecked(main, MainMenu("SMenuMsgOn")) == 1 && MenuChecked(main, MainMenu("SMenuStartPosition")) == 1,
          "both items start checked");
  }
  Check(MakeForeground(main), "the main window comes to the front");
  PressKeys({VK_CONTROL}, 'M');
  PressKeys({VK_CONTROL}, 'P');
  OpenAbout(main, pid, true, "Ctrl+A shows the About window", L"");
  if (menuReadable) {
    CheckEqual(std::to_wstring(MenuChecked(main, MainMenu("SMenuMsgOn"))), L"0", "Ctrl+M unchecks 完了メッセージを表示する");
    CheckEqual(std::to_wstring(MenuChecked(main, MainMenu("SMenuStartPosition"))), L"0",
               "Ctrl+P unchecks 起動時は画面中央に表示する");
  } else {
    std::printf("note: the menu of another process is not readable here; the effects are checked instead\n");
  }
  // Loaded afresh: nine lines again, not eighteen.
  OpenAbout(main, pid, false, "its menu item shows it again", shots + L"-about-window-again.bmp");

  // With the completion message off, a drop shows nothing.
  boxes.clear();
  drag = DragOnto(list, {path(L"keep.txt")}, pid, boxes);
  Check(drag.effect == DROPEFFECT_COPY, "a file dropped after Ctrl+M is taken");
  Check(boxes.empty(), "after Ctrl+M the drop shows no message", boxes.empty() ? L"" : boxes[0].text);
  CheckEqual(Join(NamesOnDisk(folder)), L"ABC.TXT, FOLDER, FRAME.TXT, KEEP.TXT, MIXED.TXT, SURFACE.TXT, UPPER.TXT",
             "names on disk");

  // The toggled items are stored at exit.
  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(program.Ended(20000), "the program ends at the close box");
  CheckEqual(Setting(L"MSG"), L"0", "MSG stored after Ctrl+M");
  CheckEqual(Setting(L"STTPOS"), L"0", "STTPOS stored after Ctrl+P");
  CheckEqual(Setting(L"MARK"), L"0", "MARK unchanged");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: zefta_e2e_drop <ZEFTA.EXE> <folder> <screenshot prefix>\n");
    return 2;
  }
  OleInitialize(nullptr);
  Run(argv[1], argv[2], argv[3]);
  OleUninitialize();
  return Verdict();
}

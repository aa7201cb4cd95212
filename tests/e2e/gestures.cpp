#include "gestures.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>

#include "driving.h"

std::wstring PickerTree::Text(HTREEITEM item) const {
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

HTREEITEM PickerTree::Find(HTREEITEM parent, int depth, const std::function<bool(const std::wstring&)>& wanted) const {
  if (parent) TreeView_Expand(tree, parent, TVE_EXPAND);
  for (HTREEITEM c = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); c; c = TreeView_GetNextSibling(tree, c))
    if (HTREEITEM found = wanted(Text(c)) ? c : depth > 1 ? Find(c, depth - 1, wanted) : nullptr) return found;
  return nullptr;
}

namespace {

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

}  // namespace

HANDLE StartDrag(const std::vector<std::wstring>& paths, DWORD* effect) {
  PutOnClipboard(paths);
  return CreateThread(nullptr, 0, &DragThread, effect, 0, nullptr);
}

POINT CentreOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void SaveScreenshot(HWND window, const std::wstring& path) {
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
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
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

bool PickFolder(DWORD pid, HANDLE process, const std::wstring& folder) {
  using namespace e2e;
  HWND picker = WaitForWindow(pid, L"#32770", nullptr);
  HWND treeView = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
  const PickerTree tree{treeView, process};
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

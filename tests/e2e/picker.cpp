#include "picker.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace e2e {

namespace {

// The tree view of the picker, which lives in the program's process: item
// texts are read through a buffer allocated there.
class RemoteTree {
 public:
  RemoteTree(HWND tree, HANDLE process) : tree_(tree), process_(process) {
    remote_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteTree() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;

  HTREEITEM Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }
  std::wstring Text(HTREEITEM item) const {
    if (!remote_) return L"";
    auto* base = static_cast<char*>(remote_);
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(base + sizeof(TVITEMW));
    query.cchTextMax = 260;
    if (!WriteProcessMemory(process_, remote_, &query, sizeof(query), nullptr)) return L"";
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_))) return L"";
    wchar_t text[261] = {};
    ReadProcessMemory(process_, base + sizeof(TVITEMW), text, sizeof(wchar_t) * 260, nullptr);
    return text;
  }
  std::vector<std::pair<HTREEITEM, std::wstring>> Children(HTREEITEM parent) const {
    // Expanding fills the children in on first use.
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    std::vector<std::pair<HTREEITEM, std::wstring>> children;
    for (HTREEITEM child = Next(parent, TVGN_CHILD); child; child = Next(child, TVGN_NEXT))
      children.emplace_back(child, Text(child));
    return children;
  }
  void Select(HTREEITEM item) const {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }

  // Walks down from the root to a folder: the drive is the item whose text
  // names it ("Z:" or "(Z:)"), at the top level or one below (the computer);
  // then each folder by its name. Reports what it saw when it gets lost.
  HTREEITEM Find(const std::wstring& path, std::wstring& trail) const {
    const std::wstring drive = path.substr(0, 2);
    const auto namesDrive = [&](const std::wstring& text) {
      return _wcsnicmp(text.c_str(), drive.c_str(), 2) == 0 || text.find(L"(" + drive + L")") != std::wstring::npos;
    };
    HTREEITEM current = nullptr;
    std::vector<std::pair<HTREEITEM, std::wstring>> top;
    for (HTREEITEM root = Next(nullptr, TVGN_ROOT); root; root = Next(root, TVGN_NEXT))
      for (const auto& child : Children(root)) top.push_back(child);
    for (const auto& [item, text] : top)
      if (!current && namesDrive(text)) current = item;
    for (const auto& [item, text] : top) {
      if (current) break;
      for (const auto& [inner, innerText] : Children(item))
        if (!current && namesDrive(innerText)) current = inner;
    }
    if (!current) {
      trail = L"no drive " + drive + L" among";
      for (const auto& [item, text] : top) trail += L" \"" + text + L"\"";
      return nullptr;
    }
    trail = Text(current);
    std::size_t at = 3;
    while (at < path.size()) {
      const std::size_t end = std::min(path.find(L'\\', at), path.size());
      const std::wstring name = path.substr(at, end - at);
      HTREEITEM next = nullptr;
      std::vector<std::wstring> seen;
      for (const auto& [item, text] : Children(current)) {
        if (_wcsicmp(text.c_str(), name.c_str()) == 0) next = item;
        seen.push_back(text);
      }
      if (!next) {
        trail += L" > no " + name + L" among " + Join(seen);
        return nullptr;
      }
      trail += L" > " + name;
      current = next;
      at = end + 1;
    }
    return current;
  }

 private:
  HWND tree_;
  HANDLE process_;
  void* remote_ = nullptr;
};

bool HasChildText(HWND dialog, const std::wstring& text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TextOf(child) == text) return true;
  return false;
}

HWND ChildOfClass(HWND dialog, const wchar_t* className) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (_wcsicmp(ClassOf(child).c_str(), className) == 0) return child;
  return nullptr;
}

struct PickerSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchPicker(HWND hwnd, LPARAM data) {
  auto* s = reinterpret_cast<PickerSearch*>(data);
  if (ProcessOf(hwnd) != s->pid || !IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770") return TRUE;
  if (!HasChildText(hwnd, kPickerTitle)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND WaitForPicker(DWORD pid) {
  PickerSearch search{pid, nullptr};
  WaitFor(
      [&] {
        EnumWindows(&MatchPicker, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      20000);
  return search.found;
}

// Picks `folder` in the picker and presses OK.
bool PickFolder(const Process& program, const std::wstring& folder, const std::wstring& screenshot) {
  HWND picker = WaitForPicker(program.Id());
  Check(picker != nullptr, "the folder picker shows the title", kPickerTitle);
  if (!picker) {
    DescribeWindows(program.Id());
    return false;
  }
  HWND treeView = ChildOfClass(picker, WC_TREEVIEWW);
  Check(treeView != nullptr, "the picker has a folder tree");
  if (!treeView) return false;
  RemoteTree tree(treeView, program.info.hProcess);
  std::wstring trail;
  HTREEITEM item = tree.Find(folder, trail);
  Check(item != nullptr, "the prepared folder is found in the picker's tree", trail);
  if (!item) return false;
  tree.Select(item);
  Sleep(200);
  if (!screenshot.empty()) SaveScreenshot(picker, screenshot);
  PostMessageW(GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(picker); }, 10000);
}

HWND WaitForListWindow(DWORD pid) {
  HWND window = nullptr;
  Check(WaitFor([&] { return (window = FindTopLevel(pid, nullptr, kListCaption)) != nullptr; }, 30000),
        "the conversion list window appears");
  return window;
}

}  // namespace e2e

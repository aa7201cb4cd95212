// What the end-to-end driver does to the program's windows that takes more
// than a message: reading the folder picker's tree inside the program's
// process, dragging files as a file manager does, and taking a screenshot.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// The tree of the shell's folder picker lives in the program's process: an
// item's text is read through a buffer allocated there, which goes with it.
struct PickerTree {
  HWND tree;
  HANDLE process;
  char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));

  std::wstring Text(HTREEITEM item) const;
  // The first item at most `depth` levels below `parent` (expanded, which
  // fills its children in) whose text `wanted` accepts.
  HTREEITEM Find(HTREEITEM parent, int depth, const std::function<bool(const std::wstring&)>& wanted) const;
};

// Starts dragging `paths` from this process, on a thread of its own, from
// where the cursor is; the drop comes after a few rounds of the drag loop.
// The thread writes the effect the target chose into *effect before it ends.
HANDLE StartDrag(const std::vector<std::wstring>& paths, DWORD* effect);

POINT CentreOf(HWND hwnd);

// Walks the folder picker's tree (of the process pid, handle process) down
// to the folder as a user would, then OK; false when it was not there to pick.
bool PickFolder(DWORD pid, HANDLE process, const std::wstring& folder);

// The window as the screen shows it once painted, as a BMP file at path.
void SaveScreenshot(HWND window, const std::wstring& path);

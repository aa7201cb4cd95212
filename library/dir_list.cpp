// The directory tree list: one line per entry below a directory, written to a
// list file that the caller reads back (ZEFTA's whole-tree conversion).
//
// The walk uses the wide find functions whatever the mode: the ANSI ones hand
// out names through the system's best-fit conversion, where "é" becomes "e"
// and "¥" the byte of "\", so a line could name another entry or another
// folder. Each name is then written in the list's text only when that text
// gives back exactly the stored name.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "kestrum.h"
#include "kestrum_internal.h"

static_assert(KESTRUM_LIST_UTF8 == kestrum::kListUtf8);

namespace {

struct ListWalk {
  HANDLE file;  // INVALID_HANDLE_VALUE when the list file could not be created
  int mode;
  UINT codePage;  // the text of the arguments and the lines
  int files = 0;
  std::string line;
  wchar_t path[MAX_PATH] = {};  // the directory walked; no longer path reaches the file functions
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The caller's text as a wide path; false for bytes that are not text of that
// code page (invalid UTF-8), which name no path, and for a path longer than
// the file functions take.
bool WidePath(UINT codePage, const char* text, wchar_t (&out)[MAX_PATH]) {
  const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  return MultiByteToWideChar(codePage, flags, text, -1, out, MAX_PATH) > 0;
}

// The stored name as the list's text, when that text holds it exactly: no
// best-fit or default character in the ANSI code page, no lone surrogate in
// UTF-8. A round trip catches what the flags let through (two characters of
// one code).
bool ExactText(UINT codePage, const wchar_t* name, std::string& out) {
  // Most names are ASCII, which every code page holds as itself.
  const std::size_t length = std::wcslen(name);
  if (std::all_of(name, name + length, [](wchar_t c) { return c < 0x80; })) {
    out.assign(name, name + length);
    return true;
  }
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* defaultUsed = utf8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, name, -1, nullptr, 0, nullptr, defaultUsed);
  if (size <= 0 || usedDefault) return false;
  out.assign(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, flags, name, -1, out.data(), size, nullptr, defaultUsed) != size || usedDefault)
    return false;
  out.resize(static_cast<std::size_t>(size - 1));
  wchar_t back[MAX_PATH];
  return WidePath(codePage, out.c_str(), back) && std::wcscmp(back, name) == 0;
}

// Writes the line's bytes; a failed write (disk full) is passed over.
void WriteListLine(ListWalk& walk, const std::string& dir, const std::string& name) {
  if (walk.file == INVALID_HANDLE_VALUE) return;
  walk.line.clear();
  kestrum::AppendListLine(walk.line, walk.mode, dir, name);
  DWORD written = 0;
  WriteFile(walk.file, walk.line.data(), static_cast<DWORD>(walk.line.size()), &written, nullptr);
}

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

// Whether a path of these lengths reaches the file functions: MAX_PATH
// characters, NUL included, and in the ANSI modes MAX_PATH bytes of its text
// as well (no text: it gets no line, so only the characters count).
bool Reachable(const ListWalk& walk, std::size_t characters, const std::string* text, std::size_t bytes) {
  if (characters >= MAX_PATH) return false;
  return !text || walk.codePage == CP_UTF8 || bytes < kestrum::kMaxAnsiPath;
}

// Depth-first pre-order: a subdirectory's whole subtree is written where the
// subdirectory is met. walk.path holds the directory (pathLength characters),
// `text` how its lines give it (null below a directory without an exact text:
// those entries are walked and counted, but no line could name them). Both
// are extended and restored.
void ListDirTree(ListWalk& walk, std::size_t pathLength, std::string* text) {
  const std::size_t textLength = text ? text->size() : 0;
  if (!Reachable(walk, pathLength + 4, text, textLength + 4)) return;  // "\*.*" would not reach the API
  std::wmemcpy(walk.path + pathLength, L"\\*.*", 5);
  WIN32_FIND_DATAW entry;
  const FindHandle search(FindFirstFileW(walk.path, &entry));
  walk.path[pathLength] = L'\0';
  if (!search.valid()) return;
  std::string name;
  do {
    const bool named = text && ExactText(walk.codePage, entry.cFileName, name);
    const std::size_t nameLength = std::wcslen(entry.cFileName);
    // An entry the file functions cannot reach is left out, never cut short.
    if (!Reachable(walk, pathLength + 1 + nameLength, named ? text : nullptr, textLength + 1 + name.size())) continue;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      if (named && kestrum::ModeListsFiles(walk.mode)) WriteListLine(walk, *text, name);
      ++walk.files;
      continue;
    }
    if (IsDotEntry(entry.cFileName)) continue;
    if (named && kestrum::ModeListsDirectories(walk.mode)) WriteListLine(walk, *text, name);
    // A junction or directory link is an entry of its own but is not entered:
    // a cycle cannot trap the walk, and nothing outside the tree gets listed.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    walk.path[pathLength] = L'\\';
    std::wmemcpy(walk.path + pathLength + 1, entry.cFileName, nameLength + 1);
    if (named) *text += '\\' + name;
    ListDirTree(walk, pathLength + 1 + nameLength, named ? text : nullptr);
    walk.path[pathLength] = L'\0';
    if (text) text->resize(textLength);
  } while (FindNextFileW(search.get(), &entry));
}

HANDLE CreateListFile(UINT codePage, const char* listPath) {
  // CREATE_NEW: an earlier list that could not be deleted is left as it was.
  if (codePage != CP_UTF8) {
    DeleteFileA(listPath);
    return CreateFileA(listPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  wchar_t path[MAX_PATH];
  if (!WidePath(CP_UTF8, listPath, path)) return INVALID_HANDLE_VALUE;
  DeleteFileW(path);
  return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

extern "C" int __cdecl MakeDirFileList_(int mode, const char* dir, const char* listPath) {
  // The ANSI modes take and give text as the ANSI file functions would.
  const UINT codePage = kestrum::ModeIsUtf8(mode) ? CP_UTF8 : AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  ListWalk walk{CreateListFile(codePage, listPath), mode, codePage, 0, {}};
  try {
    std::string text(dir);
    if (WidePath(codePage, dir, walk.path)) {
      text.reserve(kestrum::kMaxAnsiPath);
      walk.line.reserve(2 * kestrum::kMaxAnsiPath);
      ListDirTree(walk, std::wcslen(walk.path), &text);
    }
  } catch (...) {  // out of memory: the lines so far stay, nothing escapes
  }
  if (walk.file != INVALID_HANDLE_VALUE) CloseHandle(walk.file);
  return walk.files;
}

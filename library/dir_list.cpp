// The directory tree list: one line per entry below a directory, written to a
// list file that the caller reads back (ZEFTA's whole-tree conversion).
#include <cstring>
#include <string>

#include "kestrum.h"
#include "kestrum_internal.h"

namespace {

struct ListWalk {
  HANDLE file;  // INVALID_HANDLE_VALUE when the list file could not be created
  int mode;
  int files = 0;
  std::string line;
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

// Writes the line's bytes; a failed write (disk full) is passed over.
void WriteListLine(ListWalk& walk, const std::string& dir, const char* name) {
  if (walk.file == INVALID_HANDLE_VALUE) return;
  walk.line.clear();
  kestrum::AppendListLine(walk.line, walk.mode, dir, name);
  DWORD written = 0;
  WriteFile(walk.file, walk.line.data(), static_cast<DWORD>(walk.line.size()), &written, nullptr);
}

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// Depth-first pre-order: a subdirectory's whole subtree is written where the
// subdirectory is met. `dir` is extended for the subdirectories and restored.
void ListDirTree(ListWalk& walk, std::string& dir) {
  const std::size_t dirLength = dir.size();
  if (dirLength + 4 >= kestrum::kMaxAnsiPath) return;  // "\*.*" would not reach the API
  dir += "\\*.*";
  WIN32_FIND_DATAA entry;
  const FindHandle search(FindFirstFileA(dir.c_str(), &entry));
  dir.resize(dirLength);
  if (!search.valid()) return;
  do {
    // An entry the ANSI functions cannot reach is left out, never cut short.
    if (dirLength + 1 + std::strlen(entry.cFileName) >= kestrum::kMaxAnsiPath) continue;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      if (kestrum::ModeListsFiles(walk.mode)) WriteListLine(walk, dir, entry.cFileName);
      ++walk.files;
      continue;
    }
    if (IsDotEntry(entry.cFileName)) continue;
    if (kestrum::ModeListsDirectories(walk.mode)) WriteListLine(walk, dir, entry.cFileName);
    // A junction or directory link is an entry of its own but is not entered:
    // a cycle cannot trap the walk, and nothing outside the tree gets listed.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    dir += '\\';
    dir += entry.cFileName;
    ListDirTree(walk, dir);
    dir.resize(dirLength);
  } while (FindNextFileA(search.get(), &entry));
}

}  // namespace

extern "C" int __cdecl MakeDirFileList_(int mode, const char* dir, const char* listPath) {
  DeleteFileA(listPath);
  // CREATE_NEW: an earlier list that could not be deleted is left as it was.
  ListWalk walk{CreateFileA(listPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr),
                mode, 0, {}};
  try {
    std::string path(dir);
    path.reserve(kestrum::kMaxAnsiPath);
    walk.line.reserve(2 * kestrum::kMaxAnsiPath);
    ListDirTree(walk, path);
  } catch (...) {  // out of memory: the lines so far stay, nothing escapes
  }
  if (walk.file != INVALID_HANDLE_VALUE) CloseHandle(walk.file);
  return walk.files;
}

#include "tree_walk.h"

#include "path_forms.h"

#include <cwchar>
#include <string>
#include <vector>

namespace kestrum {

namespace {

// The path as the file functions are to be given it.
std::wstring QueryForm(std::wstring_view top, PathReach reach) {
  if (reach == PathReach::Classic) return std::wstring(top);
  std::wstring query = ExtendedPath(top);
  // The walk adds the separator itself, also after a drive's root.
  if (query.size() > 1 && query.back() == L'\\') query.pop_back();
  return query;
}

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

// One folder being read: its search, the entry it holds ready, and how long
// the two paths were before its name was added.
struct Level {
  HANDLE search;
  bool pending;
  std::size_t queryLength, shownLength;
};

class Walk {
 public:
  Walk(std::wstring_view top, PathReach reach, TreeVisitor& visitor)
      : reach_(reach), visitor_(visitor), query_(QueryForm(top, reach)), shown_(top) {}
  ~Walk() {
    for (const Level& level : levels_) FindClose(level.search);
  }
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;

  bool Run() {
    visitor_.EnterFolder(shown_);
    if (!Open(query_.size(), shown_.size())) visitor_.LeaveFolder();
    while (!levels_.empty()) {
      Level& level = levels_.back();
      if (!level.pending && !FindNextFileW(level.search, &entry_)) {
        Close();
        continue;
      }
      level.pending = false;
      if (IsDotEntry(entry_.cFileName)) continue;
      const std::size_t nameLength = std::wcslen(entry_.cFileName);
      if (reach_ == PathReach::Classic && shown_.size() + 1 + nameLength >= MAX_PATH) continue;
      const TreeVisitor::Next next = visitor_.Entry(shown_, entry_);
      if (next == TreeVisitor::Next::Stop) return false;
      const DWORD attributes = entry_.dwFileAttributes;
      if (next != TreeVisitor::Next::Go || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
          (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        continue;
      const std::size_t queryLength = query_.size(), shownLength = shown_.size();
      query_.append(1, L'\\').append(entry_.cFileName, nameLength);
      shown_.append(1, L'\\').append(entry_.cFileName, nameLength);
      visitor_.EnterFolder(shown_);
      if (!Open(queryLength, shownLength)) {
        visitor_.LeaveFolder();
        query_.resize(queryLength);
        shown_.resize(shownLength);
      }
    }
    return true;
  }

 private:
  // Starts reading the folder the paths now name; false when it has no
  // level (unreadable, or its pattern would not reach the classic functions).
  bool Open(std::size_t queryLength, std::size_t shownLength) {
    const wchar_t* pattern = reach_ == PathReach::Classic ? L"\\*.*" : L"\\*";
    if (reach_ == PathReach::Classic && query_.size() + 4 >= MAX_PATH) return false;
    const std::size_t length = query_.size();
    query_ += pattern;
    // Long names only (no short ones to make up), many at a time.
    const HANDLE search = FindFirstFileExW(query_.c_str(), FindExInfoBasic, &entry_, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH);
    const DWORD error = search == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    query_.resize(length);
    if (search == INVALID_HANDLE_VALUE) {
      // A folder with no entry at all (a drive's empty root) is no failure.
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) visitor_.Unreadable(shown_, error);
      return false;
    }
    levels_.push_back({search, true, queryLength, shownLength});
    return true;
  }

  void Close() {
    const Level level = levels_.back();
    levels_.pop_back();
    FindClose(level.search);
    visitor_.LeaveFolder();
    query_.resize(level.queryLength);
    shown_.resize(level.shownLength);
  }

  PathReach reach_;
  TreeVisitor& visitor_;
  std::wstring query_, shown_;
  std::vector<Level> levels_;
  WIN32_FIND_DATAW entry_;
};

}  // namespace

bool WalkTree(std::wstring_view top, PathReach reach, TreeVisitor& visitor) {
  return Walk(top, reach, visitor).Run();
}

}  // namespace kestrum

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
#include <vector>

#include "kestrum.h"
#include "kestrum_internal.h"
#include "tree_walk.h"

static_assert(KESTRUM_LIST_UTF8 == kestrum::kListUtf8);

namespace {

// The caller's text as a wide path; false for bytes that are not text of that
// code page (invalid UTF-8), which name no path.
bool WidePath(UINT codePage, const char* text, std::wstring& out) {
  const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  const int size = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
  if (size <= 0) return false;
  out.assign(static_cast<std::size_t>(size), L'\0');
  if (MultiByteToWideChar(codePage, flags, text, -1, out.data(), size) != size) return false;
  out.resize(static_cast<std::size_t>(size - 1));
  return true;
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
  std::wstring back;
  return WidePath(codePage, out.c_str(), back) && back == name;
}

// The list of one call: a line per entry whose text is exact, in the walk's
// order; every file counted. Below a folder without an exact text entries
// are walked and counted, but no line could name them.
class ListWriter final : public kestrum::TreeVisitor {
 public:
  ListWriter(HANDLE file, int mode, UINT codePage) : file_(file), mode_(mode), codePage_(codePage) {}
  // The top as the lines give it.
  void Begin(const char* top) {
    text_ = top;
    line_.reserve(2 * kestrum::kMaxAnsiPath);
  }
  int Files() const { return files_; }

  Next Entry(std::wstring_view, const WIN32_FIND_DATAW& entry) override {
    const bool named = named_.empty() || named_.back();
    const bool exact = named && ExactText(codePage_, entry.cFileName, name_);
    // In the ANSI modes an entry whose text is too long for the ANSI file
    // functions is left out, never cut short.
    const std::size_t bytes = text_.size() + 1 + name_.size();
    if (exact && codePage_ != CP_UTF8 && bytes >= kestrum::kMaxAnsiPath) return Next::Skip;
    const bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (exact && (directory ? kestrum::ModeListsDirectories(mode_) : kestrum::ModeListsFiles(mode_))) WriteLine();
    if (!directory) {
      ++files_;
      return Next::Skip;
    }
    // Its pattern, "\*.*", must reach the ANSI functions too.
    if (exact && codePage_ != CP_UTF8 && bytes + 4 >= kestrum::kMaxAnsiPath) return Next::Skip;
    enteringNamed_ = exact;
    return Next::Go;
  }
  void EnterFolder(std::wstring_view) override {
    if (named_.empty()) {  // the top
      named_.push_back(true);
      return;
    }
    lengths_.push_back(text_.size());
    if (enteringNamed_) text_.append(1, '\\').append(name_);
    named_.push_back(enteringNamed_);
  }
  void LeaveFolder() override {
    named_.pop_back();
    if (lengths_.empty()) return;
    text_.resize(lengths_.back());
    lengths_.pop_back();
  }

 private:
  // A failed write (disk full) is passed over.
  void WriteLine() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    line_.clear();
    kestrum::AppendListLine(line_, mode_, text_, name_);
    DWORD written = 0;
    WriteFile(file_, line_.data(), static_cast<DWORD>(line_.size()), &written, nullptr);
  }

  HANDLE file_;  // INVALID_HANDLE_VALUE when the list file could not be created
  int mode_;
  UINT codePage_;
  int files_ = 0;
  std::string text_;  // how the lines give the folder being read
  std::string name_, line_;
  std::vector<std::size_t> lengths_;
  std::vector<bool> named_;
  bool enteringNamed_ = false;
};

HANDLE CreateListFile(UINT codePage, const char* listPath) {
  // CREATE_NEW: an earlier list that could not be deleted is left as it was.
  if (codePage != CP_UTF8) {
    DeleteFileA(listPath);
    return CreateFileA(listPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  std::wstring path;
  if (!WidePath(CP_UTF8, listPath, path)) return INVALID_HANDLE_VALUE;
  DeleteFileW(path.c_str());
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

extern "C" int __cdecl MakeDirFileList_(int mode, const char* dir, const char* listPath) {
  // The ANSI modes take and give text as the ANSI file functions would.
  const UINT codePage = kestrum::ModeIsUtf8(mode) ? CP_UTF8 : AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const HANDLE file = CreateListFile(codePage, listPath);
  ListWriter writer(file, mode, codePage);
  try {
    std::wstring top;
    if (WidePath(codePage, dir, top) && (codePage == CP_UTF8 || std::strlen(dir) + 4 < kestrum::kMaxAnsiPath)) {
      writer.Begin(dir);
      // The UTF-8 modes reach entries at any depth; the ANSI ones keep to
      // what the ANSI functions reach.
      kestrum::WalkTree(top, codePage == CP_UTF8 ? kestrum::PathReach::AnyLength : kestrum::PathReach::Classic,
                        writer);
    }
  } catch (...) {  // out of memory: the lines so far stay, nothing escapes
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return writer.Files();
}

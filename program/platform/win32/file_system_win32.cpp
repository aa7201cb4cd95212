#include <windows.h>

#include <algorithm>
#include <map>

#include "services/case_mapping.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

namespace {

struct FindHandle {
  HANDLE handle;
  ~FindHandle() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Calls visit for every entry of the directory; false when it cannot be read.
template <typename Visit>
bool ForEachEntry(std::u16string pattern, Visit visit) {
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileExW(W(pattern), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH)};
  if (find.handle == INVALID_HANDLE_VALUE) {
    // An empty folder is no failure.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    visit(data);
  } while (FindNextFileW(find.handle, &data));
  return true;
}

std::u16string_view SplitName(std::u16string_view path) {
  const std::size_t sep = path.find_last_of(u"\\/");
  return sep == std::u16string_view::npos ? path : path.substr(sep + 1);
}

std::u16string WithSeparator(std::u16string_view path) {
  std::u16string result(path);
  if (result.empty() || (result.back() != u'\\' && result.back() != u'/')) result += u'\\';
  return result;
}

}  // namespace

std::optional<std::vector<std::u16string>> Win32FileSystem::Enumerate(std::u16string_view folderPath,
                                                                     std::uint16_t attributes) {
  std::vector<std::u16string> names;
  const bool directories = (attributes & kAttrDirectory) != 0;
  const bool ok = ForEachEntry(std::u16string(folderPath) + u"*", [&](const WIN32_FIND_DATAW& data) {
    if (data.dwFileAttributes & kHiddenOrSystem) return;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !directories) return;
    names.push_back(U(data.cFileName));
  });
  if (!ok) return std::nullopt;
  return names;
}

namespace {

// The name the file system stores for the entry that path names, or empty.
std::u16string StoredName(const std::u16string& path) {
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileExW(W(path), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)};
  if (find.handle == INVALID_HANDLE_VALUE) return {};
  return U(data.cFileName);
}

bool Move(const std::u16string& from, const std::u16string& to) {
  // No replace flag: a rename never overwrites another entry.
  return MoveFileW(W(from), W(to)) != FALSE;
}

// Whether a volume changes the spelling on a rename that changes letter case
// only. Some (Wine 8 among them) report success and keep the old spelling.
enum class CaseRename { Unknown, Honoured, Ignored };

CaseRename& CaseRenameOf(const std::u16string& path) {
  static std::map<std::u16string, CaseRename> volumes;
  std::u16string volume = path.substr(0, path.size() >= 2 && path[1] == u':' ? 2 : path.find(u'\\', 2));
  return volumes[MapCase(volume, CaseDirection::Upper)];
}

// Whether the folder of path holds another entry whose name differs from the
// entry's own in letter case only (which only a case-sensitive folder can).
bool HasCaseTwin(const std::u16string& path) {
  const std::size_t sep = path.find_last_of(u"\\/");
  if (sep == std::u16string::npos) return false;
  const std::u16string name = path.substr(sep + 1);
  int alike = 0;
  if (name.empty()) return false;
  // An exact name finds one spelling only; with its last character a
  // wildcard the search yields every spelling, and few other names, without
  // reading a large folder entry by entry.
  std::u16string pattern = path;
  pattern.back() = u'?';
  ForEachEntry(pattern, [&](const WIN32_FIND_DATAW& data) {
    if (CompareStringOrdinal(data.cFileName, -1, W(name), -1, TRUE) == CSTR_EQUAL) ++alike;
  });
  return alike > 1;
}

// Renames through a parked name in the same folder. If the second step
// fails, the entry goes back to its old name: nothing is ever lost.
bool RenameThroughParkedName(const std::u16string& from, const std::u16string& to) {
  // Next to a case twin the new name, and the old one once left, both lead to
  // the twin: the second step would fail and the way back too, leaving the
  // entry under its parked name.
  if (HasCaseTwin(from)) return false;
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::u16string parked = from + u".~zefta" + static_cast<char16_t>(u'0' + attempt);
    if (!Move(from, parked)) continue;
    if (Move(parked, to)) return true;
    Move(parked, from);
    return false;
  }
  return false;
}

}  // namespace

bool Win32FileSystem::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
  const std::u16string from(oldPath);
  const std::u16string to(newPath);
  const bool caseOnly = from != to && MapCase(from, CaseDirection::Upper) == MapCase(to, CaseDirection::Upper);
  if (!caseOnly) return Move(from, to);
  CaseRename& behaviour = CaseRenameOf(from);
  if (behaviour == CaseRename::Ignored) return RenameThroughParkedName(from, to);
  if (!Move(from, to)) return false;
  if (behaviour == CaseRename::Honoured) return true;
  // First case-only rename on this volume: see what the file system did.
  const std::u16string stored = StoredName(to);
  if (stored.empty()) return true;
  if (stored == SplitName(to)) {
    behaviour = CaseRename::Honoured;
    return true;
  }
  behaviour = CaseRename::Ignored;
  return RenameThroughParkedName(from, to);
}

std::vector<std::u16string> Win32FileSystem::Drives() {
  std::vector<std::u16string> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) drives.push_back(std::u16string{static_cast<char16_t>(u'a' + i), u':'});
  }
  return drives;
}

bool Win32FileSystem::DriveReady(std::u16string_view drive) {
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const std::u16string root = WithSeparator(drive);
  const bool ready = GetVolumeInformationW(W(root), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != FALSE ||
                     GetFileAttributesW(W(root)) != INVALID_FILE_ATTRIBUTES;
  SetErrorMode(oldMode);
  return ready;
}

bool Win32FileSystem::DirectoryExists(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(W(std::u16string(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::u16string> Win32FileSystem::Subdirectories(std::u16string_view path) {
  std::vector<std::u16string> names;
  ForEachEntry(WithSeparator(path) + u"*", [&](const WIN32_FIND_DATAW& data) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & kHiddenOrSystem)) return;
    const std::u16string name = U(data.cFileName);
    if (name == u"." || name == u"..") return;
    names.push_back(name);
  });
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return CompareStringOrdinal(W(a), -1, W(b), -1, TRUE) == CSTR_LESS_THAN;
  });
  return names;
}

std::u16string Win32FileSystem::CurrentDirectoryOf(std::u16string_view drive) {
  wchar_t buffer[MAX_PATH * 4];
  const std::u16string relative(drive.substr(0, 2));
  const DWORD length = GetFullPathNameW(W(relative), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
  if (length == 0 || length >= std::size(buffer)) return WithSeparator(relative);
  return U(buffer, length);
}

}  // namespace zefta::win32

#include <windows.h>

#include <algorithm>

#include "modules/name_rule.h"
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

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

// Where the system says the path leads once every link on the way is
// followed: "" when the path cannot be opened, nullopt when the system cannot
// say (a file system without final paths).
std::optional<std::u16string> FinalPath(const std::u16string& path) {
  // No access asked for: entries that others hold open can be looked at too.
  FileHandle file{CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return u"";
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetFinalPathNameByHandleW(file.handle, buffer, static_cast<DWORD>(std::size(buffer)), 0);
  if (length == 0 || length >= std::size(buffer)) return std::nullopt;
  return U(buffer, length);
}

// "\\?\C:\x" as "C:\x", "\\?\UNC\server\x" as "\\server\x".
std::u16string WithoutPrefix(const std::u16string& path) {
  if (path.starts_with(u"\\\\?\\UNC\\")) return u"\\" + path.substr(7);
  if (path.starts_with(u"\\\\?\\")) return path.substr(4);
  return path;
}

std::u16string_view WithoutSeparator(std::u16string_view folder) {
  if (folder.size() > 1 && folder.back() == u'\\') folder.remove_suffix(1);
  return folder;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
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

bool Win32FileSystem::Move(std::u16string_view from, std::u16string_view to) {
  // No replace flag: a move never overwrites another entry.
  return MoveFileW(W(std::u16string(from)), W(std::u16string(to))) != FALSE;
}

NameHolder Win32FileSystem::Holder(std::u16string_view pathView) {
  const std::u16string path(pathView);
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Wine finds a dangling link by its name, then leaves it out.
    WIN32_FIND_DATAW data;
    FindHandle find{FindFirstFileExW(W(path), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)};
    if (find.handle != INVALID_HANDLE_VALUE) return NameHolder::Link;  // there, and yet not: cannot be told
    return GetLastError() == ERROR_NO_MORE_FILES ? NameHolder::Unlisted : NameHolder::Nothing;
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return NameHolder::Link;
  // Wine shows a link to a file as a plain file, and a move of it moves what
  // it leads to; only the path its handle leads to gives it away: another
  // name (exactly: a link may lead to its own case twin), or another folder.
  const auto entry = FinalPath(path);
  if (entry && entry->empty()) return NameHolder::Link;
  if (!entry) return NameHolder::Entry;
  const std::u16string finalPath = WithoutPrefix(*entry);
  const PathParts final = SplitPath(finalPath), asked = SplitPath(path);
  // Another spelling answered for the one asked: under Wine that one may be
  // a dangling link's, whose twin a move would take under the wrong name.
  if (final.name != asked.name) return NameHolder::Link;
  if (SameIgnoringCase(WithoutSeparator(final.folder), WithoutSeparator(asked.folder))) return NameHolder::Entry;
  // A folder reached by a link on the way, or by another drive letter:
  // where it leads goes through the same translation.
  const auto folder = FinalPath(std::u16string(asked.folder));
  if (!folder) return NameHolder::Entry;
  return SameIgnoringCase(WithoutSeparator(final.folder), WithoutSeparator(WithoutPrefix(*folder))) ? NameHolder::Entry
                                                                                                   : NameHolder::Link;
}

std::optional<std::u16string> Win32FileSystem::StoredName(std::u16string_view path) {
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileExW(W(std::u16string(path)), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)};
  if (find.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  return U(data.cFileName);
}

std::optional<std::vector<std::u16string>> Win32FileSystem::Names(std::u16string_view folderPath) {
  std::vector<std::u16string> names;
  const bool ok = ForEachEntry(std::u16string(folderPath) + u"*", [&](const WIN32_FIND_DATAW& data) {
    std::u16string name = U(data.cFileName);
    if (name != u"." && name != u"..") names.push_back(std::move(name));
  });
  if (!ok) return std::nullopt;
  return names;
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
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
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

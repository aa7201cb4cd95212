#include <windows.h>

#include <algorithm>

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

}  // namespace

bool Win32FileSystem::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
  const std::u16string from(oldPath);
  const std::u16string to(newPath);
  if (!Move(from, to)) return false;
  const std::u16string wanted(SplitName(to));
  const std::u16string stored = StoredName(to);
  if (stored == wanted || stored.empty()) return true;
  // Some file systems accept a change of letter case only and keep the old
  // spelling. Go through a unique name in the same folder; if the second step
  // fails the entry goes back to its old name, so nothing is ever lost.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::u16string parked = from + u".~zefta" + static_cast<char16_t>(u'0' + attempt);
    if (!Move(from, parked)) continue;
    if (Move(parked, to)) return StoredName(to) == wanted;
    Move(parked, from);
    return false;
  }
  return false;
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

#include "platform/win32/services/entry_check_win32.h"

#include <winternl.h>

#include <optional>
#include <string>

#include "modules/paths.h"
#include "path_forms.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Where the system says an opened entry lies, every link on the way
// followed, in the form people read; nullopt where it cannot say.
std::optional<std::u16string> FinalPathOf(HANDLE file) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      const std::wstring shown = kestrum::ShownPath(std::wstring_view(buffer.data(), length));
      return U(shown.c_str(), shown.size());
    }
    buffer.assign(length + 1, L'\0');
  }
}

// The name as Wine gives it back in a final path: without trailing dots and
// spaces, which the Win32 path rules drop.
std::u16string_view WithoutTrailingDots(std::u16string_view name) {
  const std::size_t end = name.find_last_not_of(u". ");
  return name.substr(0, end == std::u16string_view::npos ? 0 : end + 1);
}

// The file system's own number of the entry a handle holds.
std::optional<LARGE_INTEGER> IdOf(HANDLE file) {
  IO_STATUS_BLOCK io{};
  LARGE_INTEGER id{};  // FILE_INTERNAL_INFORMATION
  if (NtQueryInformationFile(file, &io, &id, sizeof id, static_cast<FILE_INFORMATION_CLASS>(6)) < 0) return std::nullopt;
  return id;
}

// A name with trailing dots or spaces that the final path gave back without
// them: it is the entry itself unless it leads to another entry of its
// folder that reads the same without them (Notes. to Notes, or to Notes..).
bool IsItselfDespiteTrailingDots(HANDLE file, std::u16string_view folder, std::u16string_view name) {
  const auto id = IdOf(file);
  if (!id) return false;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileExW(W(Extended(std::u16string(folder) + u"*")), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool itself = true;
  do {
    const std::u16string other = U(data.cFileName);
    if (other == name || !SameIgnoringCase(WithoutTrailingDots(other), WithoutTrailingDots(name))) continue;
    FileHandle twin{CreateFileW(W(Extended(std::u16string(folder) + other)), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    const auto twinId = twin.handle == INVALID_HANDLE_VALUE ? std::nullopt : IdOf(twin.handle);
    itself = twinId && twinId->QuadPart != id->QuadPart;
  } while (itself && FindNextFileW(find, &data));
  FindClose(find);
  return itself;
}

}  // namespace

// Wine shows a link to a file as a plain file, and a move of it moves what
// it leads to; only where the handle leads gives it away: another name
// (exactly: a link may lead to its own case twin), or another folder.
bool IsTheEntryAsked(HANDLE file, std::u16string_view path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
  const auto final = FinalPathOf(file);
  if (!final) return true;  // a file system without final paths has no links to fear
  const PathParts reached = SplitPath(*final), asked = SplitPath(path);
  if (reached.name != asked.name) {
    // Another spelling answered for the one asked: under Wine that one may
    // be a dangling link's, whose twin a move would take under the wrong
    // name. Only a name with trailing dots or spaces comes back without them.
    if (!reached.name.empty() && reached.name == WithoutTrailingDots(asked.name) &&
        SameIgnoringCase(WithoutSeparator(reached.folder), WithoutSeparator(asked.folder)))
      return IsItselfDespiteTrailingDots(file, asked.folder, asked.name);
    return false;
  }
  if (SameIgnoringCase(WithoutSeparator(reached.folder), WithoutSeparator(asked.folder))) return true;
  // A folder reached by a link on the way, or by another drive letter: where
  // it leads goes through the same translation.
  FileHandle folder{CreateFileW(W(Extended(asked.folder)), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  const auto folderReached = folder.handle == INVALID_HANDLE_VALUE ? std::nullopt : FinalPathOf(folder.handle);
  return folderReached && SameIgnoringCase(WithoutSeparator(reached.folder), WithoutSeparator(*folderReached));
}

}  // namespace zefta::win32

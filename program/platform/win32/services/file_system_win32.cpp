#include <windows.h>
#include <winternl.h>

#include <algorithm>

#include "modules/paths.h"
#include "platform/win32/services/entry_check_win32.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

struct FindHandle {
  HANDLE handle;
  ~FindHandle() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What a placeholder holds, so that no other file is ever taken for one.
constexpr char kPlaceholderText[] = "ZEFTA.EXE keeps this name for an entry it is renaming; safe to delete.\r\n";
constexpr DWORD kPlaceholderSize = sizeof kPlaceholderText - 1;
// Where a placeholder is written before it takes its name: one per folder.
constexpr char16_t kStagingName[] = u"~zefta-placeholder.tmp";

// Calls visit for every entry of the directory; false when it cannot be read.
template <typename Visit>
bool ForEachEntry(std::u16string_view folder, Visit visit) {
  std::u16string pattern = Extended(folder);
  if (pattern.empty() || pattern.back() != u'\\') pattern += u'\\';
  pattern += u'*';
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

bool IsDot(const wchar_t* name) { return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)); }

// What a new name may do to an entry already holding it.
enum class Existing { Refuse, Replace };

// Gives the opened entry the name path (in the NT form these calls take):
// moves it there (FileRenameInformation) or adds the name as a second link
// to it (FileLinkInformation).
NTSTATUS NameOpened(HANDLE file, std::u16string_view path, FILE_INFORMATION_CLASS how, Existing existing) {
  const std::wstring target = NtForm(path);
  const std::size_t bytes = offsetof(FILE_RENAME_INFORMATION, FileName) + target.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(bytes + sizeof(wchar_t), 0);
  auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());  // a link takes the same layout
  info->ReplaceIfExists = existing == Existing::Replace;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<ULONG>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), info->FileName);
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(file, &io, info, static_cast<ULONG>(bytes), how);
}

bool RenameOpened(HANDLE file, std::u16string_view path, Existing existing) {
  return NameOpened(file, path, FileRenameInformation, existing) >= 0;
}

// What a link answers where anything holds the name, in any spelling.
constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035L);

bool MarkForDeletion(HANDLE file) {
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

bool WritePlaceholderText(HANDLE file) {
  DWORD written = 0;
  return WriteFile(file, kPlaceholderText, kPlaceholderSize, &written, nullptr) && written == kPlaceholderSize;
}

// The folder's staging file, in the extended form.
std::u16string StagingOf(std::u16string_view path) {
  return Extended(std::u16string(SplitPath(path).folder) + kStagingName);
}

// Whether an empty file counts as a placeholder: only at the staging name,
// where a power cut between its making and its text may leave one; an empty
// file at any other name may be anybody's.
enum class Empty { NotOurs, Ours };

// What a file opened for reading holds.
enum class Content { PlaceholderText, Nothing, Other };

Content ContentOf(HANDLE file) {
  char text[kPlaceholderSize + 1];
  DWORD got = 0;
  if (!ReadFile(file, text, sizeof text, &got, nullptr)) return Content::Other;
  if (got == 0) return Content::Nothing;
  return got == kPlaceholderSize && std::equal(text, text + got, kPlaceholderText) ? Content::PlaceholderText
                                                                                   : Content::Other;
}

// Removes the placeholder at path (extended form), and nothing else; true
// when there was one. A link is never followed.
bool RemovePlaceholderAt(const std::u16string& path, Empty empty) {
  FileHandle file{CreateFileW(W(path), GENERIC_READ | DELETE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  const Content content = ContentOf(file.handle);
  if (content == Content::Other || (content == Content::Nothing && empty == Empty::NotOurs)) return false;
  return MarkForDeletion(file.handle);
}

// Makes the folder's staging file: the placeholder's text, in a file that
// stays until the run's moves are over (a cut leaves it, which the mend and
// the next staging file remove, empty or not).
bool MakeStaging(const std::u16string& staging) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    // DELETE: a staging file whose text could not be written goes again.
    FileHandle file{CreateFileW(W(staging), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle != INVALID_HANDLE_VALUE) {
      if (WritePlaceholderText(file.handle)) return true;
      MarkForDeletion(file.handle);
      return false;
    }
    if (GetLastError() != ERROR_FILE_EXISTS || !RemovePlaceholderAt(staging, Empty::Ours)) break;
  }
  return false;
}

void RemoveStaging(std::u16string& kept) {
  if (!kept.empty()) RemovePlaceholderAt(kept, Empty::Ours);
  kept.clear();
}

// The staging file of a folder (extended form), opened with its text, kept
// from one placeholder to the next: making it looks up a name that is not
// there, which under Wine scans the folder, as costly as a move in a big
// one. kept names the one the file system keeps, one folder's at a time.
HANDLE OpenStaging(const std::u16string& staging, std::u16string& kept) {
  if (kept != staging) RemoveStaging(kept);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (kept.empty()) {
      if (!MakeStaging(staging)) return INVALID_HANDLE_VALUE;
      kept = staging;
    }
    // Read only: a file that is open cannot be replaced, and the move
    // replaces the link to it right after.
    FileHandle file{CreateFileW(W(staging), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
    if (file.handle != INVALID_HANDLE_VALUE && ContentOf(file.handle) == Content::PlaceholderText) {
      const HANDLE opened = file.handle;
      file.handle = INVALID_HANDLE_VALUE;
      return opened;
    }
    kept.clear();  // gone, or not ours: made afresh, where it can be
  }
  return INVALID_HANDLE_VALUE;
}

// Makes the placeholder at the name itself, where no staging file can be
// linked to it (a volume without hard links: FAT): a cut between its making
// and its text leaves an empty file there, which stays (and the entry under
// its parked name, reported).
bool MakePlaceholderInPlace(const std::u16string& path) {
  FileHandle file{CreateFileW(W(Extended(path)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  if (WritePlaceholderText(file.handle)) return true;
  CloseHandle(file.handle);
  file.handle = INVALID_HANDLE_VALUE;
  DeleteFileW(W(Extended(path)));
  return false;
}

// Makes the placeholder of a name, only where nothing at all holds the name
// in any spelling, a dangling link included (which a rename would replace
// under Wine). It takes the name with its text already in it: a hard link
// to the folder's staging file, whose handle closes before the rename
// (nothing replaces a file that is open), and a link never takes a name
// from anything. So a cut leaves a placeholder with its text, which the mend
// removes, and never an empty file that could be anybody's.
bool MakePlaceholder(const std::u16string& path, std::u16string& keptStaging) {
  FileHandle staging{OpenStaging(StagingOf(path), keptStaging)};
  if (staging.handle != INVALID_HANDLE_VALUE) {
    const NTSTATUS linked = NameOpened(staging.handle, path, FileLinkInformation, Existing::Refuse);
    if (linked >= 0) return true;
    if (linked == kNameCollision) return false;
  }
  return MakePlaceholderInPlace(path);
}

class Win32OpenedEntry final : public OpenedEntry {
 public:
  Win32OpenedEntry(HANDLE file, std::u16string path, bool directory, std::u16string& keptStaging)
      : file_{file}, path_(std::move(path)), directory_(directory), keptStaging_(keptStaging) {}

  bool MoveTo(std::u16string_view pathView) override {
    const std::u16string path(pathView);
    const PathParts from = SplitPath(path_), to = SplitPath(path);
    bool moved;
    if (SameIgnoringCase(from.name, to.name) || directory_) {
      // A spelling of its own name, which nothing else can hold; or a
      // folder, which the system never moves onto anything, a dangling
      // link included.
      moved = RenameOpened(file_.handle, path, Existing::Refuse);
    } else if (MakePlaceholder(path, keptStaging_)) {
      // A file would replace a dangling link: it goes onto a placeholder,
      // made only where nothing at all holds the name.
      moved = RenameOpened(file_.handle, path, Existing::Replace);
      if (!moved) RemovePlaceholderAt(Extended(path), Empty::NotOurs);
    } else {
      moved = false;
    }
    if (moved) path_ = path;
    return moved;
  }

  bool MoveToParkedName(std::u16string_view pathView) override {
    const std::u16string path(pathView);
    if (!RenameOpened(file_.handle, path, Existing::Refuse)) return false;
    path_ = path;
    return true;
  }

 private:
  FileHandle file_;
  std::u16string path_;
  bool directory_;
  std::u16string& keptStaging_;  // the file system's
};

}  // namespace

std::unique_ptr<OpenedEntry> Win32FileSystem::Open(std::u16string_view pathView) {
  const std::u16string path(pathView);
  // Before the journal names an entry of another folder: a cut from here on
  // leaves a staging file only in the folder of the entry it names, where
  // the mend looks.
  if (!keptStaging_.empty() && StagingOf(path) != keptStaging_) RemoveStaging(keptStaging_);
  // The entry itself when it is a link (Windows), and held by the handle:
  // every later move takes this very entry.
  const HANDLE file = CreateFileW(W(Extended(path)), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
      !IsTheEntryAsked(file, path, basic.FileAttributes)) {
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<Win32OpenedEntry>(file, path, (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                            keptStaging_);
}

Win32FileSystem::~Win32FileSystem() { RemoveStaging(keptStaging_); }

void Win32FileSystem::FinishMoves() { RemoveStaging(keptStaging_); }

bool Win32FileSystem::ClearPlaceholder(std::u16string_view path) {
  // A cut may also have left the folder's staging file.
  const std::u16string staging = StagingOf(path);
  if (staging == keptStaging_) keptStaging_.clear();
  RemovePlaceholderAt(staging, Empty::Ours);
  return RemovePlaceholderAt(Extended(path), Empty::NotOurs);
}

NameHolder Win32FileSystem::Holder(std::u16string_view path) {
  if (Open(path)) return NameHolder::Entry;
  // Wine finds a dangling link by its name, then leaves it out.
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileExW(W(Extended(path)), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)};
  if (find.handle != INVALID_HANDLE_VALUE) return NameHolder::Link;
  return GetLastError() == ERROR_NO_MORE_FILES ? NameHolder::Unlisted : NameHolder::Nothing;
}

std::optional<std::vector<std::u16string>> Win32FileSystem::Enumerate(std::u16string_view folderPath,
                                                                     std::uint16_t attributes) {
  std::vector<std::u16string> names;
  const bool directories = (attributes & kAttrDirectory) != 0;
  const bool ok = ForEachEntry(folderPath, [&](const WIN32_FIND_DATAW& data) {
    if (data.dwFileAttributes & kHiddenOrSystem) return;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !directories) return;
    names.push_back(U(data.cFileName));
  });
  if (!ok) return std::nullopt;
  return names;
}

std::optional<std::u16string> Win32FileSystem::StoredName(std::u16string_view path) {
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileExW(W(Extended(path)), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)};
  if (find.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  return U(data.cFileName);
}

std::optional<std::vector<std::u16string>> Win32FileSystem::Names(std::u16string_view folderPath) {
  std::vector<std::u16string> names;
  const bool ok = ForEachEntry(folderPath, [&](const WIN32_FIND_DATAW& data) {
    if (!IsDot(data.cFileName)) names.push_back(U(data.cFileName));
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
  const DWORD attributes = GetFileAttributesW(W(Extended(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::u16string> Win32FileSystem::Subdirectories(std::u16string_view path) {
  std::vector<std::u16string> names;
  ForEachEntry(path, [&](const WIN32_FIND_DATAW& data) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & kHiddenOrSystem)) return;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || IsDot(data.cFileName)) return;
    names.push_back(U(data.cFileName));
  });
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return CompareStringOrdinal(W(a), -1, W(b), -1, TRUE) == CSTR_LESS_THAN;
  });
  return names;
}

std::u16string Win32FileSystem::CurrentDirectoryOf(std::u16string_view drive) {
  const std::u16string relative(drive.substr(0, 2));
  const DWORD size = GetFullPathNameW(W(relative), 0, nullptr, nullptr);
  std::wstring buffer(size, L'\0');
  const DWORD length = size ? GetFullPathNameW(W(relative), size, buffer.data(), nullptr) : 0;
  if (length == 0 || length >= size) return WithSeparator(relative);
  return U(buffer.c_str(), length);
}

}  // namespace zefta::win32

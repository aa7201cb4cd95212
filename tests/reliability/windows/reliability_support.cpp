#include "reliability_support.h"

#include <algorithm>

#include "services/case_mapping.h"
#include "modules/name_rule.h"
#include "platform/win32/text.h"

namespace zefta::reliability {

using win32::U;
using win32::W;

std::u16string U16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return U(wide.c_str(), wide.size());
}

std::string U8(std::u16string_view utf16) {
  if (utf16.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
  const int length = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

std::u16string WithoutSeparator(std::u16string path) {
  while (path.size() > 3 && path.back() == u'\\') path.pop_back();
  return path;
}

namespace {

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

// No access asked for, so entries that others hold open can still be identified.
bool QueryIdentity(const std::u16string& path, std::uint64_t& id, std::uint64_t& size) {
  Handle file{CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.h, &info)) return false;
  id = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

bool ReadContent(const std::u16string& path, std::string& content) {
  Handle file{CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, 0, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) return false;
  content.clear();
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.h, chunk, sizeof(chunk), &got, nullptr) && got > 0) content.append(chunk, got);
  return true;
}

void Walk(const std::u16string& folder, std::uint64_t folderId, const Snapshot* known, Snapshot& out) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(W(folder + u"\\*"), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::pair<std::u16string, std::uint64_t>> subfolders;
  do {
    const std::u16string name = U(data.cFileName);
    if (name == u"." || name == u"..") continue;
    EntryRecord record;
    record.path = folder + u"\\" + name;
    record.name = name;
    record.parent = folderId;
    record.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::uint64_t id = 0;
    if (!QueryIdentity(record.path, id, record.size)) {
      // Seen by the listing but not reachable by its name: keep it visible.
      id = 0x8000000000000000ull | (std::hash<std::u16string>{}(record.path) & 0x7fffffffffffffffull);
    }
    if (record.directory) {
      record.size = 0;
      subfolders.emplace_back(record.path, id);
    } else {
      record.contentKnown = ReadContent(record.path, record.content);
      if (!record.contentKnown && known) {
        auto it = known->find(id);
        if (it != known->end() && it->second.contentKnown && it->second.size == record.size) {
          record.content = it->second.content;
          record.contentKnown = true;
        }
      }
    }
    out[id] = std::move(record);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const auto& [path, id] : subfolders) Walk(path, id, known, out);
}

}  // namespace

std::uint64_t IdentityOf(const std::u16string& path) {
  std::uint64_t id = 0, size = 0;
  QueryIdentity(path, id, size);
  return id;
}

Snapshot TakeSnapshot(const std::u16string& root, const Snapshot* known) {
  Snapshot snapshot;
  const std::u16string top = WithoutSeparator(root);
  Walk(top, IdentityOf(top), known, snapshot);
  return snapshot;
}

Comparison Compare(const Snapshot& before, const Snapshot& after, const std::set<std::uint64_t>& removedByTest,
                   const std::set<std::uint64_t>& movedByTest) {
  Comparison result;
  auto note = [&](const char* what, const EntryRecord& old, const EntryRecord* now) {
    if (result.details.size() < 20)
      result.details.push_back(std::string(what) + ": " + U8(old.path) + (now ? " -> " + U8(now->path) : ""));
  };
  for (const auto& [id, old] : before) {
    auto it = after.find(id);
    if (it == after.end()) {
      if (!removedByTest.count(id)) {
        ++result.lost;
        note("lost", old, nullptr);
      }
      continue;
    }
    const EntryRecord& now = it->second;
    const bool movedHere = movedByTest.count(id) != 0;
    if (now.parent != old.parent && !movedHere) {
      ++result.moved;
      note("moved", old, &now);
    }
    if (movedHere) {
    } else if (!SameIgnoringCase(now.name, old.name)) {
      ++result.renamedOtherThanCase;
      note("renamed other than in case", old, &now);
    } else if (now.name != old.name) {
      ++result.renamed;
    }
    if (!old.directory &&
        (now.directory || now.size != old.size || (old.contentKnown && now.contentKnown && now.content != old.content))) {
      ++result.contentChanged;
      note("content changed", old, &now);
    }
  }
  for (const auto& [id, now] : after) {
    if (!before.count(id)) {
      ++result.appeared;
      note("appeared", now, nullptr);
    }
  }
  return result;
}

bool GuardedFileSystem::Refused(std::u16string_view path) const {
  if (path.size() < 2 || path[1] != u':') return false;
  const std::u16string drive = MapCase(path.substr(0, 2), CaseDirection::Lower);
  return missingMedia.count(drive) || refusedDrives.count(drive);
}

std::optional<std::vector<std::u16string>> GuardedFileSystem::Enumerate(std::u16string_view folderPath,
                                                                      std::uint16_t attributes) {
  if (Refused(folderPath)) return std::nullopt;
  return real_.Enumerate(folderPath, attributes);
}

bool GuardedFileSystem::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
  ++renames;
  const PathParts from = SplitPath(oldPath);
  const PathParts to = SplitPath(newPath);
  if (from.folder != to.folder || !SameIgnoringCase(from.name, to.name)) {
    // Never carried out: the check is about what the windows ask for.
    ++requestsOutsideOwnName;
    ++refusedRenames;
    return false;
  }
  bool done = false;
  if (!Refused(oldPath)) done = real_.Rename(oldPath, newPath);
  if (!done) ++refusedRenames;
  if (afterRename) afterRename();
  return done;
}

std::vector<std::u16string> GuardedFileSystem::Drives() {
  std::vector<std::u16string> drives = real_.Drives();
  for (const auto& drive : missingMedia)
    if (std::find(drives.begin(), drives.end(), drive) == drives.end()) drives.push_back(drive);
  std::sort(drives.begin(), drives.end());
  return drives;
}

bool GuardedFileSystem::DriveReady(std::u16string_view drive) { return !Refused(drive) && real_.DriveReady(drive); }

bool GuardedFileSystem::DirectoryExists(std::u16string_view path) {
  return !Refused(path) && real_.DirectoryExists(path);
}

std::vector<std::u16string> GuardedFileSystem::Subdirectories(std::u16string_view path) {
  if (Refused(path)) return {};
  return real_.Subdirectories(path);
}

std::u16string GuardedFileSystem::CurrentDirectoryOf(std::u16string_view drive) {
  return real_.CurrentDirectoryOf(drive);
}

MixedPlatform::MixedPlatform(const std::u16string& tempDir) { environment.variables[u"TEMP"] = tempDir; }

int MixedPlatform::BoxesWithText(std::u16string_view text) const {
  return static_cast<int>(std::count_if(messages.shown.begin(), messages.shown.end(),
                                        [&](const testing::ShownMessage& m) { return m.text == text; }));
}

bool HoldingProcess::Hold(const std::u16string& workDir, const std::vector<std::u16string>& paths) {
  Release();
  static int serial = 0;
  const std::u16string tag = Decimal(GetCurrentProcessId()) + u"_" + Decimal(++serial);
  const std::u16string listFile = workDir + u"\\hold_" + tag + u".txt";
  std::u16string text;
  for (const auto& path : paths) text += path + u"\n";
  const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
  if (!WriteFileBytes(listFile, bytes)) return false;

  const std::u16string readyName = u"zefta_hold_ready_" + tag;
  const std::u16string releaseName = u"zefta_hold_release_" + tag;
  Handle ready{CreateEventW(nullptr, TRUE, FALSE, W(readyName))};
  release_ = CreateEventW(nullptr, TRUE, FALSE, W(releaseName));
  wchar_t self[MAX_PATH * 2];
  GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
  std::u16string command(u"\"");
  command += U(self) + u"\" --hold \"" + listFile + u"\" " + readyName + u" " + releaseName;
  std::wstring mutableCommand(reinterpret_cast<const wchar_t*>(command.c_str()));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, mutableCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  const HANDLE waits[2] = {ready.h, process_};
  return WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
}

void HoldingProcess::Release() {
  if (release_) SetEvent(release_);
  if (process_) {
    WaitForSingleObject(process_, 60000);
    CloseHandle(process_);
    process_ = nullptr;
  }
  if (release_) {
    CloseHandle(release_);
    release_ = nullptr;
  }
}

bool HeldOpenElsewhere(const std::u16string& path) {
  Handle probe{CreateFileW(W(path), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  return probe.h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

int RunHolder(const std::u16string& listFile, const std::u16string& readyEvent, const std::u16string& releaseEvent) {
  std::string bytes;
  if (!ReadContent(listFile, bytes)) return 2;
  const std::u16string text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / sizeof(char16_t));
  std::vector<HANDLE> held;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string path = text.substr(start, end - start);
    start = end + 1;
    if (path.empty()) continue;
    const DWORD attributes = GetFileAttributesW(W(path));
    const bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    HANDLE h = CreateFileW(W(path), GENERIC_READ, directory ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
                           OPEN_EXISTING, directory ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) held.push_back(h);
  }
  Handle ready{OpenEventW(EVENT_MODIFY_STATE, FALSE, W(readyEvent))};
  Handle release{OpenEventW(SYNCHRONIZE, FALSE, W(releaseEvent))};
  if (ready.h) SetEvent(ready.h);
  if (release.h) WaitForSingleObject(release.h, 30 * 60 * 1000);
  for (HANDLE h : held) CloseHandle(h);
  return 0;
}

Lock::Lock(const std::u16string& path)
    : handle_(CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}

Lock::~Lock() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool WriteFileBytes(const std::u16string& path, const std::string& content) {
  Handle file{CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return WriteFile(file.h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

bool MakeDirectory(const std::u16string& path) { return CreateDirectoryW(W(path), nullptr) != FALSE; }

void RemoveTree(const std::u16string& path) {
  const std::u16string dir = WithoutSeparator(path);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(W(dir + u"\\*"), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::u16string name = U(data.cFileName);
      if (name == u"." || name == u"..") continue;
      const std::u16string full = dir + u"\\" + name;
      SetFileAttributesW(W(full), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileW(W(full));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(W(dir), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(W(dir));
}

}  // namespace zefta::reliability

// What the no-data-loss runs share: snapshots of a real tree, the real
// services with a guard around the file system, and a process that holds
// entries open.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes.h"
#include "services/services.h"
#include "platform/win32/services_win32.h"

namespace zefta::reliability {

std::u16string U16(std::string_view utf8);
std::string U8(std::u16string_view utf16);
std::u16string Decimal(long long value);
// Equal without regard to letter case, as the file system compares names.
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b);
std::u16string WithoutSeparator(std::u16string path);

// One entry of a tree, identified by the file system's index number, which a
// rename keeps.
struct EntryRecord {
  std::u16string path;
  std::u16string name;
  std::uint64_t parent = 0;
  bool directory = false;
  std::uint64_t size = 0;
  bool contentKnown = false;  // false while another process holds it open
  std::string content;
};

using Snapshot = std::map<std::uint64_t, EntryRecord>;

// Every entry below root (not root itself). Contents that cannot be read now
// are taken from known, by identity.
Snapshot TakeSnapshot(const std::u16string& root, const Snapshot* known = nullptr);
std::uint64_t IdentityOf(const std::u16string& path);

struct Comparison {
  int lost = 0;              // gone, and not removed by the test itself
  int appeared = 0;          // present after, not before
  int moved = 0;             // now in another folder
  int renamedOtherThanCase = 0;
  int contentChanged = 0;
  int renamed = 0;           // name changed in letter case only
  std::vector<std::string> details;
  bool Clean() const { return lost + appeared + moved + renamedOtherThanCase + contentChanged == 0; }
};

// Entries that the test itself removed or moved are not held against the run.
Comparison Compare(const Snapshot& before, const Snapshot& after, const std::set<std::uint64_t>& removedByTest,
                   const std::set<std::uint64_t>& movedByTest = {});

// The real file system, counting what the windows ask of it. It can refuse a
// drive (as a drive without a medium does) and checks that every rename keeps
// the folder part and changes letter case only.
class GuardedFileSystem final : public FileSystem {
 public:
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  bool Rename(std::u16string_view oldPath, std::u16string_view newPath) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;

  // Drives ("y:") listed but never readable, and drives refused for now.
  std::set<std::u16string> missingMedia{u"y:"};
  std::set<std::u16string> refusedDrives;
  int renames = 0;
  int refusedRenames = 0;
  int requestsOutsideOwnName = 0;
  std::function<void()> afterRename;

 private:
  bool Refused(std::u16string_view path) const;
  win32::Win32FileSystem real_;
};

// Real files, code page and library; fakes for everything the user sees.
struct MixedPlatform {
  explicit MixedPlatform(const std::u16string& tempDir);
  GuardedFileSystem files;
  testing::MessageRecorder messages;
  testing::MemorySettings settings;
  testing::FakeEnvironment environment;
  testing::FakeDesktop desktop;
  testing::FakeFolderPicker folderPicker;
  win32::Win32CodePage codePage;
  win32::KestrumTreeLister treeLister;
  win32::Win32FileReader fileReader;
  testing::FakeWindowHost windows;
  Services services{files, messages, settings, environment, desktop, folderPicker, codePage, treeLister, fileReader, windows};

  int BoxesWithText(std::u16string_view text) const;
};

// Opens entries with no sharing from a second process (this program started
// again with --hold), so that the runs meet entries held by someone else.
class HoldingProcess {
 public:
  HoldingProcess() = default;
  HoldingProcess(const HoldingProcess&) = delete;
  HoldingProcess& operator=(const HoldingProcess&) = delete;
  ~HoldingProcess() { Release(); }
  // Files are held with no sharing at all; folders with read and write
  // sharing, which still refuses their rename but lets them be listed.
  bool Hold(const std::u16string& workDir, const std::vector<std::u16string>& paths);
  void Release();

 private:
  HANDLE process_ = nullptr;
  HANDLE release_ = nullptr;
};

// Whether another handle keeps path from being renamed or deleted now.
bool HeldOpenElsewhere(const std::u16string& path);

// The --hold side: holds the entries listed in listFile until the event is set.
int RunHolder(const std::u16string& listFile, const std::u16string& readyEvent, const std::u16string& releaseEvent);

// An entry held open by this process with no sharing, for the length of a run.
class Lock {
 public:
  explicit Lock(const std::u16string& path);
  Lock(Lock&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  Lock(const Lock&) = delete;
  ~Lock();
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

bool WriteFileBytes(const std::u16string& path, const std::string& content);
bool MakeDirectory(const std::u16string& path);
void RemoveTree(const std::u16string& path);

}  // namespace zefta::reliability

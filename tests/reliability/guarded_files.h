// A file system between the program and the world's own: counts the moves,
// refuses those that would leave an entry's folder or change its name other
// than in letter case (and reports them), and fails moves on request.
#pragma once

#include <string>
#include <vector>

#include "services/services.h"

namespace zefta::reliability {

// The entry's name without the suffix of a parked name (".~zefta0" to 9).
std::u16string_view WithoutParking(std::u16string_view name);

class GuardedFiles final : public FileSystem {
 public:
  explicit GuardedFiles(FileSystem& real) : real_(real) {}

  bool Move(std::u16string_view from, std::u16string_view to) override;
  std::optional<std::u16string> StoredName(std::u16string_view path) override { return real_.StoredName(path); }
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) override {
    return real_.Names(folderPath);
  }
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override {
    return real_.Enumerate(folderPath, attributes);
  }
  std::vector<std::u16string> Drives() override { return real_.Drives(); }
  bool DriveReady(std::u16string_view drive) override { return real_.DriveReady(drive); }
  bool DirectoryExists(std::u16string_view path) override { return real_.DirectoryExists(path); }
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override { return real_.Subdirectories(path); }
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override { return real_.CurrentDirectoryOf(drive); }

  // Moves from these paths (compared without regard to case) fail.
  std::vector<std::u16string> held;
  bool refuseNext = false;
  long long moves = 0;
  long long strayMoves = 0;

 private:
  FileSystem& real_;
};

}  // namespace zefta::reliability

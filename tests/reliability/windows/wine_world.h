// Trees on the real file system under Wine: awkward names (Japanese,
// half-width katakana, full-width Latin, paths near the ANSI limit,
// read-only entries), names that differ only in letter case made beforehand
// on the Linux side, the real KESTRUM listing and list file.
#pragma once

#include <windows.h>

#include <memory>

#include "guarded_files.h"
#include "platform/win32/services_win32.h"
#include "world.h"

namespace zefta::reliability {

class WineWorld final : public World {
 public:
  // base: the work folder; its trees t0, t1, ... may hold the Linux side's entries already.
  explicit WineWorld(std::u16string base);
  ~WineWorld() override;
  const char* Name() const override { return "under Wine"; }

  FileSystem& Files() override { return guarded_; }
  TreeLister& Lister() override { return lister_; }
  FileReader& Reader() override { return reader_; }
  CodePage& Code() override { return code_; }
  std::u16string TempDir() override { return base_ + u"\\temp"; }

  std::u16string NewTree(std::mt19937& rng) override;
  Snapshot Take(const std::u16string& root) override;
  std::vector<std::uint64_t> Remove(const std::u16string& path) override;
  bool Hold(const std::u16string& path) override;
  void RefuseNextMove() override { guarded_.refuseNext = true; }
  std::optional<std::uint64_t> MakeTwin(const std::u16string&) override { return std::nullopt; }
  void Release() override;
  long long Moves() const override { return guarded_.moves; }
  long long StrayMoves() const override { return guarded_.strayMoves; }

  // What the trees hold, for the figures.
  int readOnly = 0, nearPathLimit = 0, madeOnLinux = 0;

 private:
  std::u16string base_;
  int trees_ = 0;
  win32::Win32FileSystem files_;
  GuardedFiles guarded_{files_};
  win32::KestrumTreeLister lister_;
  win32::Win32FileReader reader_;
  win32::Win32CodePage code_;
  std::vector<HANDLE> held_;
};

}  // namespace zefta::reliability

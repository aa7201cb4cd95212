// Trees in memory, on the fake file system of either kind: like Windows, or
// like Wine on a Linux folder, where names that differ only in letter case
// stand side by side and can appear in the middle of a run.
#pragma once

#include <memory>

#include "fakes.h"
#include "guarded_files.h"
#include "world.h"

namespace zefta::reliability {

class FakeWorld final : public World {
 public:
  explicit FakeWorld(testing::FakeFileSystem::Kind kind);
  ~FakeWorld() override;
  const char* Name() const override;

  FileSystem& Files() override { return guarded_; }
  TreeLister& Lister() override { return *lister_; }
  FileReader& Reader() override { return reader_; }
  CodePage& Code() override { return code_; }
  std::u16string TempDir() override { return u"c:\\temp"; }

  std::u16string NewTree(std::mt19937& rng) override;
  Snapshot Take(const std::u16string& root) override;
  std::vector<std::uint64_t> Remove(const std::u16string& path) override;
  bool Hold(const std::u16string& path) override;
  void RefuseNextMove() override { guarded_.refuseNext = true; }
  std::optional<std::uint64_t> MakeTwin(const std::u16string& path) override;
  void Release() override;
  long long Moves() const override { return guarded_.moves; }
  long long StrayMoves() const override { return guarded_.strayMoves; }

 private:
  testing::FakeFileSystem::Kind kind_;
  testing::FakeFileSystem files_;
  GuardedFiles guarded_{files_};
  testing::FakeFileReader reader_;
  testing::FakeCodePage code_;
  std::unique_ptr<TreeLister> lister_;
  int serial_ = 0;
};

}  // namespace zefta::reliability

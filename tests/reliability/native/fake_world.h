// Trees in memory, on the fake file system of either kind: like Windows, or
// like Wine on a Linux folder, where names that differ only in letter case
// stand side by side and can appear in the middle of a run.
#pragma once

#include "fakes.h"
#include "guarded_files.h"
#include "world.h"

namespace zefta::reliability {

// The library's tree listing over the fake file system: pair lines of every
// file (and folder, in mode 4) in depth-first pre-order.
class FakeListing final : public TreeLister {
 public:
  FakeListing(testing::FakeFileSystem& files, testing::FakeFileReader& reader, CodePage& code)
      : files_(files), reader_(reader), code_(code) {}
  std::optional<std::int32_t> MakeDirFileList(std::int32_t mode, const std::string& directory,
                                              const std::string& listPath) override;

 private:
  void Walk(const std::u16string& folder, const std::string& bytes, int mode, std::string& out, int& files);
  testing::FakeFileSystem& files_;
  testing::FakeFileReader& reader_;
  CodePage& code_;
};

class FakeWorld final : public World {
 public:
  explicit FakeWorld(testing::FakeFileSystem::Kind kind) : kind_(kind), files_(kind) {}
  const char* Name() const override;

  FileSystem& Files() override { return guarded_; }
  TreeLister& Lister() override { return lister_; }
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
  void Walk(const std::u16string& folder, std::uint64_t folderId, Snapshot& out);
  testing::FakeFileSystem::Kind kind_;
  testing::FakeFileSystem files_;
  GuardedFiles guarded_{files_};
  testing::FakeFileReader reader_;
  testing::FakeCodePage code_;
  FakeListing lister_{files_, reader_, code_};
  int serial_ = 0;
};

}  // namespace zefta::reliability

// The trees the no-data-loss runs work on: made, looked at, and disturbed
// while a run yields. One world keeps them in memory (natively, many runs a
// second), one on the real file system under Wine.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "services/services.h"

namespace zefta::reliability {

struct EntryRecord {
  std::u16string path;  // as stored
  std::u16string name;
  std::uint64_t parent = 0;
  bool directory = false;
  std::string content;
};

// Every entry below a root, by identity (which a rename keeps).
using Snapshot = std::map<std::uint64_t, EntryRecord>;

class World {
 public:
  virtual ~World() = default;
  virtual const char* Name() const = 0;

  // What the program sees of the platform.
  virtual FileSystem& Files() = 0;
  virtual TreeLister& Lister() = 0;
  virtual FileReader& Reader() = 0;
  virtual CodePage& Code() = 0;
  virtual std::u16string TempDir() = 0;

  // A new tree of awkward names; its root, without a trailing "\".
  virtual std::u16string NewTree(std::mt19937& rng) = 0;
  virtual Snapshot Take(const std::u16string& root) = 0;

  // Faults while a run yields. Remove gives the identities it took away
  // (none when it could not); MakeTwin the identity of a new entry whose name
  // differs only in letter case from path's, where such names can exist.
  virtual std::vector<std::uint64_t> Remove(const std::u16string& path) = 0;
  virtual bool Hold(const std::u16string& path) = 0;  // its moves fail until Release
  virtual void RefuseNextMove() = 0;                  // as a drive that stops answering
  virtual std::optional<std::uint64_t> MakeTwin(const std::u16string& path) = 0;
  virtual void Release() = 0;

  // Moves asked of the file system, and those that left an entry's own
  // folder or changed its name other than in letter case or by parking it.
  virtual long long Moves() const = 0;
  virtual long long StrayMoves() const = 0;
};

}  // namespace zefta::reliability

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

// The entry's name without the suffixes of parked names (".~zefta0" to 9).
std::u16string_view WithoutParking(std::u16string_view name);

// The last part of path with every letter in the other case: "ReadMe.Txt" as "rEADmE.tXT".
std::u16string WithFlippedCase(const std::u16string& path);

// Between the program and the world's own file system: counts the moves of
// the entries it opens, refuses those that would leave an entry's folder or
// change its name other than in letter case (and counts them), and fails
// moves on request.
class GuardedFiles final : public FileSystem {
 public:
  explicit GuardedFiles(FileSystem& real) : real_(real) {}
  std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override;
  bool ClearPlaceholder(std::u16string_view path) override { return real_.ClearPlaceholder(path); }
  void FinishMoves() override { real_.FinishMoves(); }
  std::optional<std::u16string> StoredName(std::u16string_view path) override { return real_.StoredName(path); }
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folder) override { return real_.Names(folder); }
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folder, std::uint16_t attributes) override {
    return real_.Enumerate(folder, attributes);
  }
  std::vector<std::u16string> Drives() override { return real_.Drives(); }
  bool DriveReady(std::u16string_view drive) override { return real_.DriveReady(drive); }
  bool DirectoryExists(std::u16string_view path) override { return real_.DirectoryExists(path); }
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override { return real_.Subdirectories(path); }
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override { return real_.CurrentDirectoryOf(drive); }

  std::vector<std::u16string> held;  // moves from these paths fail
  bool refuseNext = false;           // as a drive that stops answering once
  long long moves = 0, strayMoves = 0;

 private:
  friend class GuardedEntry;
  // Whether the move may go on to the real file system.
  bool Allowed(std::u16string_view from, std::u16string_view to);
  FileSystem& real_;
};

struct EntryRecord {
  std::u16string path;  // as stored
  std::u16string name;
  std::uint64_t parent = 0;
  bool directory = false;
  std::string content;
};

// Every entry below a root, by identity (which a rename keeps). A link is
// not entered; its identity is made from its path, which no run may change.
using Snapshot = std::map<std::uint64_t, EntryRecord>;

class World {
 public:
  explicit World(FileSystem& real) : guarded(real) {}
  virtual ~World() = default;

  // What the program sees of the platform; its file system is the guarded one.
  GuardedFiles guarded;
  virtual TreeLister& Lister() = 0;

  // A new empty folder for a tree (under Wine, the Linux side may have put
  // entries there already); entries in it; what they are.
  virtual std::u16string NewRoot() = 0;
  virtual bool MakeDirectory(const std::u16string& path) = 0;
  virtual bool MakeFile(const std::u16string& path, const std::string& content, bool readOnly) = 0;
  virtual std::uint64_t Identity(const std::u16string& path) = 0;  // 0 where there is none
  virtual std::string Content(const std::u16string& path) = 0;
  // A link at path leading to target, where the world can make one; and a
  // folder outside every tree, holding a file and a folder that links may
  // lead to, which no run may touch ("" where there is none).
  virtual bool MakeLink(const std::u16string&, const std::u16string&) { return false; }
  virtual std::u16string Outside() { return {}; }
  // Every name in a folder as the world sees it: also what the program's
  // listings leave out, where the world can tell.
  virtual std::vector<std::u16string> EveryName(const std::u16string& folder) {
    return guarded.Names(folder + u"\\").value_or(std::vector<std::u16string>{});
  }
  // Whether the name, spelled exactly so, is a link.
  virtual bool IsLink(const std::u16string& path) = 0;

  // Faults while a run yields. Hold: the entry's moves fail until Release.
  // MakeTwin: a new entry whose name differs only in letter case from
  // path's, where such names can exist; its identity.
  virtual void Delete(const std::u16string& path) = 0;
  virtual void Hold(const std::u16string& path) = 0;
  virtual std::optional<std::uint64_t> MakeTwin(const std::u16string&) { return std::nullopt; }
  virtual void Release() {
    guarded.held.clear();
    guarded.refuseNext = false;
  }
};

Snapshot Take(World& world, const std::u16string& root);

// A tree of about `entries` awkward names in a new root: mixed case, dots in
// odd places, extensions of every length, Japanese with trail bytes that are
// "\", half-width katakana, full-width Latin, a letter outside the code page,
// read-only files, dotless names under dotted folders; case twins and links
// (to entries of the tree, outside it, and dangling) where the world can make
// them. Its root, without a trailing "\".
std::u16string NewTree(World& world, std::mt19937& rng, int entries);

}  // namespace zefta::reliability

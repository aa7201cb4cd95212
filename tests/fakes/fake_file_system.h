// An in-memory file system that behaves as Windows or as Wine on a Linux
// folder does, for the tests and the no-data-loss runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "forms/window_services.h"

namespace zefta::testing {

// An in-memory file system. Paths are looked up one part at a time, as Wine
// does: the exactly spelled child first, else one whose name differs in
// letter case only; a link on the way is followed. Every name is taken as
// stored: "NOTES." and "NOTES" are two names. Kind Windows keeps one spelling
// per name and changes it on a move that changes letter case only. Kind
// WineOnLinux lets names that differ only in letter case stand side by side,
// reports such a move as done while keeping the old spelling, and hides a
// dangling link from every listing and lookup. An opened entry moves as the
// real one does: onto no name that anything holds, a dangling link included,
// and a file through a placeholder at its new name (a cut between the two
// leaves it there); to a parked name plainly, onto no name a listing shows.
// Paths use "\"; drives are "c:" and so on.
class FakeFileSystem : public FileSystem {
 public:
  enum class Kind { Windows, WineOnLinux };
  struct Entry {
    bool directory = false, hidden = false, system = false;
    std::string content;
    std::uint64_t id = 0;  // given at creation, kept by every move
    std::u16string linkTo;  // the full path a link leads to; empty for other entries
    bool placeholder = false;  // made by a move to its name, which a cut left there
  };

  explicit FakeFileSystem(Kind kind = Kind::Windows);

  // Adds an entry (and its missing parent folders) under its full path. On
  // Windows an entry of the same name in another spelling takes the new one.
  void AddFile(const std::u16string& path, std::string content = {});
  void AddDirectory(const std::u16string& path);
  // A link at path that leads to target (which need not exist).
  void AddLink(const std::u16string& path, const std::u16string& target);
  // Removes the entry (a link itself, not what it leads to) with everything
  // below it; false when there is none.
  bool Remove(std::u16string_view path);
  // The entry path names (a link itself), or null.
  Entry* Find(std::u16string_view path);
  // The stored spelling of the entry that path names, or empty.
  std::u16string ActualPath(std::u16string_view path) const;
  // Every name in the folder, dangling links included; the listed ones sorted.
  std::vector<std::u16string> AllNames(std::u16string_view folderPath) const;
  std::vector<std::u16string> SortedNames(std::u16string_view folderPath);
  // Whether the entry stored under exactly this spelling is a link.
  bool IsLinkSpelled(std::u16string_view path) const;

  Kind kind;
  // Drives that behave like Wine on a Linux folder whatever the kind.
  std::set<std::u16string> linuxDrives;
  // Moves from these paths (compared without regard to case) fail.
  std::set<std::u16string> refusedMoves;
  std::set<std::u16string> unreadableDrives;
  std::set<std::u16string> unreadableFolders;
  // Every move asked for, as (from, to): the paths the mover gave.
  std::vector<std::pair<std::u16string, std::u16string>> moves;
  // Runs before each move takes effect, and again between a file's
  // placeholder and the move onto it.
  std::function<void()> onMove;
  std::vector<std::u16string> drives{u"c:", u"d:"};

  NameHolder Holder(std::u16string_view path);
  std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override;
  bool ClearPlaceholder(std::u16string_view path) override;
  std::optional<std::u16string> StoredName(std::u16string_view path) override;
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) override;
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;

 private:
  friend class FakeOpenedEntry;
  // How a move takes its new name: a file through a placeholder, or plainly
  // (to a parked name), which under Wine replaces a dangling link.
  enum class Way { ThroughPlaceholder, Plain };
  bool MoveEntry(std::uint64_t id, const std::u16string& from, std::u16string_view to, Way way);
  // The stored path of what path names, its last part not followed when it
  // is a link; nullopt when nothing does. With unlisted, a dangling link
  // counts as well.
  std::optional<std::u16string> Resolve(std::u16string_view path, bool unlisted = false) const;
  std::optional<std::u16string> ResolveAt(std::u16string_view path, bool unlisted, int depth, bool exact) const;
  // The stored path of the child of folder called name (see Resolve).
  std::optional<std::u16string> Child(const std::u16string& folder, std::u16string_view name, bool unlisted) const;
  // Where a stored entry leads: itself, or what its links lead to.
  std::optional<std::u16string> Followed(const std::u16string& stored, int depth = 0) const;
  bool Listed(const std::u16string& stored) const;
  std::vector<std::u16string> ChildNames(const std::u16string& folder) const;
  void Add(std::u16string_view path, Entry entry);
  Kind KindOf(const std::u16string& path) const {
    return linuxDrives.count(path.substr(0, 2)) ? Kind::WineOnLinux : kind;
  }

  // Keyed by the stored path without a trailing separator; roots are "c:".
  std::map<std::u16string, Entry> entries_;
  std::uint64_t lastId_ = 0;
};

}  // namespace zefta::testing

// The entries of a listed tree, as the walk met them: depth-first pre-order,
// each entry a folder and a name as stored. Every text is kept once, in
// blocks, and no path is formed until it is asked for: a million entries
// take a few tens of megabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zefta {

class ListedTree {
 public:
  using FolderIndex = std::uint32_t;

  // A folder of the tree, its full path without a trailing "\" (a drive's
  // root as "C:"); entries are added to it by its index.
  FolderIndex AddFolder(std::u16string_view path);
  void AddEntry(FolderIndex folder, std::u16string_view name);
  // A folder the walk could not read, and so whose entries are missing.
  void AddUnreadable(std::u16string_view folder);

  std::size_t Count() const { return entries_.size(); }
  // Without a trailing "\".
  std::u16string_view FolderOf(std::size_t entry) const { return folders_[entries_[entry].folder]; }
  std::u16string_view NameOf(std::size_t entry) const;
  // Folder, "\", name.
  std::u16string PathOf(std::size_t entry) const;

  std::int64_t UnreadableCount() const { return unreadable_; }
  const std::u16string& FirstUnreadable() const { return firstUnreadable_; }

 private:
  // Names lie in blocks of kBlock characters, none across two blocks; an
  // entry's position counts from the first block's start.
  static constexpr std::size_t kBlock = 1 << 16;
  struct Entry {
    FolderIndex folder;
    std::uint32_t position;
    std::uint16_t length;
  };

  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  std::size_t used_ = kBlock;  // in the last block
  std::vector<std::u16string> folders_;
  std::vector<Entry> entries_;
  std::int64_t unreadable_ = 0;
  std::u16string firstUnreadable_;
};

}  // namespace zefta

#include "services/listed_tree.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zefta {

ListedTree::FolderIndex ListedTree::AddFolder(std::u16string_view path) {
  // More than the numbers hold is more than memory holds: told as such.
  if (folders_.size() >= std::numeric_limits<FolderIndex>::max()) throw std::bad_alloc();
  folders_.emplace_back(path);
  return static_cast<FolderIndex>(folders_.size() - 1);
}

void ListedTree::AddEntry(FolderIndex folder, std::u16string_view name) {
  // No file system holds a longer name; one that did would not fit a block.
  if (name.size() > std::numeric_limits<std::uint16_t>::max()) throw std::bad_alloc();
  if (kBlock - used_ < name.size()) {
    if (blocks_.size() >= std::numeric_limits<std::uint32_t>::max() / kBlock) throw std::bad_alloc();
    blocks_.push_back(std::make_unique<char16_t[]>(kBlock));
    used_ = 0;
  }
  std::copy(name.begin(), name.end(), blocks_.back().get() + used_);
  entries_.push_back({folder, static_cast<std::uint32_t>((blocks_.size() - 1) * kBlock + used_),
                      static_cast<std::uint16_t>(name.size())});
  used_ += name.size();
}

void ListedTree::AddUnreadable(std::u16string_view folder) {
  if (unreadable_++ == 0) firstUnreadable_ = folder;
}

std::u16string_view ListedTree::NameOf(std::size_t entry) const {
  const Entry& e = entries_[entry];
  return {blocks_[e.position / kBlock].get() + e.position % kBlock, e.length};
}

std::u16string ListedTree::PathOf(std::size_t entry) const {
  const std::u16string_view folder = FolderOf(entry), name = NameOf(entry);
  std::u16string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append(1, u'\\').append(name);
  return path;
}

}  // namespace zefta

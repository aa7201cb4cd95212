// The walk of a directory tree that the library's list and ZEFTA's whole-tree
// listing share: the wide find functions, depth-first pre-order (a folder's
// whole subtree where the folder is met), "." and ".." left out, folder
// links (reparse points) met but never entered, so that a cycle cannot trap
// the walk and nothing outside the tree is met. The walk keeps its own stack,
// so no depth of folders can exhaust the thread's.
#ifndef KESTRUM_TREE_WALK_H
#define KESTRUM_TREE_WALK_H

#include <windows.h>

#include <string_view>

namespace kestrum {

// What the walk meets, in the order it meets it.
class TreeVisitor {
 public:
  enum class Next { Go, Skip, Stop };
  virtual ~TreeVisitor() = default;
  // An entry of the folder at `folder` (the top as given, then "\" and the
  // names on the way). For a folder that is no link, Go walks it at once:
  // its entries come between EnterFolder and LeaveFolder, before the next
  // entry here. Skip passes over it; Stop ends the walk.
  virtual Next Entry(std::wstring_view folder, const WIN32_FIND_DATAW& entry) = 0;
  virtual void EnterFolder(std::wstring_view path) { (void)path; }
  virtual void LeaveFolder() {}
  // A folder whose entries could not be read (access refused, held open,
  // gone meanwhile): none of them is met. error is the system's.
  virtual void Unreadable(std::wstring_view path, DWORD error) {
    (void)path;
    (void)error;
  }
};

// How far a walk reaches.
enum class PathReach {
  // Paths as the classic file functions take them: an entry whose path
  // would be MAX_PATH characters or longer is not met, nor is a folder
  // entered whose search pattern would not fit.
  Classic,
  // Any length: the file functions get the \\?\ form (\\?\UNC\ for a network
  // path), which also keeps a trailing dot or space and device names as
  // they are stored.
  AnyLength,
};

// Walks the tree below top (a path without a trailing separator; a drive's
// root as "C:"). top itself is not met as an entry; an unreadable top is
// reported as such. False when the visitor stopped the walk.
bool WalkTree(std::wstring_view top, PathReach reach, TreeVisitor& visitor);

}  // namespace kestrum

#endif

// Seeded trees of awkward names on the real file system.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace zefta::reliability {

struct GeneratedTree {
  std::u16string root;                 // no trailing "\"
  std::vector<std::u16string> files;   // every file made here, full paths
  std::vector<std::u16string> folders; // every folder made here
  int readOnly = 0;
  int nearPathLimit = 0;  // entries whose full path is 240 to 259 characters
  int entries = 0;        // made here (the Linux side may have added more)
};

struct TreeShape {
  int entries = 40;  // about this many entries, the long-path chain included
};

// Adds a tree below root (which may already hold entries that only the Linux
// side can make). Every file gets content no other file has.
GeneratedTree GenerateTree(const std::u16string& root, std::uint32_t seed, int treeIndex, TreeShape shape);

}  // namespace zefta::reliability

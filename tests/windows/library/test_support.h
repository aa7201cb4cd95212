// Scratch directories and byte-exact file access for the library tests.
#ifndef KESTRUM_TEST_SUPPORT_H
#define KESTRUM_TEST_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

namespace kestrum_test {

// A fresh directory under the temporary directory, removed with its contents.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  // Creates the entries below path(); a name ending in '\\' is a directory.
  void Make(const std::vector<std::string>& entries) const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
void RemoveTree(const std::string& path);

// True when `actual` is the concatenation of `blocks` in some order (the file
// system's enumeration order is not fixed).
bool IsSomeOrderOf(const std::string& actual, std::vector<std::string> blocks);

}  // namespace kestrum_test

#endif

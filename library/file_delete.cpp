// Deleting the files that match a wildcard pattern.
#include <string>

#include "kestrum.h"
#include "kestrum_internal.h"

namespace {

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

int DeleteMatching(const char* pattern) {
  // The last separator is searched character by character, so that the trail
  // byte 0x5C of a double-byte character (as in "表") does not count.
  const std::size_t directoryLength = kestrum::DirectoryPartLength(pattern, IsLeadByte);
  if (directoryLength == 0) return 0;
  std::string path(pattern, directoryLength);
  path.reserve(kestrum::kMaxAnsiPath);
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    path.resize(directoryLength);
    path += entry.cFileName;
    // A path the ANSI functions cannot take is passed over like a locked file.
    if (path.size() < kestrum::kMaxAnsiPath) DeleteFileA(path.c_str());
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return 1;
}

}  // namespace

extern "C" int __cdecl FileDelete_(const char* pattern) {
  try {
    return DeleteMatching(pattern);
  } catch (...) {  // out of memory: nothing escapes to the caller
    return 0;
  }
}

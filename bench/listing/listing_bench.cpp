// Lists trees in mode 4 with MakeDirFileListB_ and with a minimal
// FindFirstFileA walk that writes the same bytes, and prints both times.
//   listing_bench <small tree> <large tree> <list directory>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "kestrum.h"

namespace {

// The baseline: fixed MAX_PATH buffers, one WriteFile per line, nothing else.
int BaselineWalk(HANDLE file, const char* dir) {
  char pattern[MAX_PATH];
  std::snprintf(pattern, sizeof pattern, "%s\\*.*", dir);
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int files = 0;
  char line[2 * MAX_PATH + 16];
  DWORD written;
  do {
    const bool directory = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (directory && (!std::strcmp(entry.cFileName, ".") || !std::strcmp(entry.cFileName, ".."))) continue;
    const int length = std::snprintf(line, sizeof line, "\"%s\", \"%s\"\r\n", dir, entry.cFileName);
    WriteFile(file, line, length, &written, nullptr);
    if (!directory) {
      ++files;
      continue;
    }
    char sub[MAX_PATH];
    std::snprintf(sub, sizeof sub, "%s\\%s", dir, entry.cFileName);
    files += BaselineWalk(file, sub);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return files;
}

int Baseline(const char* dir, const char* listPath) {
  DeleteFileA(listPath);
  HANDLE file = CreateFileA(listPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  const int files = BaselineWalk(file, dir);
  CloseHandle(file);
  return files;
}

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  char buffer[65536];
  DWORD read;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

struct Result {
  double library, baseline;
  long entries;
  bool same;
};

// Best of several alternating runs, after one warm-up of each.
Result Measure(const std::string& tree, const std::string& lists, int rounds) {
  const std::string libraryList = lists + "\\library.tmp", baselineList = lists + "\\baseline.tmp";
  MakeDirFileListB_(4, tree.c_str(), libraryList.c_str());
  Baseline(tree.c_str(), baselineList.c_str());
  Result result{1e9, 1e9, 0, false};
  for (int i = 0; i < rounds; ++i) {
    double start = Seconds();
    MakeDirFileListB_(4, tree.c_str(), libraryList.c_str());
    result.library = std::min(result.library, Seconds() - start);
    start = Seconds();
    Baseline(tree.c_str(), baselineList.c_str());
    result.baseline = std::min(result.baseline, Seconds() - start);
  }
  const std::string bytes = ReadAll(libraryList);
  result.same = bytes == ReadAll(baselineList);
  result.entries = static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n'));
  return result;
}

void Print(const char* label, const Result& r) {
  std::printf("%-6s %6ld entries  MakeDirFileListB_ %8.1f ms  baseline %8.1f ms  ratio %.3f  "
              "%.2f us/entry  same bytes: %s\n",
              label, r.entries, r.library * 1e3, r.baseline * 1e3, r.library / r.baseline,
              r.library * 1e6 / r.entries, r.same ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: listing_bench <small tree> <large tree> <list directory>\n");
    return 2;
  }
  const Result small = Measure(argv[1], argv[3], 7);
  const Result large = Measure(argv[2], argv[3], 5);
  Print("small", small);
  Print("large", large);
  const double growth = (large.library / large.entries) / (small.library / small.entries);
  std::printf("ratio at %ld entries: %.3f (target <= 1.10); time per entry %ld vs %ld: %.2fx (target <= 1.3)\n",
              large.entries, large.library / large.baseline, large.entries, small.entries, growth);
  return small.same && large.same ? 0 : 1;
}

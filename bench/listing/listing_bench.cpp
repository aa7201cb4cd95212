// Lists trees in mode 4 with MakeDirFileListB_ and with a minimal
// FindFirstFileA walk that writes the same bytes; and with the program's
// whole-tree listing (off the calling thread, into memory) beside a minimal
// FindFirstFileW walk. Prints the times of each pair.
//   listing_bench <list directory> <tree>...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kestrum.h"
#include "platform/win32/services/services_win32.h"

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

// The baseline of the program's listing: every entry met, nothing kept.
long BareWideWalk(const std::wstring& dir) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long entries = 0;
  do {
    const bool directory = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (directory && (!std::wcscmp(entry.cFileName, L".") || !std::wcscmp(entry.cFileName, L".."))) continue;
    ++entries;
    if (directory) entries += BareWideWalk(dir + L"\\" + entry.cFileName);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return entries;
}

// The program's listing as the window waits for it, asking now and then.
long ProgramListing(zefta::TreeLister& lister, const std::wstring& dir) {
  const auto listing = lister.Start(std::u16string(dir.begin(), dir.end()), true);
  while (!listing->Finished()) Sleep(1);
  return static_cast<long>(listing->Take().Count());
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

// Best of alternating runs, after one warm-up of each.
Result MeasureProgram(const std::string& tree, int rounds) {
  const std::wstring dir(tree.begin(), tree.end());  // the work folders are ASCII
  zefta::win32::ThreadTreeLister lister;
  ProgramListing(lister, dir);
  Result result{1e9, 1e9, BareWideWalk(dir), false};
  for (int i = 0; i < rounds; ++i) {
    double start = Seconds();
    const long listed = ProgramListing(lister, dir);
    result.library = std::min(result.library, Seconds() - start);
    start = Seconds();
    result.same = BareWideWalk(dir) == listed;
    result.baseline = std::min(result.baseline, Seconds() - start);
  }
  return result;
}

void Print(const char* label, const Result& r) {
  std::printf("%-7s %6ld entries  MakeDirFileListB_ %8.1f ms  baseline %8.1f ms  ratio %.3f  "
              "%.2f us/entry  same bytes: %s\n",
              label, r.entries, r.library * 1e3, r.baseline * 1e3, r.library / r.baseline,
              r.library * 1e6 / r.entries, r.same ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: listing_bench <list directory> <tree>...\n");
    return 2;
  }
  bool same = true;
  std::vector<std::pair<Result, Result>> results;
  for (int i = 2; i < argc; ++i) {
    // Fewer rounds as the trees grow: the largest are walked a million entries at a time.
    const Result probe = MeasureProgram(argv[i], 1);
    const int rounds = probe.entries > 200000 ? 1 : probe.entries > 10000 ? 5 : 7;
    results.emplace_back(Measure(argv[i], argv[1], rounds), rounds > 1 ? MeasureProgram(argv[i], rounds) : probe);
  }
  for (std::size_t i = 0; i < results.size(); ++i) {
    const auto& [library, program] = results[i];
    Print("library", library);
    std::printf("%-7s %6ld entries  program's listing %8.1f ms  bare wide walk %8.1f ms  ratio %.3f (target <= 1.10)"
                "  same count: %s\n",
                "program", program.entries, program.library * 1e3, program.baseline * 1e3,
                program.library / program.baseline, program.same ? "yes" : "NO");
    same = same && library.same && program.same;
  }
  const Result& small = results.front().first;
  const Result& large = results.back().first;
  const double growth = (large.library / large.entries) / (small.library / small.entries);
  std::printf("library: ratio at %ld entries: %.3f (target <= 1.10); time per entry %ld vs %ld: %.2fx (target <= 1.3)\n",
              large.entries, large.library / large.baseline, large.entries, small.entries, growth);
  return same ? 0 : 1;
}

// KESTRUM.DLL's exports on the system under Wine, code page 932: one test per
// family that calls the system. The arithmetic and text handling behind them
// are the native tests' (tests/native/kestrum_pure_test.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kestrum.h"
#include "kestrum_pure.h"

namespace {

// A fresh directory under the temporary directory with the entries given (a
// name ending in '\\' is a directory), removed with its contents.
struct Scratch {
  explicit Scratch(const std::vector<std::string>& entries) {
    CreateDirectoryA(path.c_str(), nullptr);
    for (const std::string& entry : entries) {
      if (entry.back() == '\\') CreateDirectoryA((path + "\\" + entry).c_str(), nullptr);
      else std::ofstream(path + "\\" + entry) << "x";
    }
  }
  ~Scratch() { std::filesystem::remove_all(path); }
  bool Has(const std::string& entry) const { return GetFileAttributesA((path + "\\" + entry).c_str()) != INVALID_FILE_ATTRIBUTES; }
  const std::string path = std::string(std::getenv("TEMP")) + "\\kestrum-" + std::to_string(GetCurrentProcessId());
};

std::string Pair(const std::string& dir, const std::string& name) { return "\"" + dir + "\", \"" + name + "\"\r\n"; }

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The native tests and the fuzzers take Shift-JIS lead bytes from a table of
// their own; it must agree with the system's.
TEST(KestrumLeadBytes, TheStandInAgreesWithCodePage932) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(kestrum::IsShiftJisLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByteEx(932, static_cast<BYTE>(c)) != FALSE) << c;
}

TEST(KestrumDirList, ListsTheTreeDepthFirstInShiftJisWithoutEnteringDirectoryLinks) {
  ASSERT_EQ(GetACP(), 932u);
  const std::string hyo = "\x95\x5C";  // 表: its trail byte is a backslash
  Scratch scratch({"T\\", "T\\A.TXT", "T\\" + hyo + "\\", "T\\" + hyo + "\\\x83\x5C.txt", "ZEFTA.TMP"});
  const std::string t = scratch.path + "\\T", list = scratch.path + "\\ZEFTA.TMP";
  const std::string subtree = Pair(t, hyo) + Pair(t + "\\" + hyo, "\x83\x5C.txt");
  EXPECT_EQ(MakeDirFileListB_(4, t.c_str(), list.c_str()), 2);
  EXPECT_TRUE(Bytes(list) == Pair(t, "A.TXT") + subtree || Bytes(list) == subtree + Pair(t, "A.TXT")) << Bytes(list);
  EXPECT_EQ(MakeDirFileList_(4, (t + "\\none").c_str(), list.c_str()), 0);
  EXPECT_EQ(Bytes(list), "") << "a missing directory leaves an empty list";

  // links (see run_library_tests.sh): f.txt, real\inner.txt, link -> real, loop -> links.
  const char* prepared = std::getenv("KESTRUM_PREPARED_DIR");
  ASSERT_TRUE(prepared) << "run through run_library_tests.sh";
  const std::string links = std::string(prepared) + "\\links";
  EXPECT_EQ(MakeDirFileList_(4, links.c_str(), list.c_str()), 2);
  std::size_t length = 0;
  for (const std::string& line : {Pair(links, "f.txt"), Pair(links, "link"), Pair(links, "loop"), Pair(links, "real"),
                                  Pair(links + "\\real", "inner.txt")}) {
    EXPECT_NE(Bytes(list).find(line), std::string::npos) << line;
    length += line.size();
  }
  EXPECT_EQ(Bytes(list).size(), length) << "nothing else, nothing twice";
}

TEST(KestrumSharedMemory, RecordsWrittenUnderOneHandleAreReadUnderAnotherUntilTheLastCloses) {
  const std::string name = "kestrum-test-" + std::to_string(GetCurrentProcessId());
  HANDLE first = nullptr, second = nullptr;
  void *firstView = nullptr, *secondView = nullptr;
  ASSERT_EQ(MappingCreate_(name.c_str(), 64, &first, &firstView), 1);
  ASSERT_EQ(MappingOpenB_(name.c_str(), &second, &secondView), 1);
  const char record[16] = "record three";
  char copy[16] = {};
  EXPECT_EQ(MappingWrite_(firstView, record, 3, 16), 1);
  EXPECT_STREQ(static_cast<char*>(secondView) + 32, record) << "record 3 of 16 bytes starts at byte 32";
  EXPECT_EQ(MappingReadB_(secondView, copy, 3, 16), 1);
  EXPECT_STREQ(copy, record);
  EXPECT_EQ(MappingClose_(&second, &secondView), 1);
  EXPECT_TRUE(second == nullptr && secondView == nullptr);
  EXPECT_EQ(MappingClose_(&first, &firstView), 1);
  EXPECT_EQ(MappingOpen_(name.c_str(), &second, &secondView), 0) << "gone with its last handle";
}

TEST(KestrumSystem, DrivesAndProcesses) {
  char plain[64] = {}, twin[64] = {}, *address = twin;
  int total = 0, free = 0;
  EXPECT_EQ(DriveType_("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(DriveFileSystem_("C:\\", plain) + DriveFileSystemB_("C:\\", &address), 2);
  EXPECT_STRNE(plain, "");
  EXPECT_STREQ(twin, plain) << "the twin writes where its variable points";
  EXPECT_EQ(DriveTotalSpace_("C:\\", &total) + DriveFreeSpaceB_("C:\\", &free), 2);
  EXPECT_TRUE(total > 0 && total % 1024 == 0 && free % 1024 == 0 && free <= total) << total << " " << free;
  EXPECT_EQ(DriveVolumeName_("Q:\\", plain), 1);
  EXPECT_STREQ(plain, "") << "a drive that is not there has no name";

  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  const HANDLE process = CreateProc_((std::string(system) + "\\hostname.exe").c_str(), SW_HIDE, 0);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  CloseHandle(process);
  EXPECT_EQ(CreateProcB_((std::string(system) + "\\hostname").c_str(), SW_HIDE, 2), nullptr) << "no default extension";

}

TEST(KestrumFileDelete, APatternDeletesTheMatchingFilesOfItsOwnDirectoryOnly) {
  ASSERT_EQ(GetACP(), 932u);
  const std::string hyo = "\x95\x5C";  // 表: a byte-wise search would end the directory part inside it
  Scratch scratch({hyo + "a.tmp", hyo + "b.tmp", "c.tmp", hyo + "d.tmp\\", hyo + "\\", hyo + "\\e.tmp"});
  EXPECT_EQ(FileDelete_((scratch.path + "\\" + hyo + "*.tmp").c_str()), 1);
  EXPECT_FALSE(scratch.Has(hyo + "a.tmp") || scratch.Has(hyo + "b.tmp"));
  EXPECT_TRUE(scratch.Has("c.tmp") && scratch.Has(hyo + "d.tmp") && scratch.Has(hyo + "\\e.tmp"));
  EXPECT_EQ(FileDelete_((scratch.path + "\\*.none").c_str()), 0);
  EXPECT_EQ(FileDelete_("c.tmp"), 0) << "a pattern without a directory deletes nothing";
}

}  // namespace

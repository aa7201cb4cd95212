// KESTRUM.DLL's exports on the system under Wine, code page 932: one test per
// family that calls the system. The arithmetic and text handling behind them
// are the native tests' (tests/native/kestrum_pure_test.cpp); the calling
// conventions are checked when the DLL links against kestrum.def.
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

std::string Pair(const std::string& dir, const std::string& name) { return "\"" + dir + "\", \"" + name + "\"\r\n"; }

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The native tests and the fuzzers take Shift-JIS lead bytes from a table of
// their own; it must agree with the system's.
TEST(KestrumLeadBytes, TheStandInAgreesWithCodePage932) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(kestrum::IsShiftJisLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByteEx(932, BYTE(c)) != FALSE) << c;
}

// The tree of run_library_tests.sh: f.txt, real\inner.txt, link -> real, loop -> links.
TEST(KestrumDirList, ListsTheTreeDepthFirstWithoutEnteringDirectoryLinks) {
  const char* prepared = std::getenv("KESTRUM_PREPARED_DIR");
  ASSERT_TRUE(prepared) << "run through run_library_tests.sh";
  const std::string links = std::string(prepared) + "\\links", list = std::string(prepared) + "\\ZEFTA.TMP";
  EXPECT_EQ(MakeDirFileList_(4, links.c_str(), list.c_str()), 2);
  std::size_t length = 0;
  // A folder's entries come right after its own line.
  for (const std::string& lines : {Pair(links, "f.txt"), Pair(links, "link"), Pair(links, "loop"),
                                   Pair(links, "real") + Pair(links + "\\real", "inner.txt")}) {
    EXPECT_NE(Bytes(list).find(lines), std::string::npos) << lines;
    length += lines.size();
  }
  EXPECT_EQ(Bytes(list).size(), length) << "nothing else, nothing twice";
  EXPECT_EQ(MakeDirFileList_(4, (links + "\\none").c_str(), list.c_str()), 0);
  EXPECT_EQ(Bytes(list), "") << "a missing directory leaves an empty list";
}

std::filesystem::path Utf8Path(const std::string& text) { return std::u8string(text.begin(), text.end()); }

// Names outside code page 932 beside the look-alikes of their best fit ("é" to "e", "¥" to "\"). UTF-8 lines
// name every entry as stored; the ANSI modes only what the code page holds exactly, and count every file.
TEST(KestrumDirList, WritesEveryNameExactlyOrNotAtAll) {
  const std::string top = std::string(std::getenv("TEMP")) + "\\kestrum-names", list = top + ".tmp";
  std::filesystem::remove_all(Utf8Path(top));
  for (const char* folder : {"", "\\a", "\\Café.Dir", "\\Cafe.Dir"}) std::filesystem::create_directory(Utf8Path(top + folder));
  for (const char* file : {"Café.TXT", "Cafe.TXT", "한글.TXT", "😀.TXT", "a¥b.TXT", "a\\b.TXT", "表ソ.TXT", "Café.Dir\\in.TXT", "Cafe.Dir\\out.TXT"})
    std::ofstream(Utf8Path(top + "\\" + file)) << "x";
  const auto chunk = [&](const std::string& folder, const std::string& child) {
    return Pair(top, folder) + Pair(top + "\\" + folder, child);  // a folder's entries right after it
  };
  const struct {
    int mode;
    std::string dir;
    std::vector<std::string> chunks;
  } cases[] = {
      {KESTRUM_LIST_UTF8 | 4, top,
       {Pair(top, "Café.TXT"), Pair(top, "Cafe.TXT"), Pair(top, "한글.TXT"), Pair(top, "😀.TXT"), Pair(top, "a¥b.TXT"),
        Pair(top, "表ソ.TXT"), chunk("a", "b.TXT"), chunk("Café.Dir", "in.TXT"), chunk("Cafe.Dir", "out.TXT")}},
      {4, top, {Pair(top, "Cafe.TXT"), Pair(top, "\x95\x5C\x83\x5C.TXT"), chunk("a", "b.TXT"), chunk("Cafe.Dir", "out.TXT")}},
      {KESTRUM_LIST_UTF8 | 1, top + "\\Café.Dir", {"\"" + top + "\\Café.Dir\\in.TXT\"\r\n"}},
      {KESTRUM_LIST_UTF8, top, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakeDirFileList_(c.mode, c.dir.c_str(), list.c_str()), c.mode == (KESTRUM_LIST_UTF8 | 1) ? 1 : 9) << c.mode;
    std::size_t length = 0;
    for (const std::string& lines : c.chunks) {
      EXPECT_NE(Bytes(list).find(lines), std::string::npos) << c.mode << ": " << lines;
      length += lines.size();
    }
    EXPECT_EQ(Bytes(list).size(), length) << c.mode << ": nothing else, nothing twice";
  }
  std::filesystem::remove_all(Utf8Path(top));
}

// The one export that deletes: matching files of that folder only, in a
// folder whose name ends in the byte of a backslash.
TEST(KestrumFileDelete, DeletesTheMatchingFilesOfThatFolderOnly) {
  ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8";
  const std::string base = std::string(std::getenv("TEMP")) + "\\kestrum-delete", dir = base + "\\\x95\x5C";
  std::filesystem::remove_all(base);
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA((dir + "\\sub.tmp").c_str(), nullptr);
  for (const char* name : {"\\a.tmp", "\\b.TMP", "\\keep.txt", "\\sub.tmp\\c.tmp"}) std::ofstream(dir + name) << "x";
  EXPECT_EQ(FileDelete_("*.tmp"), 0) << "no folder part";
  EXPECT_EQ(FileDelete_((dir + "\\*.tmp").c_str()), 1);
  for (const char* name : {"\\a.tmp", "\\b.TMP", "\\keep.txt", "\\sub.tmp", "\\sub.tmp\\c.tmp"})
    EXPECT_EQ(GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES, name[1] != 'a' && name[1] != 'b') << name;
  EXPECT_EQ(FileDelete_((dir + "\\none*.x").c_str()), 0);
  std::filesystem::remove_all(base);
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
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(secondView, nullptr);
  EXPECT_EQ(MappingClose_(&first, &firstView), 1);
  EXPECT_EQ(MappingOpen_(name.c_str(), &second, &secondView), 0) << "gone with its last handle";
}

TEST(KestrumSystem, DriveFiguresAndNamesComeFromTheSystemAndTheTwinsWriteThroughTheirVariables) {
  char plain[64] = {}, twin[64] = {}, *address = twin;
  int total = 0, free = 0;
  EXPECT_EQ(DriveType_("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(DriveFileSystem_("C:\\", plain), 1);
  EXPECT_EQ(DriveFileSystemB_("C:\\", &address), 1);
  EXPECT_STRNE(plain, "");
  EXPECT_STREQ(twin, plain) << "the twin writes where its variable points";
  EXPECT_EQ(DriveTotalSpace_("C:\\", &total), 1);
  EXPECT_EQ(DriveFreeSpaceB_("C:\\", &free), 1);
  EXPECT_GT(total, 0);
  EXPECT_EQ(total % 1024, 0) << total;
  EXPECT_EQ(free % 1024, 0) << free;
  EXPECT_LE(free, total);
  EXPECT_EQ(DriveVolumeName_("Q:\\", plain), 1);
  EXPECT_STREQ(plain, "") << "a drive that is not there has no name";
}

}  // namespace

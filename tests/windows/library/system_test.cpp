// Drive information, process launch, fonts and wildcard deletion on the real system.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestrum.h"
#include "test_support.h"

namespace {

using kestrum_test::Exists;
using kestrum_test::ScratchDir;

std::string UnusedDriveRoot() {
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Q'; letter <= 'Y'; ++letter) {
    if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":\\";
  }
  return "";
}

TEST(KestrumDrive, NamesAreEmptyWhenTheSystemGivesNone) {
  const std::string missing = UnusedDriveRoot();
  ASSERT_FALSE(missing.empty());
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(DriveVolumeName_(missing.c_str(), buffer), 1);
  EXPECT_STREQ(buffer, "");
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(DriveFileSystem_(missing.c_str(), buffer), 1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(DriveType_(missing.c_str()), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  int bytes = 77;
  EXPECT_EQ(DriveTotalSpace_(missing.c_str(), &bytes), 1);
  EXPECT_EQ(bytes, 0);
}

TEST(KestrumDrive, TwinsWriteIntoTheBufferTheVariablePointsTo) {
  char plain[16], twin[16] = "twin-untouched";
  char guard[16];
  std::memset(guard, 'g', sizeof guard);
  char* address = twin;
  EXPECT_EQ(DriveFileSystem_("C:\\", plain), 1);
  EXPECT_EQ(DriveFileSystemB_("C:\\", &address), 1);
  EXPECT_EQ(address, twin);
  EXPECT_STREQ(twin, plain);
  EXPECT_GT(std::strlen(plain), 0u);
  EXPECT_EQ(DriveVolumeName_("C:\\", plain), 1);
  EXPECT_EQ(DriveVolumeNameB_("C:\\", &address), 1);
  EXPECT_STREQ(twin, plain);
  EXPECT_EQ(guard[0], 'g');
  EXPECT_EQ(DriveTypeB_("C:\\"), static_cast<UINT>(DRIVE_FIXED));
}

TEST(KestrumDrive, SizesAreWholeKilobytesAndAnInvalidNameMeansTheCurrentDrive) {
  int total = 0, free = 0;
  EXPECT_EQ(DriveTotalSpace_("C:\\", &total), 1);
  EXPECT_EQ(DriveFreeSpaceB_("C:\\", &free), 1);
  EXPECT_GT(total, 0);
  EXPECT_EQ(total % 1024, 0);
  EXPECT_EQ(free % 1024, 0);
  EXPECT_LE(free, total);

  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  const std::string currentRoot = std::string(current, 3);
  int expected = 0, invalid = 0;
  DriveTotalSpace_(currentRoot.c_str(), &expected);
  SetLastError(0);
  DWORD a, b, c, d;
  if (GetDiskFreeSpaceA("C:\\<>|\\", &a, &b, &c, &d) || GetLastError() != ERROR_INVALID_NAME) {
    GTEST_SKIP() << "this system does not reject the name with error 123";
  }
  EXPECT_EQ(DriveTotalSpaceB_("C:\\<>|\\", &invalid), 1);
  EXPECT_EQ(invalid, expected);
}

std::string SystemProgram(const char* name) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  return std::string(system) + "\\" + name;
}

TEST(KestrumProcess, StartsAProgramByItsFullNameOnly) {
  const std::string hostname = SystemProgram("hostname.exe");
  ASSERT_TRUE(Exists(hostname));
  const HANDLE process = CreateProc_(hostname.c_str(), SW_HIDE, 0);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  EXPECT_NE(MutexClose_(process), 0);

  // No default extension: the name without ".exe" does not start it.
  EXPECT_EQ(CreateProcB_(SystemProgram("hostname").c_str(), SW_HIDE, 2), nullptr);
  EXPECT_EQ(CreateProc_(SystemProgram("kestrum-none.exe").c_str(), SW_HIDE, 1), nullptr);
}

TEST(KestrumFont, FaceCodesGiveTheirFaces) {
  struct Case {
    int code;
    const char* face;
  };
  const Case cases[] = {
      {0, "System"},
      {1, "Terminal"},
      {16, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9"},                  // ＭＳ 明朝
      {17, "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"},  // ＭＳ ゴシック
      {2, "System"},
      {-1, "System"},
  };
  for (const Case& c : cases) {
    HFONT variable = reinterpret_cast<HFONT>(0x1234);
    const HFONT font = FontInitial_(c.code, -12, &variable);
    ASSERT_NE(font, nullptr) << c.code;
    EXPECT_EQ(variable, font);
    LOGFONTA description = {};
    ASSERT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_STREQ(description.lfFaceName, c.face) << "face code " << c.code;
    EXPECT_EQ(description.lfHeight, -12);
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(description.lfWeight, FW_DONTCARE);
    DeleteObject(font);
  }
}

TEST(KestrumFileDelete, PatternDeletesMatchingFilesOfThatDirectoryOnly) {
  ScratchDir dir;
  dir.Make({"a.tmp", "b.tmp", "c.txt", "sub\\", "sub\\d.tmp", "e.tmp\\"});
  const std::string base = dir.path() + "\\";
  EXPECT_EQ(FileDelete_((base + "*.tmp").c_str()), 1);
  EXPECT_FALSE(Exists(base + "a.tmp"));
  EXPECT_FALSE(Exists(base + "b.tmp"));
  EXPECT_TRUE(Exists(base + "c.txt"));
  EXPECT_TRUE(Exists(base + "sub\\d.tmp"));
  EXPECT_TRUE(Exists(base + "e.tmp"));  // a directory, passed over
  // Only the directory matches now: still 1, nothing deleted.
  EXPECT_EQ(FileDelete_((base + "*.tmp").c_str()), 1);
  EXPECT_EQ(FileDelete_((base + "*.none").c_str()), 0);
  EXPECT_EQ(FileDelete_((base + "missing\\*.tmp").c_str()), 0);
  // Without wildcards: that one file.
  EXPECT_EQ(FileDelete_((base + "c.txt").c_str()), 1);
  EXPECT_FALSE(Exists(base + "c.txt"));
}

TEST(KestrumFileDelete, PatternWithoutBackslashDeletesNothing) {
  ScratchDir dir;
  dir.Make({"x.tmp"});
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(dir.path().c_str());
  EXPECT_EQ(FileDelete_("*.tmp"), 0);
  EXPECT_EQ(FileDelete_("x.tmp"), 0);
  SetCurrentDirectoryA(previous);
  EXPECT_TRUE(Exists(dir.path() + "\\x.tmp"));
}

// "表" is 0x95 0x5C: a byte-wise search would take its trail byte for the last
// separator and aim the deletions at a directory that does not exist.
TEST(KestrumFileDelete, DoubleByteNameInThePatternKeepsItsDirectory) {
  ASSERT_EQ(GetACP(), 932u);
  ScratchDir dir;
  const std::string hyo = "\x95\x5C";
  dir.Make({hyo + "a.tmp", hyo + "b.tmp", "c.tmp", hyo + "\\", hyo + "\\d.tmp"});
  const std::string base = dir.path() + "\\";
  EXPECT_EQ(FileDelete_((base + hyo + "*.tmp").c_str()), 1);
  EXPECT_FALSE(Exists(base + hyo + "a.tmp"));
  EXPECT_FALSE(Exists(base + hyo + "b.tmp"));
  EXPECT_TRUE(Exists(base + "c.tmp"));
  EXPECT_TRUE(Exists(base + hyo + "\\d.tmp"));
  EXPECT_EQ(FileDelete_((base + hyo + "\\*").c_str()), 1);
  EXPECT_FALSE(Exists(base + hyo + "\\d.tmp"));
}

}  // namespace

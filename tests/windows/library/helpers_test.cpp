// The pure helpers behind the exports, without a disk, a shell or a process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestrum_internal.h"

namespace {

// Shift-JIS lead bytes, independent of the machine's code page.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(KestrumDriveBytes, WholeKilobytesCappedBelowTwoGibibytes) {
  struct Case {
    const char* what;
    std::uint32_t bytesPerSector, sectorsPerCluster, clusters;
    std::int32_t bytes;
  };
  const Case cases[] = {
      {"512-byte clusters multiply first", 512, 1, 1000, 512000},
      {"4 KiB clusters", 512, 8, 3, 12288},
      {"1536-byte clusters count 1 KiB each", 512, 3, 10, 10240},
      {"odd small cluster count", 512, 1, 3, 1024},
      {"10 GB drive is capped", 512, 8, 2621440, 2147482624},
      {"small clusters multiply at full width", 512, 1, 0xFFFFFFFFu, 2147482624},
      {"large clusters times a large count", 65536, 1, 0xFFFFFFFFu, 2147482624},
      {"just under the cap", 1024, 1, 0x1FFFFF, 2147482624},
      {"one below the cap", 1024, 1, 0x1FFFFE, 2147481600},
      {"empty", 512, 8, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kestrum::DriveBytes(c.bytesPerSector, c.sectorsPerCluster, c.clusters), c.bytes) << c.what;
  }
}

TEST(KestrumSeparator, DirectoryPartEndsAtTheLastRealBackslash) {
  struct Case {
    const char* pattern;
    std::size_t length;
  };
  const Case cases[] = {
      {"C:\\work\\*.tmp", 8},
      {"*.tmp", 0},
      {"", 0},
      {"\\*.tmp", 1},
      {"C:\\w\\\x95\x5C*.tmp", 5},          // "表": trail byte 0x5C is no separator
      {"C:\\\x95\x5C\\a.tmp", 6},           // the real one after it counts
      {"C:\\\x83\x5C\x83\x5C*", 3},         // "ソソ"
      {"C:\\a\\\x95", 5},                   // a lone lead byte at the end
      {"C:\\a\\b\\", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kestrum::DirectoryPartLength(c.pattern, ShiftJisLead), c.length) << c.pattern;
  }
}

TEST(KestrumProcess, PriorityCodeToClass) {
  const struct {
    int code;
    std::uint32_t creationFlag;
  } cases[] = {{1, REALTIME_PRIORITY_CLASS}, {2, IDLE_PRIORITY_CLASS},   {0, NORMAL_PRIORITY_CLASS},
               {3, NORMAL_PRIORITY_CLASS},   {-1, NORMAL_PRIORITY_CLASS}, {0x101, NORMAL_PRIORITY_CLASS}};
  for (const auto& c : cases) EXPECT_EQ(kestrum::PriorityClassFor(c.code), c.creationFlag) << c.code;
}

TEST(KestrumTray, RecordIsTheFirstFormWithTheTipCutTo63Bytes) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0xCC, sizeof record);
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const HICON icon = reinterpret_cast<HICON>(0x5678);
  const std::string tip70(70, 't');
  kestrum::FillTrayRecord(&record, window, 9, WM_APP + 1, icon, tip70.c_str());
  // The first form of the record: 88 bytes on x86, 104 with x64's wider handles.
  EXPECT_EQ(record.cbSize, sizeof(void*) == 4 ? 88u : 104u);
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 9u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_APP + 1));
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(std::string(record.szTip), tip70.substr(0, 63));

  kestrum::FillTrayRecord(&record, window, 9, 0, nullptr, nullptr);
  EXPECT_STREQ(record.szTip, "");
  EXPECT_EQ(record.hIcon, nullptr);
  EXPECT_EQ(record.uFlags, 7u);
}

TEST(KestrumTray, TipIsNotCutInsideADoubleByteCharacter) {
  struct Case {
    std::string tip;
    std::size_t length;
  };
  const Case cases[] = {
      {std::string(63, 'a'), 63},
      {std::string(64, 'a'), 63},
      {std::string(62, 'a') + "\x82\xA0", 62},       // "あ" would straddle the limit
      {std::string(61, 'a') + "\x82\xA0" "b", 63},    // it fits just before it
      {std::string(61, 'a') + "\x83\x5C" "bc", 63},   // a 0x5C trail byte is no hindrance
      {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(kestrum::TipLength(c.tip.c_str(), ShiftJisLead), c.length) << c.tip;
}

}  // namespace

// The library's pure helpers: the arithmetic and text handling behind the
// exports, without the system calls around them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestrum_pure.h"

namespace kestrum {
namespace {

TEST(KestrumPure, DriveSizesAreWholeKilobytesBelowTwoGibibytes) {
  const struct {
    std::uint32_t bytesPerSector, sectorsPerCluster, clusters;
    std::int32_t bytes;
  } cases[] = {
      {512, 1, 1000, 512000}, {512, 8, 3, 12288},  {1536, 1, 10, 10240},  // a partial kilobyte per cluster is dropped
      {512, 1, 3, 1024},      {4096, 8, 327680, 2147482624},               // 10 GiB, capped
      {512, 1, 4194302, 2147482624}, {512, 1, 4194300, 2147481600}, {0, 8, 5, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(DriveBytes(c.bytesPerSector, c.sectorsPerCluster, c.clusters), c.bytes) << c.bytesPerSector << "x" << c.clusters;
}

TEST(KestrumPure, ListModesAndLines) {
  for (int utf8 : {0, 0x100, 0x200})  // the UTF-8 bit lists as the mode without it; any other bit lists nothing
    for (int mode = -1; mode <= 5; ++mode) {
      EXPECT_EQ(ModeListsFiles(mode | utf8), mode >= 1 && mode <= 4 && utf8 < 0x200) << mode;
      EXPECT_EQ(ModeListsDirectories(mode | utf8), (mode == 3 || mode == 4) && utf8 < 0x200) << mode;
      EXPECT_EQ(ModeIsUtf8(mode | utf8), utf8 == 0x100 && mode >= 1 && mode <= 4) << mode;
    }
  std::string lines;
  for (int mode : {1, 2, 3, 0x104}) AppendListLine(lines, mode, "C:\\work", "a.txt");
  EXPECT_EQ(lines, "\"C:\\work\\a.txt\"\r\n\"C:\\work\", \"a.txt\"\r\n\"C:\\work\\a.txt\"\r\n\"C:\\work\", \"a.txt\"\r\n");
}

TEST(KestrumPure, ByteSearch) {
  EXPECT_EQ(FindByte(1, "abcabc", 'c'), 3);
  EXPECT_EQ(FindByte(4, "abcabc", 'c'), 6);
  EXPECT_EQ(FindByte(-5, "abc", 'a'), 1);
  EXPECT_EQ(FindByte(1, "abc", 'x'), 0);
  EXPECT_EQ(FindByte(1, "", 'a'), 0);
  EXPECT_EQ(FindByte(1, "aAb", 0x141), 2);  // the low 8 bits only
  EXPECT_EQ(FindByte(1, "\x83\x5C", '\\'), 2);  // byte-wise: a trail byte matches
}

TEST(KestrumPure, ShiftJisLeadBytesAndTheTextsThatDependOnThem) {
  // The lead-byte ranges 0x81-0x9F and 0xE0-0xFC at their edges; half-width katakana (0xA1-0xDF) are single bytes.
  for (int c : {0x00, 0x5C, 0x80, 0xA0, 0xA1, 0xDF, 0xFD, 0xFF}) EXPECT_FALSE(IsShiftJisLeadByte(c)) << std::hex << c;
  for (int c : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsShiftJisLeadByte(c)) << std::hex << c;
  // The directory part ends at the last real backslash, not at a trail byte.
  EXPECT_EQ(DirectoryPartLength("C:\\work\\*.tmp", IsShiftJisLeadByte), 8u);
  EXPECT_EQ(DirectoryPartLength("C:\\\x83\x5C*.tmp", IsShiftJisLeadByte), 3u);
  EXPECT_EQ(DirectoryPartLength("*.tmp", IsShiftJisLeadByte), 0u);
  // A lead byte as the last byte: nothing after the text is read.
  const std::string lastLead("a\\\x83\0\\\\", 6), tipLastLead("ab\x83\0cd", 6);
  EXPECT_EQ(DirectoryPartLength(lastLead.c_str(), IsShiftJisLeadByte), 2u);
  EXPECT_EQ(TipLength(tipLastLead.c_str(), IsShiftJisLeadByte), 3u);
  // A tip is cut to 63 bytes, never inside a double-byte character.
  const std::string ascii(70, 't');
  EXPECT_EQ(TipLength(ascii.c_str(), IsShiftJisLeadByte), 63u);
  EXPECT_EQ(TipLength((std::string(62, 't') + "\x83\x5C").c_str(), IsShiftJisLeadByte), 62u);
  EXPECT_EQ(TipLength((std::string(61, 't') + "\x83\x5C").c_str(), IsShiftJisLeadByte), 63u);
  EXPECT_EQ(TipLength("", IsShiftJisLeadByte), 0u);
}

TEST(KestrumPure, BitsOfWordArrays) {
  std::uint16_t words[2] = {0, 0x0002};
  EXPECT_TRUE(TestBit(words, 17) && !TestBit(words, 16));
  AssignBit(words, 15, true);
  AssignBit(words, 0, true);
  AssignBit(words, 17, false);
  AssignBit(words, 16, false);
  EXPECT_EQ(words[0], 0x8001);
  EXPECT_EQ(words[1], 0);
  const std::pair<std::uint16_t, std::pair<int, int>> highLow[] = {
      {0, {-1, -1}}, {1, {0, 0}}, {0x8000, {15, 15}}, {0x0FF0, {11, 4}}, {0xFFFF, {15, 0}}};
  for (const auto& [word, bits] : highLow) EXPECT_EQ(std::pair(HighestBit(word), LowestBit(word)), bits) << word;
  EXPECT_EQ(ShiftLeft(0x8001, 1), 0x0002);
  EXPECT_EQ(ShiftLeft(0x0001, 33), 0x0002);  // the count modulo 32
  EXPECT_EQ(ShiftLeft(0x0001, 16), 0);
  EXPECT_EQ(ShiftRight(0x8001, 15), 0x0001);
  EXPECT_EQ(ShiftRight(0x8000, 31), 0);
  EXPECT_EQ(ShiftRight(0x8000, 32), 0x8000);
}

}  // namespace
}  // namespace kestrum

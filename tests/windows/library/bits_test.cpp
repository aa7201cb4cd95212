// Bit and number helpers, through the DLL's exports.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kestrum.h"

namespace {

TEST(KestrumBits, LoadSetAndResetAddressBitNOfTheWordArray) {
  struct Case {
    const char* what;
    int (*function)(unsigned short*, int);
    std::vector<unsigned short> before;
    int n;
    int result;
    std::vector<unsigned short> after;
  };
  const Case cases[] = {
      {"LD_ 17 is 0x0002 of word 1", LD_, {0x0000, 0x0002}, 17, 1, {0x0000, 0x0002}},
      {"LD_ 17 clear among set bits", LD_, {0xFFFF, 0xFFFD}, 17, 0, {0xFFFF, 0xFFFD}},
      {"LD_ 0 is the lowest bit", LD_, {0x0001, 0x0000}, 0, 1, {0x0001, 0x0000}},
      {"SET_ 15 is 0x8000 of word 0", SET_, {0x0000, 0x0000}, 15, 1, {0x8000, 0x0000}},
      {"SET_ 16 starts word 1", SET_, {0x0000, 0x0000}, 16, 1, {0x0000, 0x0001}},
      {"RST_ 15 leaves bits 0-14", RST_, {0xFFFF, 0xFFFF}, 15, 1, {0x7FFF, 0xFFFF}},
      {"RST_ 31 of word 1 only", RST_, {0xFFFF, 0xFFFF}, 31, 1, {0xFFFF, 0x7FFF}},
  };
  for (const Case& c : cases) {
    std::vector<unsigned short> words = c.before;
    EXPECT_EQ(c.function(words.data(), c.n), c.result) << c.what;
    EXPECT_EQ(words, c.after) << c.what;
  }
}

TEST(KestrumBits, HighestAndLowestSetBit) {
  struct Case {
    const char* what;
    int (*function)(const unsigned short*, short*);
    unsigned short word;
    short bit;
    int result;
  };
  const Case cases[] = {
      {"HI_ 0x8001", HI_, 0x8001, 15, 1}, {"LOW_ 0x8001", LOW_, 0x8001, 0, 1},
      {"LOW_ 0x0100", LOW_, 0x0100, 8, 1}, {"HI_ 0x0100", HI_, 0x0100, 8, 1},
      {"HI_ 0", HI_, 0x0000, 0, 0},         {"LOW_ 0", LOW_, 0x0000, 0, 0},
  };
  for (const Case& c : cases) {
    short bit = 7;  // must be overwritten, also for a word of 0
    EXPECT_EQ(c.function(&c.word, &bit), c.result) << c.what;
    EXPECT_EQ(bit, c.bit) << c.what;
  }
}

TEST(KestrumBits, ShiftsUseTheCountModulo32AndFillWithZeros) {
  struct Case {
    int (*function)(unsigned short*, int);
    unsigned short word;
    int count;
    unsigned short after;
  };
  const Case cases[] = {
      {LSFT_, 0x00FF, 4, 0x0FF0}, {LSFT_, 0x00FF, 8, 0xFF00}, {LSFT_, 0x00FF, 16, 0x0000},
      {LSFT_, 0x00FF, 33, 0x01FE}, {LSFT_, 0x00FF, -1, 0x0000}, {LSFT_, 0x00FF, 0, 0x00FF},
      {RSFT_, 0x8000, 15, 0x0001}, {RSFT_, 0x8000, 16, 0x0000}, {RSFT_, 0xFFFF, 4, 0x0FFF},
  };
  for (const Case& c : cases) {
    unsigned short word = c.word;
    EXPECT_EQ(c.function(&word, c.count), 1);
    EXPECT_EQ(word, c.after) << std::hex << c.word << " by " << std::dec << c.count;
  }
}

TEST(KestrumNumbers, HexTextToNumber) {
  struct Case {
    const char* text;
    int result;
    std::int32_t number;
  };
  const Case cases[] = {
      {"", 1, 0},
      {"1A", 1, 26},
      {"1a", 1, 26},
      {"FFFFFFFF", 1, -1},
      {"123456789", 1, 0x23456789},  // only the last eight digits count
      {"0x1A", 0, 0},
      {" 1A", 0, 0},
      {"-1", 0, 0},
      {"1G", 0, 0},
      {"1A ", 0, 0},
  };
  for (const Case& c : cases) {
    int number = 99;
    EXPECT_EQ(htol_(c.text, &number), c.result) << '"' << c.text << '"';
    EXPECT_EQ(number, c.number) << '"' << c.text << '"';
  }
}

TEST(KestrumNumbers, ByteSearchIsOneBasedAndByteWise) {
  struct Case {
    int start;
    const char* text;
    int byte;
    int position;
  };
  const Case cases[] = {
      {1, "a\\b\\c", 92, 2},
      {3, "a\\b\\c", 92, 4},
      {5, "a\\b\\c", 92, 0},
      {0, "a\\b\\c", 92, 2},
      {-7, "a\\b\\c", 92, 2},
      {6, "a\\b\\c", 92, 0},          // at length + 1: the terminator only
      {1, "a\\b\\c", 0, 0},           // the terminator is never a match
      {1, "a\\b\\c", 0x15C, 2},       // only the low 8 bits are sought
      {1, "\x83\x5C", 92, 2},         // the trail byte of "ソ" matches
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InStrB_(c.start, c.text, c.byte), c.position) << c.text << " from " << c.start;
  }
}

}  // namespace

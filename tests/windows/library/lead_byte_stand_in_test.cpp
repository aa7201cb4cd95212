// The host's fuzzers take Shift-JIS lead bytes from a table of their own;
// it must agree with the system's on code page 932 for every byte.
#include <gtest/gtest.h>

#include <windows.h>

#include "kestrum_pure.h"

namespace {

TEST(KestrumLeadBytes, StandInAgreesWithCodePage932) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(932, &info));
  for (int c = 0; c < 256; ++c) {
    const bool lead = IsDBCSLeadByteEx(932, static_cast<BYTE>(c)) != FALSE;
    EXPECT_EQ(kestrum::IsShiftJisLeadByte(static_cast<unsigned char>(c)), lead) << "byte " << c;
  }
}

}  // namespace

// Bit and number helpers on caller-owned 16-bit words and texts; the
// arithmetic is in the pure helpers.
#include "kestrum.h"
#include "kestrum_internal.h"

namespace {

// The caller's words: unsigned short is the 16-bit word of the interface.
std::uint16_t* Words(unsigned short* words) { return reinterpret_cast<std::uint16_t*>(words); }

int BitNumber(int bit, short* out) {
  *out = static_cast<short>(bit < 0 ? 0 : bit);
  return bit < 0 ? 0 : 1;
}

}  // namespace

extern "C" {

int __cdecl LD_(unsigned short* array, int n) { return kestrum::TestBit(Words(array), n) ? 1 : 0; }

int __cdecl SET_(unsigned short* array, int n) {
  kestrum::AssignBit(Words(array), n, true);
  return 1;
}

int __cdecl RST_(unsigned short* array, int n) {
  kestrum::AssignBit(Words(array), n, false);
  return 1;
}

int __cdecl HI_(const unsigned short* word, short* bit) { return BitNumber(kestrum::HighestBit(*word), bit); }

int __cdecl LOW_(const unsigned short* word, short* bit) { return BitNumber(kestrum::LowestBit(*word), bit); }

int __cdecl LSFT_(unsigned short* word, int count) {
  *word = kestrum::ShiftLeft(*word, count);
  return 1;
}

int __cdecl RSFT_(unsigned short* word, int count) {
  *word = kestrum::ShiftRight(*word, count);
  return 1;
}

int __cdecl htol_(const char* text, int* number) {
  std::int32_t value = 0;
  const bool valid = kestrum::ParseHex(text, &value);
  *number = value;
  return valid ? 1 : 0;
}

int __cdecl InStrB_(int start, const char* text, int byte) { return kestrum::FindByte(start, text, byte); }

}  // extern "C"

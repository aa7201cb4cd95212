// Bit and number helpers on caller-owned 16-bit words and texts.
#include "kestrum.h"
#include "kestrum_internal.h"

using kestrum::kBitMask;

extern "C" {

// Signed division as the bit numbering defines it; n below 0 is the caller's fault.
int __cdecl LD_(unsigned short* array, int n) {
  return (array[n / 16] & kBitMask[n % 16]) != 0 ? 1 : 0;
}

int __cdecl SET_(unsigned short* array, int n) {
  array[n / 16] = static_cast<unsigned short>(array[n / 16] | kBitMask[n % 16]);
  return 1;
}

int __cdecl RST_(unsigned short* array, int n) {
  array[n / 16] = static_cast<unsigned short>(array[n / 16] & (0xFFFF - kBitMask[n % 16]));
  return 1;
}

int __cdecl HI_(const unsigned short* word, short* bit) {
  *bit = 0;
  const unsigned short value = *word;
  for (int i = 15; i >= 0; --i) {
    if (value & kBitMask[i]) {
      *bit = static_cast<short>(i);
      return 1;
    }
  }
  return 0;
}

int __cdecl LOW_(const unsigned short* word, short* bit) {
  *bit = 0;
  const unsigned short value = *word;
  for (int i = 0; i < 16; ++i) {
    if (value & kBitMask[i]) {
      *bit = static_cast<short>(i);
      return 1;
    }
  }
  return 0;
}

// Only the count's low five bits are used; 16 to 31 places clear the word.
int __cdecl LSFT_(unsigned short* word, int count) {
  *word = static_cast<unsigned short>(static_cast<unsigned>(*word) << (count & 31));
  return 1;
}

int __cdecl RSFT_(unsigned short* word, int count) {
  *word = static_cast<unsigned short>(static_cast<unsigned>(*word) >> (count & 31));
  return 1;
}

int __cdecl htol_(const char* text, int* number) {
  std::int32_t value = 0;
  const bool valid = kestrum::ParseHex(text, &value);
  *number = value;
  return valid ? 1 : 0;
}

int __cdecl InStrB_(int start, const char* text, int byte) {
  return kestrum::FindByte(start, text, byte);
}

}  // extern "C"

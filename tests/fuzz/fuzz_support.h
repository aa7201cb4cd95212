// Shared by the fuzz targets: turning raw bytes into the program's text, and
// the check that ends a fuzz run on a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/services.h"

namespace zefta::fuzz {

// Aborts with the failed invariant, so that libFuzzer saves the input.
#define FUZZ_CHECK(condition) ((condition) ? void() : zefta::fuzz::Fail(__FILE__, __LINE__, #condition))
[[noreturn]] inline void Fail(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
  std::abort();
}

// Reads bytes from the front of a fuzz input.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::string_view Rest() const {
    return {reinterpret_cast<const char*>(data_ + pos_), size_ - pos_};
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Text from bytes in one of two ways, picked by the caller: one character
// per byte (dots, letters and blanks are then easy for the fuzzer to reach),
// or the bytes as UTF-16LE units (every character, kana and kanji included).
inline std::u16string TextFromBytes(std::string_view bytes, bool wide) {
  std::u16string text;
  if (!wide) {
    for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  } else {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return text;
}

}  // namespace zefta::fuzz

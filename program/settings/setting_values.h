// Decoding of stored setting texts. Pure functions on text, so that they can
// be tested and fuzzed without a store or a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zefta {

// Every value is read into a field of this many characters: cut when longer,
// filled up with blanks when shorter.
inline constexpr std::size_t kSettingBufferLength = 256;
// The directory part of "DRV" is used up to this many characters.
inline constexpr std::size_t kSettingDirectoryLength = 128;

// The value as the fixed-length field holds it.
std::u16string FillSettingBuffer(std::u16string_view value);

// Drops the trailing blanks; an all-blank text becomes empty.
std::u16string TrimTrailingBlanks(std::u16string_view text);

// A 16-bit signed decimal integer, blanks allowed before and after, an
// optional sign before the digits. nullopt when the text is no such number or
// lies outside -32768..32767.
std::optional<std::int16_t> ParseSettingInteger(std::u16string_view text);

// "DRV" split into the drive (its first two characters) and the directory
// (from the third character on, at most kSettingDirectoryLength characters).
struct DriveSetting {
  std::u16string drive;
  std::u16string directory;
};
DriveSetting SplitDriveSetting(std::u16string_view value);

}  // namespace zefta

// Decoding of stored setting texts on arbitrary values.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "settings/setting_values.h"

using namespace zefta;

namespace {

// An independent reading of a 16-bit integer text with blanks around it,
// through the C library, for the decoded value to be compared with.
std::optional<std::int16_t> ReferenceInteger(const std::u16string& text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(u' ');
  std::string ascii;
  for (std::size_t i = first; i <= last; ++i) {
    const char16_t c = text[i];
    const bool sign = i == first && (c == u'+' || c == u'-');
    if (!sign && (c < u'0' || c > u'9')) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  if (ascii == "+" || ascii == "-") return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(ascii.c_str(), &end, 10);
  if (errno == ERANGE || value < -32768 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zefta::fuzz::ByteReader in(data, size);
  const std::uint8_t flags = in.Byte();
  const auto number = static_cast<std::int16_t>(in.Word());
  const std::u16string value = zefta::fuzz::TextFromBytes(in.Rest(), flags & 1);

  // The fixed field: the value's first 256 characters, then blanks.
  const std::u16string buffer = FillSettingBuffer(value);
  FUZZ_CHECK(buffer.size() == kSettingBufferLength);
  const std::size_t kept = std::min(value.size(), kSettingBufferLength);
  FUZZ_CHECK(buffer.compare(0, kept, value, 0, kept) == 0);
  FUZZ_CHECK(buffer.find_first_not_of(u' ', kept) == std::u16string::npos);

  const std::u16string trimmed = TrimTrailingBlanks(value);
  FUZZ_CHECK(value.compare(0, trimmed.size(), trimmed) == 0);
  FUZZ_CHECK(trimmed.empty() || trimmed.back() != u' ');
  FUZZ_CHECK(value.find_first_not_of(u' ', trimmed.size()) == std::u16string::npos);

  // The decoded value agrees with the C library's, and the blanks that the
  // field adds never change it.
  const auto parsed = ParseSettingInteger(value);
  FUZZ_CHECK(parsed == ReferenceInteger(value));
  FUZZ_CHECK(ParseSettingInteger(buffer) == ParseSettingInteger(value.substr(0, kSettingBufferLength)));

  // Every 16-bit integer written by the program reads back as itself.
  FUZZ_CHECK(ParseSettingInteger(FillSettingBuffer(Decimal(number))) == number);
  FUZZ_CHECK(ParseSettingInteger(u"  " + Decimal(number)) == number);

  const DriveSetting drive = SplitDriveSetting(trimmed);
  FUZZ_CHECK(drive.drive == trimmed.substr(0, 2));
  FUZZ_CHECK(drive.directory.size() <= kSettingDirectoryLength);
  FUZZ_CHECK(trimmed.compare(0, drive.drive.size() + drive.directory.size(), drive.drive + drive.directory) == 0);
  return 0;
}

#include "settings/setting_values.h"

#include <algorithm>

namespace zefta {

std::u16string FillSettingBuffer(std::u16string_view value) {
  std::u16string buffer(value.substr(0, std::min(value.size(), kSettingBufferLength)));
  buffer.resize(kSettingBufferLength, u' ');
  return buffer;
}

std::u16string TrimTrailingBlanks(std::u16string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == u' ') --end;
  return std::u16string(text.substr(0, end));
}

std::optional<std::int16_t> ParseSettingInteger(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  const std::size_t digitsStart = i;
  std::int32_t magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - u'0');
    // Beyond the 16-bit range already; stop before the sum can overflow.
    if (magnitude > 32768) return std::nullopt;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i != text.size()) return std::nullopt;
  const std::int32_t value = negative ? -magnitude : magnitude;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

DriveSetting SplitDriveSetting(std::u16string_view value) {
  DriveSetting result;
  result.drive = std::u16string(value.substr(0, std::min<std::size_t>(2, value.size())));
  if (value.size() > 2) result.directory = std::u16string(value.substr(2, kSettingDirectoryLength));
  return result;
}

}  // namespace zefta

#include "modules/messages.h"

#include <string>

namespace zefta {

namespace {

std::u16string Decimal(std::int16_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string MessageTitle() { return std::u16string(kProductTitle) + kMessageTitleSuffix; }

std::u16string CompletionText(std::int16_t processed, std::int16_t converted) {
  return Decimal(processed) + u"ファイル中、" + Decimal(converted) + u"ファイルを変換しました。";
}

}  // namespace zefta

#include "modules/messages.h"

#include <string>

namespace zefta {

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string MessageTitle() { return std::u16string(kProductTitle) + kMessageTitleSuffix; }

std::u16string CompletionText(std::int64_t processed, std::int64_t converted) {
  return DecimalText(processed) + u"ファイル中、" + DecimalText(converted) + u"ファイルを変換しました。";
}

std::u16string UndoneText(std::int64_t processed, std::int64_t converted) {
  return DecimalText(processed) + u"ファイル中、" + DecimalText(converted) + u"ファイルを元に戻しました。";
}

}  // namespace zefta

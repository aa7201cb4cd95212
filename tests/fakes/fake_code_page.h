// The system code page (Shift-JIS on the target machines) as far as the tests
// need it, without its tables: ASCII as itself, half-width katakana as the
// single bytes 0xA1-0xDF, a few double-byte characters with their real codes
// (ソ and 表 among them, whose second byte is "\"), a lead byte taking the byte
// after it whatever that is, "・" for a pair it does not know and "?" for a
// character outside the table, as the system's conversions give them.
#pragma once

#include <string>
#include <string_view>

#include "services/services.h"

namespace zefta::testing {

class FakeCodePage final : public CodePage {
 public:
  static bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

  std::string ToAnsi(std::u16string_view text) override {
    std::string bytes;
    for (char16_t c : text) {
      if (c < 0x80) bytes += static_cast<char>(c);
      else if (c >= 0xFF61 && c <= 0xFF9F) bytes += static_cast<char>(0xA1 + (c - 0xFF61));
      else if (const char* pair = PairOf(c)) bytes += pair;
      else bytes += '?';
    }
    return bytes;
  }

  std::u16string FromAnsi(std::string_view bytes) override {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      if (c < 0x80) {
        text += c;
      } else if (c >= 0xA1 && c <= 0xDF) {
        text += static_cast<char16_t>(0xFF61 + (c - 0xA1));
      } else if (IsLead(c) && i + 1 < bytes.size()) {
        text += CharOf(bytes.substr(i++, 2));
      } else {
        text += u'・';
      }
    }
    return text;
  }

 private:
  struct Pair {
    char16_t character;
    const char* bytes;
  };
  static constexpr Pair kPairs[] = {{u'ソ', "\x83\x5C"}, {u'表', "\x95\x5C"}, {u'デ', "\x83\x66"}, {u'ー', "\x81\x5B"},
                                    {u'タ', "\x83\x5E"}, {u'フ', "\x83\x74"}, {u'ト', "\x83\x67"}, {u'日', "\x93\xFA"},
                                    {u'本', "\x96\x7B"}, {u'語', "\x8C\xEA"}, {u'Ａ', "\x82\x60"}, {u'ａ', "\x82\x81"}};
  static const char* PairOf(char16_t c) {
    for (const Pair& pair : kPairs)
      if (pair.character == c) return pair.bytes;
    return nullptr;
  }
  static char16_t CharOf(std::string_view bytes) {
    for (const Pair& pair : kPairs)
      if (bytes == pair.bytes) return pair.character;
    return u'・';
  }
};

}  // namespace zefta::testing

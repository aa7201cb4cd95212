#include "modules/utf8.h"

namespace zefta {

namespace {

constexpr char32_t kFirstPlane = 0x10000, kLastCharacter = 0x10FFFF;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// How many bytes follow a lead byte; -1 for a byte that leads no sequence
// (a continuation byte, or one that could only begin an overlong form or a
// value past U+10FFFF).
int FollowingBytes(unsigned char lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

// The bytes a character takes, less one.
int ExtraBytes(char32_t c) {
  if (c < 0x80) return 0;
  if (c < 0x800) return 1;
  if (c < kFirstPlane) return 2;
  return 3;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  // What is no character (past U+10FFFF, or half of a UTF-16 pair) is
  // written as the replacement character, never as ill-formed bytes.
  constexpr char32_t kReplacement = 0xFFFD;
  if (c > kLastCharacter || IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
  static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
  const int extra = ExtraBytes(c);
  out += static_cast<char>(kLead[extra] | (c >> (6 * extra)));
  for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

std::optional<char32_t> NextUtf8(std::string_view bytes, std::size_t& at) {
  if (at >= bytes.size()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(bytes[at]);
  const int extra = FollowingBytes(lead);
  if (extra < 0 || bytes.size() - at - 1 < static_cast<std::size_t>(extra)) return std::nullopt;
  static constexpr unsigned char kPayload[] = {0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = lead & kPayload[extra];
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  // The shortest form only, and no surrogate or value past U+10FFFF.
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, kFirstPlane};
  if (c < kLeast[extra] || IsHighSurrogate(c) || IsLowSurrogate(c) || c > kLastCharacter) return std::nullopt;
  at += static_cast<std::size_t>(extra) + 1;
  return c;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < kFirstPlane) {
    out += static_cast<char16_t>(c);
    return;
  }
  out += static_cast<char16_t>(0xD800 + ((c - kFirstPlane) >> 10));
  out += static_cast<char16_t>(0xDC00 + ((c - kFirstPlane) & 0x3FF));
}

std::optional<std::string> ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
      c = kFirstPlane + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    else if (IsHighSurrogate(c) || IsLowSurrogate(c))
      return std::nullopt;
    AppendUtf8(out, c);
  }
  return out;
}

std::optional<std::u16string> FromUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const auto c = NextUtf8(bytes, at);
    if (!c) return std::nullopt;
    AppendUtf16(out, *c);
  }
  return out;
}

}  // namespace zefta

// UTF-8, one strict codec: the text of the journal of renames, and of the
// library's tree list in its UTF-8 modes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zefta {

// nullopt for text holding a lone surrogate, which UTF-8 cannot carry.
std::optional<std::string> ToUtf8(std::u16string_view text);
// nullopt for bytes that are not well-formed UTF-8 (overlong forms,
// surrogates, values past U+10FFFF, cut sequences included).
std::optional<std::u16string> FromUtf8(std::string_view bytes);

// The pieces, for texts that mix UTF-8 with escapes of their own.
// One character (not a surrogate) as UTF-8, appended.
void AppendUtf8(std::string& out, char32_t c);
// The well-formed character that starts at bytes[at], at moved past it;
// nullopt, at where it was, for anything else.
std::optional<char32_t> NextUtf8(std::string_view bytes, std::size_t& at);
// One character as UTF-16 (a pair past U+FFFF), appended.
void AppendUtf16(std::u16string& out, char32_t c);

}  // namespace zefta

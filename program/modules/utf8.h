// UTF-8, the text of the list file and of the library's tree listing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zefta {

// nullopt for text holding a lone surrogate, which UTF-8 cannot carry.
std::optional<std::string> ToUtf8(std::u16string_view text);
// nullopt for bytes that are not well-formed UTF-8 (overlong forms,
// surrogates, values past U+10FFFF, cut sequences included).
std::optional<std::u16string> FromUtf8(std::string_view bytes);

}  // namespace zefta

#pragma once

#include <optional>
#include <string_view>

namespace platform {

// LIKE matching of an already case-folded pattern and text: '%' any run, '_' one unit (a
// byte, or a character as UTF-32 holds them),
// `escape` (when given) makes the character after it literal. Linear in the text for any
// pattern: the pieces between '%'s are matched left to right, each where it first fits,
// found by KMP, or by a bit-parallel scan when the piece holds '_'.
bool WildcardMatch(std::string_view pattern, std::string_view text, std::optional<char> escape);
bool WildcardMatch(std::u32string_view pattern, std::u32string_view text,
                   std::optional<char32_t> escape);

}  // namespace platform

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

inline constexpr unsigned kUtf8CodePage = 65001;
inline constexpr unsigned kUtf16LeCodePage = 1200;
inline constexpr unsigned kUtf16BeCodePage = 1201;

// The charset parameter of a Content-Type value, unquoted; empty when there
// is none.
std::wstring CharsetOfContentType(std::wstring_view contentType);

// The Windows code page for a charset name in any letter case; nothing when
// the name is unknown, and the caller falls back to UTF-8.
std::optional<unsigned> CodePageOfCharset(std::wstring_view charset);

}  // namespace tavrin

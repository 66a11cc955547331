#pragma once

#include <functional>
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

// Decodes bytes in a code page other than UTF-8 and UTF-16; nothing when the
// system lacks that code page.
using CodePageDecoder =
    std::function<std::optional<std::wstring>(std::string_view bytes, unsigned codePage)>;

// A body in the charset its Content-Type declares: UTF-8 when it declares
// none, an unknown one, or one the system cannot decode.
std::wstring DecodeDeclaredCharset(std::string_view bytes, std::wstring_view contentType,
                                   const CodePageDecoder& decodeCodePage);

}  // namespace tavrin

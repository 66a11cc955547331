#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Conversions between the program's wide texts (UTF-16 on Windows, UTF-32 on
// other hosts) and byte encodings. Invalid input never throws: each broken
// sequence decodes as U+FFFD.
namespace tavrin {

std::wstring Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);

// UTF-16LE as the registry and the wire store it; an odd last byte is dropped.
std::wstring Utf16LeToWide(const std::uint8_t* bytes, std::size_t size);
std::vector<std::uint8_t> WideToUtf16Le(std::wstring_view text);

}  // namespace tavrin

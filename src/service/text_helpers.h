#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// The two string operations that read the service's replies without a JSON
// parser. Positions are 1-based and count the text's code units.
namespace tavrin {

// Unescape met a \u escape without hexadecimal digits.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Extracted {
  std::wstring value;
  // Just after the first character of the end marker that closed the value;
  // 0 when nothing was found.
  std::ptrdiff_t next = 0;
};

// The text between startMarker (searched from `position`) and the following
// endMarker, with markers matched ignoring ASCII case. An empty start marker
// starts at the text's beginning, an empty end marker runs to its end. With a
// quote as end marker, escaped quotes do not close the value.
Extracted ExtractBetween(std::wstring_view text, std::wstring_view startMarker,
                         std::wstring_view endMarker, std::ptrdiff_t position = 1);

// Resolves the backslash escapes of a JSON string value. An unknown escape is
// dropped; \u takes up to four hexadecimal digits and yields one code unit.
// Throws ConversionError when the characters after \u are not hexadecimal.
std::wstring Unescape(std::wstring_view text);

}  // namespace tavrin

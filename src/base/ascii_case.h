#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Case rules for names the user never types (translation keys, reply
// markers, class names): only a-z and A-Z fold, every other character must
// match exactly, and a folded copy keeps its length.
namespace tavrin {

constexpr wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

inline std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = AsciiUpper(c);
  return upper;
}

inline bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b,
                            [](wchar_t x, wchar_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

}  // namespace tavrin

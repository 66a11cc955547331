#pragma once

#include <string_view>

namespace tavrin {

// Names the user never types (component, style family, class and appearance
// names) match ignoring the case of ASCII letters only.
constexpr wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

constexpr bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace tavrin

#include "service/text_helpers.h"

#include "base/ascii_case.h"

namespace tavrin {
namespace {

// Turns each escaped quote into a backslash pair so that only the closing
// quote is found. Escapes are taken pairwise from the start, so an escaped
// backslash right before the closing quote does not hide that quote.
void MaskEscapedQuotes(std::wstring& search, wchar_t quote) {
  for (std::size_t i = 0; i + 1 < search.size(); ++i) {
    if (search[i] != L'\\') continue;
    if (search[i + 1] == quote) search[i + 1] = L'\\';
    ++i;
  }
}

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

wchar_t ParseCodeUnit(std::wstring_view digits) {
  if (digits.empty()) throw ConversionError("\\u escape without digits");
  unsigned value = 0;
  for (const wchar_t c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) throw ConversionError("\\u escape with a non-hexadecimal digit");
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<wchar_t>(value);
}

// Where wide texts are UTF-32, a surrogate pair written as two escapes
// becomes the one character it encodes, as it is in UTF-16.
void AppendCodeUnit(std::wstring& out, wchar_t unit) {
  if constexpr (sizeof(wchar_t) == 4) {
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (low && !out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) {
      out.back() = static_cast<wchar_t>(0x10000 + ((out.back() - 0xD800) << 10) + (unit - 0xDC00));
      return;
    }
  }
  out.push_back(unit);
}

wchar_t ShortEscape(wchar_t c) {
  switch (c) {
    case L'"': case L'\'': case L'/': case L'\\': return c;
    case L'b': return L'\b';
    case L'f': return L'\f';
    case L'n': return L'\n';
    case L'r': return L'\r';
    case L't': return L'\t';
    default: return 0;
  }
}

}  // namespace

Extracted ExtractBetween(std::wstring_view text, std::wstring_view startMarker,
                         std::wstring_view endMarker, std::ptrdiff_t position) {
  std::wstring search = AsciiUpper(text);
  if (endMarker == L"\"" || endMarker == L"'") MaskEscapedQuotes(search, endMarker[0]);

  std::size_t valueStart = 0;
  if (!startMarker.empty()) {
    if (position < 1) return {};
    const std::size_t from = static_cast<std::size_t>(position - 1);
    const std::size_t found = search.find(AsciiUpper(startMarker), from);
    if (found == search.npos) return {};
    valueStart = found + startMarker.size();
  }
  std::size_t valueEnd = text.size();
  if (!endMarker.empty()) {
    valueEnd = search.find(AsciiUpper(endMarker), valueStart);
    if (valueEnd == search.npos) return {};
  }
  return {std::wstring(text.substr(valueStart, valueEnd - valueStart)),
          static_cast<std::ptrdiff_t>(valueEnd) + 2};
}

std::wstring Unescape(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\') {
      out.push_back(text[i]);
    } else if (++i == text.size()) {
      break;  // a lone backslash at the end is dropped
    } else if (text[i] == L'u') {
      const std::wstring_view digits = text.substr(i + 1, 4);
      AppendCodeUnit(out, ParseCodeUnit(digits));
      i += digits.size();
    } else if (const wchar_t c = ShortEscape(text[i])) {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace tavrin

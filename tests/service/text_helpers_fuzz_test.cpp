#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ascii_case.h"
#include "service/text_helpers.h"
#include "support/random_inputs.h"

namespace tavrin::test {
namespace {

// Whatever the inputs, the value is the stretch of the text just before the
// reported next position, and that position is where the end marker stands.
TEST(ExtractBetweenProperty, ValueEndsRightBeforeTheEndMarker) {
  RandomInputs random;
  const std::wstring alphabet = L"aAbB\"'\\{}:\u00e9\u00c9";
  const std::vector<std::wstring> markers = {L"",        L"\"",      L"'",   L"}",
                                             L"\"a\":\"", L"\"A\":{", L"\\", L"b\""};
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    const std::wstring text = random.Text(alphabet, 30);
    const std::wstring start = random.OneIn(2) ? random.Pick(markers) : random.Text(alphabet, 3);
    const std::wstring end = random.OneIn(2) ? random.Pick(markers) : random.Text(alphabet, 2);
    const std::ptrdiff_t position = random.Between(-2, static_cast<int>(text.size()) + 3);
    const Extracted got = ExtractBetween(text, start, end, position);
    SCOPED_TRACE(testing::Message() << "case " << n);
    if (got.next == 0) {
      ASSERT_EQ(got.value, L"");
      continue;
    }
    const std::size_t endAt = static_cast<std::size_t>(got.next) - 2;  // 0-based, of the end marker
    ASSERT_LE(endAt, text.size());
    ASSERT_LE(got.value.size(), endAt);
    ASSERT_EQ(got.value, text.substr(endAt - got.value.size(), got.value.size()));
    if (end.empty()) {
      ASSERT_EQ(endAt, text.size());
    } else {
      ASSERT_EQ(AsciiUpper(text.substr(endAt, end.size())), AsciiUpper(end));
    }
  }
}

// A text without a backslash comes back as it is, every escape shortens a
// text, and only a \u escape can fail.
TEST(UnescapeProperty, KeepsPlainTextsAndShortensEscapedOnes) {
  RandomInputs random;
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    const std::wstring text = random.Text(L"\\\\\\uUnbtx0aF9\"'/\U0001F600", 12);
    SCOPED_TRACE(testing::Message() << "case " << n);
    try {
      const std::wstring unescaped = Unescape(text);
      if (text.find(L'\\') == std::wstring::npos) {
        ASSERT_EQ(unescaped, text);
      } else {
        ASSERT_LT(unescaped.size(), text.size());
      }
    } catch (const ConversionError&) {
      ASSERT_NE(text.find(L"\\u"), std::wstring::npos);
    }
  }
}

std::wstring Utf16Units(char32_t c) {
  if (c < 0x10000) return std::wstring(1, static_cast<wchar_t>(c));
  return {static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)),
          static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
}

// The character as the program holds it: UTF-16 units on Windows, one unit elsewhere.
std::wstring Wide(char32_t c) {
  return sizeof(wchar_t) == 2 ? Utf16Units(c) : std::wstring(1, static_cast<wchar_t>(c));
}

// One of the forms JSON allows for the character: itself, a short escape, or
// \u escapes of its UTF-16 units in either letter case.
std::wstring EscapedRandomly(RandomInputs& random, char32_t c) {
  constexpr std::wstring_view kShortEscapes = L"\"\\/'\b\f\n\r\t";
  constexpr std::wstring_view kEscapeLetters = L"\"\\/'bfnrt";
  const std::size_t shortEscape = kShortEscapes.find(static_cast<wchar_t>(c));
  switch (random.Between(0, 2)) {
    case 0:
      if (c != U'\\') return Wide(c);
      break;
    case 1:
      if (shortEscape != kShortEscapes.npos) return {L'\\', kEscapeLetters[shortEscape]};
      break;
  }
  const wchar_t* digits = random.OneIn(2) ? L"0123456789abcdef" : L"0123456789ABCDEF";
  std::wstring escaped;
  for (const wchar_t unit : Utf16Units(c)) {
    escaped += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) escaped += digits[(unit >> shift) & 0xF];
  }
  return escaped;
}

// Escaping a text in any mix of forms (surrogate pairs as two \u escapes) and
// unescaping it gives the text back.
TEST(UnescapeProperty, UndoesAnyEscaping) {
  RandomInputs random;
  const std::vector<char32_t> characters = {
      U'a',     U'Z',     U'u',     U'"',     U'\\',    U'/',      U'\'',         U'\n',
      U'\t',    U'\b',    U'\f',    U'\r',    0,       U'\u00e9', U'\uAC00',     U'\uFFFF',
      U'\U0001F600', U'\U0010FFFF'};
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    std::wstring original, escaped;
    for (int length = random.Between(0, 10); length > 0; --length) {
      const char32_t c = random.Pick(characters);
      original += Wide(c);
      escaped += EscapedRandomly(random, c);
    }
    ASSERT_EQ(Unescape(escaped), original) << "case " << n;
  }
}

}  // namespace
}  // namespace tavrin::test

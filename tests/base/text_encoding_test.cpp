#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavrin::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::wstring Units(std::initializer_list<unsigned> units) {
  std::wstring text;
  for (const unsigned unit : units) text.push_back(static_cast<wchar_t>(unit));
  return text;
}

// Reads exactly the given bytes: the buffer ends where the data ends, so a read
// past it is caught by the address sanitizer.
std::wstring FromUtf16Le(const Bytes& bytes) {
  const auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  return Utf16LeToWide(copy.get(), bytes.size());
}

// Valid texts, in all three forms: every conversion between them is exact.
TEST(TextEncoding, ValidTextsConvertExactlyBothWays) {
  const struct {
    std::wstring text;
    std::string utf8;
    Bytes utf16le;
  } cases[] = {
      {L"", "", {}},
      {std::wstring(L"a\0b", 3), std::string("a\0b", 3), {'a', 0, 0, 0, 'b', 0}},
      {L"\"ip\"", "\"ip\"", {'"', 0, 'i', 0, 'p', 0, '"', 0}},
      // The last character of each UTF-8 length and the first of the next.
      {L"\u007F\u0080", "\x7F\xC2\x80", {0x7F, 0, 0x80, 0}},
      {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80", {0xFF, 0x07, 0x00, 0x08}},
      {L"\uD7FF\uE000\uFFFF",
       "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF",
       {0xFF, 0xD7, 0x00, 0xE0, 0xFF, 0xFF}},
      {L"\U00010000\U0010FFFF",
       "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       {0x00, 0xD8, 0x00, 0xDC, 0xFF, 0xDB, 0xFF, 0xDF}},
      {L"실행 \U0001F600",
       "\xEC\x8B\xA4\xED\x96\x89 \xF0\x9F\x98\x80",
       {0xE4, 0xC2, 0x89, 0xD5, ' ', 0, 0x3D, 0xD8, 0x00, 0xDE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.utf8));
    EXPECT_EQ(Utf8ToWide(c.utf8), c.text);
    EXPECT_EQ(WideToUtf8(c.text), c.utf8);
    EXPECT_EQ(FromUtf16Le(c.utf16le), c.text);
    EXPECT_EQ(WideToUtf16Le(c.text), c.utf16le);
  }
}

// Each broken sequence becomes U+FFFD and never hides a character after it:
// a reply cannot slip a quote past the member reading.
TEST(TextEncoding, BrokenUtf8BecomesReplacementCharacters) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      // Overlong forms of the quote and of the largest two- and three-byte characters.
      {"\xC0\xA2", L"\uFFFD\uFFFD"},
      {"\xC1\xBF", L"\uFFFD\uFFFD"},
      {"\xE0\x80\xA2", L"\uFFFD"},
      {"\xE0\x9F\xBF", L"\uFFFD"},
      {"\xF0\x80\x80\xA2", L"\uFFFD"},
      {"\xF0\x8F\xBF\xBF", L"\uFFFD"},
      // Surrogates have no UTF-8 form.
      {"\xED\xA0\x80", L"\uFFFD"},
      {"\xED\xBF\xBF", L"\uFFFD"},
      {"\xED\xA0\xBD\xED\xB8\x80", L"\uFFFD\uFFFD"},
      // Beyond U+10FFFF, and bytes that never start a character.
      {"\xF4\x90\x80\x80", L"\uFFFD"},
      {"\xF5\x80\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"a\xFF"
       "b\xFE",
       L"a\uFFFDb\uFFFD"},
      {"a\x80\xBF"
       "b",
       L"a\uFFFD\uFFFDb"},
      // Truncated sequences end where the next character starts.
      {"\xC3\"", L"\uFFFD\""},
      {"\xE2\x82\"", L"\uFFFD\""},
      {"\xF0\x9F\x98"
       "x",
       L"\uFFFDx"},
      {"\xE2\xC3\xA9", L"\uFFFD\u00E9"},
      {"\xF0\x9F\xE2\x82\xAC", L"\uFFFD\u20AC"},
      {"ab\xE2\x82", L"ab\uFFFD"},
      {"\xF4", L"\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.bytes), c.text) << testing::PrintToString(c.bytes);
  }
}

TEST(TextEncoding, UnpairedSurrogatesBecomeReplacementCharactersInUtf8) {
  const struct {
    std::wstring text;
    std::string utf8;
  } cases[] = {
      {Units({0xD800}), "\xEF\xBF\xBD"},
      {Units({0xDC00, 'A'}),
       "\xEF\xBF\xBD"
       "A"},
      {Units({'A', 0xD83D}), "A\xEF\xBF\xBD"},
      {Units({0xDE00, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD"},  // the wrong way round
      {Units({0xD83D, 'x', 0xDE00}), "\xEF\xBF\xBDx\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToUtf8(c.text), c.utf8) << testing::PrintToString(c.utf8);
  }
}

// Registry texts and reply bodies come as byte counts that may be odd, with
// surrogates that may be unpaired: the odd byte is dropped, a lone surrogate
// kept as the unit it is.
TEST(TextEncoding, Utf16LeReadsOnlyWholeUnitsAndKeepsLoneSurrogates) {
  const struct {
    Bytes bytes;
    std::wstring text;
  } cases[] = {
      {{'A'}, L""},
      {{'A', 0, 'B'}, L"A"},
      {{0x3D, 0xD8, 0x00}, Units({0xD83D})},
      {{0x3D, 0xD8, 0x00, 0xDE, '!'}, L"\U0001F600"},
      {{0x00, 0xD8, 'A', 0}, Units({0xD800, 'A'})},
      {{'A', 0, 0x3D, 0xD8}, Units({'A', 0xD83D})},
      {{0x00, 0xDE, 0x3D, 0xD8}, Units({0xDE00, 0xD83D})},
      {{0x3D, 0xD8, 0x3D, 0xD8, 0x00, 0xDE}, Units({0xD83D}) + L"\U0001F600"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromUtf16Le(c.bytes), c.text) << testing::PrintToString(c.bytes);
  }
}

}  // namespace
}  // namespace tavrin::test

#include "service/text_helpers.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"

namespace tavrin::test {
namespace {

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

struct ExtractCase {
  const wchar_t* text;
  const wchar_t* start;
  const wchar_t* end;
  std::ptrdiff_t position;
  const wchar_t* value;
  std::ptrdiff_t next;
};

TEST(ExtractBetween, Cases) {
  const ExtractCase cases[] = {
      // Markers match ignoring ASCII case; the value keeps its case.
      {LR"({"INFO":{"Style":"x"}})", LR"("info":{)", L"}", 1, LR"("Style":"x")", 22},
      {LR"({"update":"MiXeD"})", LR"("UPDATE":")", L"\"", 1, L"MiXeD", 18},
      {L"\u00c9lan:x;", L"\u00e9lan:", L";", 1, L"", 0},  // other letters match only exactly
      {L"\u00c9lan:x;", L"\u00c9LAN:", L";", 1, L"x", 8},
      // Empty value, missing member, start without end.
      {LR"({"update":""})", LR"("update":")", L"\"", 1, L"", 13},
      {LR"({"other":"x"})", LR"("update":")", L"\"", 1, L"", 0},
      {LR"({"update":"abc)", LR"("update":")", L"\"", 1, L"", 0},
      // Empty markers: from the beginning, to the end.
      {L"abc", L"", L"", 1, L"abc", 5},
      {L"abc;", L"", L";", 0, L"abc", 5},  // the position is not used
      {L"key=value", L"key=", L"", 1, L"value", 11},
      // The position picks where the start marker is searched from.
      {L"a=1;a=2;", L"a=", L";", 1, L"1", 5},
      {L"a=1;a=2;", L"a=", L";", 2, L"2", 9},
      {L"a=1;a=2;", L"a=", L";", 0, L"", 0},
      {L"a=1;a=2;", L"a=", L";", -3, L"", 0},
      {L"a=1;a=2;", L"a=", L";", 8, L"", 0},
      {L"a=1;a=2;", L"a=", L";", 40, L"", 0},
      // Escaped quotes do not close a value; an escaped backslash does not
      // hide the closing quote after it.
      {LR"({"text":"say \"hi\"","url":"u"})", LR"("text":")", L"\"", 1, LR"(say \"hi\")", 21},
      {LR"({"url":"C:\\","flag":"1"})", LR"("url":")", L"\"", 1, LR"(C:\\)", 14},
      {LR"({"url":"a\\\"b"})", LR"("url":")", L"\"", 1, LR"(a\\\"b)", 16},
      {LR"(x='it\'s';)", L"x='", L"'", 1, LR"(it\'s)", 10},
      {LR"(x=a\"c)", L"x=", L"\"C", 1, LR"(a\)", 6},  // no masking for longer markers
      // "}" ends the object at the first brace, even inside a string value.
      {LR"({"info":{"text":"a}b","url":"u"}})", LR"("info":{)", L"}", 1, LR"("text":"a)", 20},
  };
  for (const ExtractCase& c : cases) {
    const Extracted got = ExtractBetween(c.text, c.start, c.end, c.position);
    EXPECT_EQ(Narrow(got.value), Narrow(c.value)) << Narrow(c.text) << " from " << c.position;
    EXPECT_EQ(got.next, c.next) << Narrow(c.text) << " from " << c.position;
  }
}

TEST(ExtractBetween, StartsAtTheFirstPositionByDefault) {
  EXPECT_EQ(ExtractBetween(L"[a][b]", L"[", L"]").value, L"a");
}

TEST(Unescape, Cases) {
  const struct {
    const wchar_t* text;
    std::wstring expected;
  } cases[] = {
      {L"", L""},
      {L"plain", L"plain"},
      {LR"(\"\'\/\\\b\f\n\r\t)", L"\"'/\\\b\f\n\r\t"},
      {LR"(\u00e9)", L"\u00e9"},
      {LR"(\u00C9t\u00e9)", L"\u00c9t\u00e9"},
      {LR"(\u0041BC)", L"ABC"},
      {LR"(x\u41)", L"xA"},  // fewer digits where the text ends
      {LR"(\u0000!)", std::wstring(L"\0!", 2)},
      {LR"(\uD83D\uDE00)", L"\U0001F600"},
      {LR"(a\qb)", L"ab"},
      {LR"(ab\)", L"ab"},
      {LR"(\\n)", LR"(\n)"},
      {LR"(\N\T\U0041)", L"0041"},  // escape letters are case-sensitive
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Narrow(Unescape(c.text)), Narrow(c.expected)) << Narrow(c.text);
  }
}

TEST(Unescape, MalformedUnicodeEscapeIsAConversionError) {
  for (const wchar_t* text : {LR"(\u12xy)", LR"(ab\u)", LR"(\uG000)", LR"(\u 41)", LR"(ok\u-1)"}) {
    EXPECT_THROW(Unescape(text), ConversionError) << Narrow(text);
  }
}

}  // namespace
}  // namespace tavrin::test

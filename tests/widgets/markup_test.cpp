#include "widgets/markup.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(Markup, SplitsTextIntoRunsByTag) {
  struct Case {
    const wchar_t* markup;
    MarkupLine line;
  };
  const Case cases[] = {
      {L"plain", {{{L"plain"}}, false}},
      {L"", {{}, false}},
      {L"<C><FC:clGray>Easily improve <B>game responsiveness</B>.</FC></C>",
       {{{L"Easily improve ", false, true},
         {L"game responsiveness", true, true},
         {L".", false, true}},
        true}},
      {L"<b>bold</B> <fc:clgray>grey</fc>",
       {{{L"bold", true}, {L" "}, {L"grey", false, true}}, false}},
      // Anything that is not one of the three tags is text.
      {L"a <I>b</I> <FC:clRed>c</FC> 1 < 2 >",
       {{{L"a <I>b</I> <FC:clRed>c"}, {L" 1 < 2 >"}}, false}},
      // Tags nest; an unmatched closing tag changes nothing.
      {L"<B><B>x</B>y</B>z</B>", {{{L"x", true}, {L"y", true}, {L"z"}}, false}},
      {L"a</FC>b<FC:clGray>c</FC>d", {{{L"a"}, {L"b"}, {L"c", false, true}, {L"d"}}, false}},
      {L"<C>unclosed", {{{L"unclosed"}}, true}},
      {L"<C></C>", {{}, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseMarkup(c.markup), c.line) << testing::PrintToString(std::wstring(c.markup));
  }
}

TEST(Markup, PlainTextDropsTheTags) {
  EXPECT_EQ(PlainText(ParseMarkup(L"<C><FC:clGray>Minimize <B>latency</B>.</FC></C>")),
            L"Minimize latency.");
}

}  // namespace
}  // namespace tavrin

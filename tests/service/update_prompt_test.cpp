#include "service/update_prompt.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text_encoding.h"

namespace tavrin::test {
namespace {

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

TEST(UpdatePromptText, PicksTheRowByExactLanguageCode) {
  struct Case {
    const wchar_t* language;
    const wchar_t* yes;
    const wchar_t* no;
    const wchar_t* messageStart;
  };
  const Case cases[] = {
      {L"ko", L"\uc608", L"\uc544\ub2c8\uc624", L"\uc5c5\ub370\uc774\ud2b8"},
      {L"ja", L"\u306f\u3044", L"\u3044\u3044\u3048", L"\u3053\u306e"},
      {L"zh", L"\u662f", L"\u5426", L"\u8be5\u7a0b\u5e8f"},
      {L"de", L"Ja", L"Nein", L"Dieses Programm"},
      {L"ru", L"\u0414\u0430", L"\u041d\u0435\u0442", L"\u0414\u0430\u043d\u043d\u0430\u044f"},
      {L"it", L"S\u00ec", L"No", L"\u00c8 disponibile"},
      {L"fr", L"Oui", L"Non", L"Ce programme"},
      // Everything else, letter case included, is English.
      {L"en", L"Yes", L"No", L"This program"},
      {L"", L"Yes", L"No", L"This program"},
      {L"pt", L"Yes", L"No", L"This program"},
      {L"KO", L"Yes", L"No", L"This program"},
      {L"de-DE", L"Yes", L"No", L"This program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.language));
    EXPECT_EQ(Narrow(UpdatePromptText(kPromptYes, c.language)), Narrow(c.yes));
    EXPECT_EQ(Narrow(UpdatePromptText(kPromptNo, c.language)), Narrow(c.no));
    EXPECT_EQ(UpdatePromptText(kPromptMessage, c.language).rfind(c.messageStart, 0), 0u);
  }
}

TEST(UpdatePromptText, MessagesSeparateParagraphsWithTwoCarriageReturnsOnly) {
  EXPECT_EQ(Narrow(UpdatePromptText(kPromptMessage, L"en")),
            "This program has been updated.\r\rIt is recommended to download and execute new "
            "for stable use.\r\rDo you want to download it?");
  for (const wchar_t* language : {L"ko", L"ja", L"zh", L"de", L"ru", L"it", L"fr", L"en"}) {
    const std::wstring message = UpdatePromptText(kPromptMessage, language);
    EXPECT_EQ(message.find(L'\n'), std::wstring::npos) << Narrow(language);
    const std::size_t first = message.find(L"\r\r");
    ASSERT_NE(first, std::wstring::npos) << Narrow(language);
    EXPECT_NE(message.find(L"\r\r", first + 2), std::wstring::npos) << Narrow(language);
    EXPECT_EQ(std::count(message.begin(), message.end(), L'\r'), 4) << Narrow(language);
  }
}

TEST(ReadUpdateItem, UnescapesTheUpdateValue) {
  struct Case {
    const wchar_t* reply;
    const wchar_t* item;
  };
  const Case cases[] = {
      {LR"({"update":"https:\/\/example.test\/a?b=1"})", L"https://example.test/a?b=1"},
      {LR"({"UPDATE":"https://x.test/"})", L"https://x.test/"},
      {LR"({"update":"say \"\u0041\""})", L"say \"A\""},
      {LR"({"update":""})", L""},
      {LR"({"other":"x"})", L""},
      {L"", L""},
      // A malformed escape empties the member instead of failing the check-in.
      {LR"({"update":"https://x.test/\u12xy"})", L""},
      {LR"({"update":"https://x.test/\u"})", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Narrow(ReadUpdateItem(c.reply)), Narrow(c.item)) << Narrow(c.reply);
  }
}

TEST(ReadUpdateInfo, ReadsTheInfoMembersWithMissingOnesEmpty) {
  struct Case {
    const wchar_t* reply;
    UpdateInfo info;
  };
  const Case cases[] = {
      {LR"({"update":"u","info":{"style":"note","text":"Read me","flag":"stayontop","url":"https:\/\/n.test"}})",
       {L"note", L"Read me", L"stayontop", L"https://n.test"}},
      {LR"({"Info":{"STYLE":"hold","Text":"Don\u0027t ask","FLAG":""}})",
       {L"hold", L"Don't ask", L"", L""}},
      {LR"({"update":"u"})", {}},
      {LR"({"update":"u","info":{}})", {}},
      // The object ends at its first "}", even inside a value.
      {LR"({"info":{"style":"note","text":"a}b","url":"https://n.test"}})",
       {L"note", L"", L"", L""}},
      // One malformed member is empty; the others stay.
      {LR"({"info":{"style":"note","text":"bad \u00zz","url":"https://n.test"}})",
       {L"note", L"", L"", L"https://n.test"}},
      // "style" outside the object is not read.
      {LR"({"style":"hold","info":{"text":"t"}})", {L"", L"t", L"", L""}},
  };
  for (const Case& c : cases) {
    const UpdateInfo info = ReadUpdateInfo(c.reply);
    SCOPED_TRACE(Narrow(c.reply));
    EXPECT_EQ(Narrow(info.style), Narrow(c.info.style));
    EXPECT_EQ(Narrow(info.text), Narrow(c.info.text));
    EXPECT_EQ(Narrow(info.flag), Narrow(c.info.flag));
    EXPECT_EQ(Narrow(info.url), Narrow(c.info.url));
  }
}

TEST(UpdateInfo, StaysOnTopOnlyForTheLowerCaseWord) {
  const struct {
    const wchar_t* flag;
    bool onTop;
  } cases[] = {{L"stayontop", true},  {L"modal stayontop beep", true}, {L"xstayontopx", true},
               {L"StayOnTop", false}, {L"stay on top", false},         {L"", false}};
  for (const auto& c : cases) {
    EXPECT_EQ((UpdateInfo{L"", L"", c.flag, L""}.StayOnTop()), c.onTop) << Narrow(c.flag);
  }
}

TEST(IsWebUrl, AcceptsOnlyAbsoluteHttpAndHttpsUrls) {
  const struct {
    const wchar_t* target;
    bool web;
  } cases[] = {
      {L"https://example.test/setup.exe", true},
      {L"http://example.test", true},
      {L"HTTPS://example.test/", true},
      {L"https://", false},
      {L"https:", false},
      {L"", false},
      {L"C:\\Windows\\System32\\cmd.exe", false},
      {L"\\\\server\\share\\setup.exe", false},
      {L"file:///C:/Windows/System32/calc.exe", false},
      {L"ms-settings:network", false},
      {L"javascript:alert(1)", false},
      {L"setup.exe", false},
      {L" https://example.test", false},
      {L"https://example.test/a b", false},
      {L"https://example.test/\r\nx", false},
      {L"https://example.test/\x7f", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebUrl(c.target), c.web) << Narrow(c.target);
}

TEST(NoticeLayout, ScalesTheDistancesInWholeHundredths) {
  const struct {
    int dpi, heightAdjust, height;
    int growth, separatorTop, controlLeft, controlTop;
  } cases[] = {
      {96, 10, 200, 30, 134, 10, 144},  {144, 10, 300, 45, 201, 15, 216},
      {120, 10, 250, 38, 167, 13, 180},  // 125 %: halves round up
      {110, 10, 250, 35, 174, 12, 186},  // 115 %, not 114.58 %: S(30) = 35, not 34
      {96, 0, 200, 40, 124, 10, 134},   {168, 10, 400, 53, 284, 18, 302},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " dpi, adjust " << c.heightAdjust);
    EXPECT_EQ(NoticeGrowth(c.dpi, c.heightAdjust), c.growth);
    const NoticePlacement place = PlaceNotice(c.dpi, c.height, c.heightAdjust);
    EXPECT_EQ(place.separatorTop, c.separatorTop);
    EXPECT_EQ(place.controlLeft, c.controlLeft);
    EXPECT_EQ(place.controlTop, c.controlTop);
  }
}

}  // namespace
}  // namespace tavrin::test

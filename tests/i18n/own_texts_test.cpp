#include "i18n/own_texts.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "i18n/translation.h"

namespace tavrin::test {
namespace {

constexpr const wchar_t* kOtherLanguages[] = {L"ko", L"ja", L"zh", L"ru", L"it", L"fr"};

std::vector<OwnText> EveryText() {
  std::vector<OwnText> texts;
  for (int i = 0; i < static_cast<int>(OwnText::Count); ++i) texts.push_back(static_cast<OwnText>(i));
  return texts;
}

TEST(OwnTexts, EveryTextIsTranslatedIntoEveryLanguage) {
  for (const OwnText text : EveryText()) {
    const std::wstring english = OwnTranslate(text, L"en");
    EXPECT_FALSE(english.empty()) << static_cast<int>(text);
    for (const wchar_t* language : kOtherLanguages) {
      const std::wstring translated = OwnTranslate(text, language);
      EXPECT_FALSE(translated.empty()) << static_cast<int>(text) << " " << WideToUtf8(language);
      EXPECT_NE(translated, english) << static_cast<int>(text) << " " << WideToUtf8(language);
    }
  }
}

TEST(OwnTexts, FollowTheInterfaceLanguageWithEnglishAsFallback) {
  const std::wstring saved = CurrentLanguage;
  const OwnText text = OwnText::NetworkDidNotAnswer;
  CurrentLanguage = L"fr";
  EXPECT_EQ(OwnTranslate(text), OwnTranslate(text, L"fr"));
  for (const wchar_t* language : {L"de", L"FR", L"f"}) {
    CurrentLanguage = language;
    EXPECT_EQ(OwnTranslate(text), OwnTranslate(text, L"en")) << WideToUtf8(language);
  }
  CurrentLanguage = saved;
}

}  // namespace
}  // namespace tavrin::test

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "i18n/translation.h"
#include "support/random_inputs.h"

namespace tavrin::test {
namespace {

const std::vector<std::string> kTablePieces = {
    "ko=", "en=", "fr=", "=", "\r", "\n", "\r\n", "\xEF\xBB\xBF", "a", "A", "\\n", "\\",
    " ", "\xEA\xB0\x80", "\xFF", "\xE0\x80", "\xF0\x9F\x98\x80", "\xED\xA0\x80"};

// The text with CR LF, LF and CR all made LF: what joining the lines with LF
// must give back, plus the last line's ending.
std::wstring WithLfEndings(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    out.push_back(text[i] == L'\r' ? L'\n' : text[i]);
  }
  return out;
}

TEST(TranslationLinesProperty, LinesJoinBackToTheDecodedText) {
  RandomInputs random;
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    const std::string bytes = random.Joined(kTablePieces, 40);
    const std::vector<std::wstring> lines = TranslationLines(bytes);
    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    const std::wstring expected = WithLfEndings(Utf8ToWide(body));
    std::wstring joined;
    for (const std::wstring& line : lines) {
      EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos);
      joined += line + L"\n";
    }
    if (!expected.empty() && expected.back() != L'\n') joined.pop_back();
    ASSERT_EQ(joined, expected) << "case " << n;
  }
}

std::wstring Unbroken(std::wstring text) {
  for (std::size_t at; (at = text.find(L"\\n")) != std::wstring::npos;) text.replace(at, 2, L"\r");
  return text;
}

// Whatever the table holds, Translate returns either the text itself or the
// text of one of its lines, with backslash-n made CR.
TEST(TranslateProperty, GivesTheTextOrALinesText) {
  RandomInputs random;
  const std::vector<std::wstring> languages = {L"", L"ko", L"en", L"fr", L"FR", L"="};
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    const std::string bytes = random.Joined(kTablePieces, 60);
    LoadTranslationTable(bytes);
    std::vector<std::wstring> answers;
    for (const std::wstring& line : TranslationLines(bytes)) {
      const std::size_t equals = line.find(L'=');
      answers.push_back(Unbroken(equals == std::wstring::npos ? L"" : line.substr(equals + 1)));
    }
    CurrentLanguage = random.Pick(languages);
    const std::wstring text = random.OneIn(2) || answers.empty() ? random.Text(L"aA=\\n \uAC00", 4)
                                                                  : random.Pick(answers);
    const std::wstring translated = Translate(text, random.Pick(languages));
    const bool fromTable = std::ranges::find(answers, translated) != answers.end();
    ASSERT_TRUE(translated == Unbroken(text) || fromTable) << "case " << n;
  }
}

}  // namespace
}  // namespace tavrin::test

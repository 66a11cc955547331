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
// text of a line in the language asked for (CurrentLanguage when none is) or
// in English, with backslash-n made CR.
TEST(TranslateProperty, GivesTheTextOrALineInTheAskedLanguageOrEnglish) {
  RandomInputs random;
  const std::vector<std::wstring> languages = {L"", L"ko", L"en", L"fr", L"FR", L"="};
  for (int n = 0; n < RandomInputs::kCases; ++n) {
    const std::string bytes = random.Joined(kTablePieces, 60);
    LoadTranslationTable(bytes);
    // Code and text; a line without "=" has both empty.
    std::vector<std::pair<std::wstring, std::wstring>> lines;
    for (const std::wstring& line : TranslationLines(bytes)) {
      const std::size_t equals = line.find(L'=');
      if (equals == std::wstring::npos) {
        lines.emplace_back(L"", L"");
      } else {
        lines.emplace_back(line.substr(0, equals), Unbroken(line.substr(equals + 1)));
      }
    }
    CurrentLanguage = random.Pick(languages);
    const std::wstring text = random.OneIn(2) || lines.empty()
                                  ? random.Text(L"aA=\\n \uAC00", 4)
                                  : random.Pick(lines).second;
    const std::wstring asked = random.Pick(languages);
    const std::wstring wanted = asked.empty() ? CurrentLanguage : asked;
    const std::wstring translated = Translate(text, asked);
    const bool fromTable = std::ranges::any_of(lines, [&](const auto& line) {
      return line.second == translated && (line.first == wanted || line.first == L"en");
    });
    ASSERT_TRUE(translated == Unbroken(text) || fromTable) << "case " << n;
  }
}

}  // namespace
}  // namespace tavrin::test

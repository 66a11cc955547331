#include "i18n/translation.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "base/text_encoding.h"

namespace tavrin::test {
namespace {

std::string ShippedTableBytes() {
  std::ifstream in(TAVRIN_TRANSLATE_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

TEST(TranslationLines, SplitOnEveryLineEndingAfterTheByteOrderMark) {
  struct Case {
    std::string bytes;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\xEF\xBB\xBF", {}},
      {"\xEF\xBB\xBFko=\xEA\xB0\x80", {L"ko=\uAC00"}},
      {"a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
      {"a\r\n", {L"a"}},
      {"a\r\n\r\n", {L"a", L""}},
      {"\n\r", {L"", L""}},
      {"a\r\r\nb", {L"a", L"", L"b"}},
      {" \r\n", {L" "}},
      {"ko\xFF", {L"ko\uFFFD"}},
      {"a\xEF\xBB\xBF", {L"a\uFEFF"}},  // only a leading mark is skipped
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslationLines(c.bytes), c.lines) << c.bytes;
  }
}

TEST(TranslationLines, ShippedTableHasSixteenBlocksOfSevenLanguages) {
  const std::vector<std::wstring> lines = TranslationLines(ShippedTableBytes());
  ASSERT_EQ(lines.size(), 127u);
  const std::wstring codes[] = {L"ko", L"en", L"ja", L"zh", L"ru", L"it", L"fr"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i % 8 == 7) {
      EXPECT_EQ(lines[i], L"") << "line " << i + 1;
    } else {
      EXPECT_TRUE(lines[i].starts_with(codes[i % 8] + L"="))
          << "line " << i + 1 << ": " << Narrow(lines[i]);
    }
  }
  EXPECT_EQ(lines[0], L"ko=Tavrin");
  EXPECT_EQ(lines[37], L"it=Dona");
  EXPECT_EQ(lines[126], L"fr=Indice de limitation r\u00e9seau");
}

struct TranslateCase {
  const wchar_t* current;
  const wchar_t* text;
  const wchar_t* language;
  const wchar_t* expected;
};

std::ostream& operator<<(std::ostream& out, const TranslateCase& c) {
  return out << "current " << Narrow(c.current) << ", text \"" << Narrow(c.text)
             << "\", language \"" << Narrow(c.language) << '"';
}

void ExpectTranslations(std::initializer_list<TranslateCase> cases) {
  for (const TranslateCase& c : cases) {
    CurrentLanguage = c.current;
    EXPECT_EQ(Narrow(Translate(c.text, c.language)), Narrow(c.expected)) << c;
  }
}

TEST(Translate, ShippedTable) {
  LoadTranslationTable(ShippedTableBytes());
  ExpectTranslations({
      {L"fr", L"처음화면", L"", L"Accueil"},
      {L"ko", L"처음화면", L"", L"처음화면"},
      {L"de", L"처음화면", L"", L"Home"},  // no German lines: English
      {L"ja", L"Home", L"", L"ホーム"},    // any language's line can be the hit
      {L"ja", L"HOME", L"", L"ホーム"},
      {L"ja", L"home", L"", L"ホーム"},
      {L"ko", L"Accueil", L"", L"처음화면"},  // the block starts above the hit
      {L"en", L"Версия", L"", L"Version"},
      {L"en", L"версия", L"", L"версия"},  // case folding is ASCII only
      {L"zh", L"Version", L"", L"版本"},
      {L"ru", L"config", L"", L"Настройки"},
      {L"ko", L"버전", L"en", L"Version"},  // an explicit language wins
      {L"ko", L"실행중", L"FR", L"Running"},  // codes are case-sensitive
      {L"it", L"후원하기", L"", L"Dona"},     // "it=Dona" ends with a lone LF
      {L"fr", L"후원하기", L"", L"Donner"},
      {L"ko", L"Dona", L"", L"후원하기"},
      {L"ja", L"tavrin", L"", L"Tavrin"},
      {L"fr", L"네트워크 쓰로틀링", L"", L"Indice de limitation réseau"},  // last block
      {L"en", L"<b>게임 반응 속도</b>를 손쉽게 향상 시킵니다.", L"",
       L"Easily improve <B>game responsiveness</B>."},
      {L"fr", L"", L"", L""},
      {L"fr", L"Loadiing...", L"", L"Loadiing..."},
      {L"fr", L"Load\\nmore", L"", L"Load\rmore"},
      {L"fr", L"Tavrin ", L"", L"Tavrin "},  // nothing is trimmed
  });
}

TEST(Translate, SmallTables) {
  struct TableCase {
    const char* table;
    std::initializer_list<TranslateCase> cases;
  };
  const TableCase tables[] = {
      // The first block holding the text wins.
      {"ko=Eins\r\nen=Same\r\nfr=Un\r\n\r\nko=Zwei\r\nen=Same\r\nfr=Deux\r\n",
       {{L"fr", L"Same", L"", L"Un"}, {L"fr", L"Zwei", L"", L"Deux"}}},
      // A block without the language nor English gives the text back; the
      // search for a code stops at the block's end.
      {"ko=Key\r\nfr=Clef\r\n\r\nja=Kagi\r\nen=Key",
       {{L"ja", L"Key", L"", L"Key"}, {L"ja", L"Clef", L"", L"Clef"}}},
      // Backslash-n is matched as written and shown as a lone CR.
      {"ko=Two\\nlines\r\nen=Deux\\nlignes\\n",
       {{L"en", L"two\\nlines", L"", L"Deux\rlignes\r"},
        {L"en", L"Two\rlines", L"", L"Two\rlines"}}},
      // A line without "=" has no code and no text but stays in its block;
      // further "=" belong to the text; a line of blanks is not a separator.
      {"ko=a=b\r\nnoequals\r\n \r\nen=A=B",
       {{L"fr", L"a=b", L"", L"A=B"}, {L"fr", L"noequals", L"", L"noequals"}}},
      // Empty table: every text comes back, backslash-n replaced.
      {"", {{L"fr", L"처음화면", L"", L"처음화면"}, {L"fr", L"x\\ny\\n", L"", L"x\ry\r"}}},
  };
  for (const TableCase& t : tables) {
    SCOPED_TRACE(t.table);
    LoadTranslationTable(t.table);
    ExpectTranslations(t.cases);
  }
}

}  // namespace
}  // namespace tavrin::test

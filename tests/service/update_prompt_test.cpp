#include "service/update_prompt.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"

namespace tavrin::test {
namespace {

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

TEST(UpdatePromptText, PicksTheRowByExactLanguageCode) {
  const std::wstring english =
      L"This program has been updated.\r\r"
      L"It is recommended to download and execute new for stable use.\r\r"
      L"Do you want to download it?";
  struct Case {
    const wchar_t* language;
    const wchar_t* yes;
    const wchar_t* no;
    std::wstring message;
  };
  const Case cases[] = {
      {L"ko", L"예", L"아니오",
       L"업데이트 정보가 있습니다.\r\r안정적으로 사용하기 위해 업데이트를 하시길 권장합니다.\r\r"
       L"다운로드 받으시겠습니까?"},
      {L"ja", L"はい", L"いいえ",
       L"このプログラムがアップデートされました。\r\r"
       L"安定的に使用するために新しくダウンロード\u00B7実行することをお勧めします。\r\r"
       L"ダウンロードしますか。"},
      {L"zh", L"是", L"否",
       L"该程序已更新。\r\r建议下载并执行新程序以稳定使用。\r\r您要下载吗\uFF1F"},
      {L"de", L"Ja", L"Nein",
       L"Dieses Programm ist aktualisiert worden.\r\r"
       L"Es wird empfohlen, es herunterzuladen und neu auszuführen, um es stabil zu verwenden.\r\r"
       L"Möchten Sie es herunterladen?"},
      {L"ru", L"Да", L"Нет",
       L"Данная программа была обновлена.\r\r"
       L"Рекомендуется скачать и выполнить новое для стабильного использования.\r\r"
       L"Вы хотите загрузить ее?"},
      {L"it", L"Sì", L"No",
       L"È disponibile una nuova versione del programma.\r\r"
       L"Ti suggeriamo di scaricare ed aggiornare il programma.\r\r"
       L"Vuoi scaricare la nuova versione del programma?"},
      {L"fr", L"Oui", L"Non",
       L"Ce programme a été mis à jour.\r\r"
       L"Il est recommandé de télécharger et d'exécuter la nouvelle version pour une "
       L"utilisation stable.\r\r"
       L"Voulez-vous le télécharger?"},
      // Everything else, letter case included, is English.
      {L"en", L"Yes", L"No", english},
      {L"", L"Yes", L"No", english},
      {L"pt", L"Yes", L"No", english},
      {L"KO", L"Yes", L"No", english},
      {L"de-DE", L"Yes", L"No", english},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.language));
    EXPECT_EQ(Narrow(UpdatePromptText(kPromptYes, c.language)), Narrow(c.yes));
    EXPECT_EQ(Narrow(UpdatePromptText(kPromptNo, c.language)), Narrow(c.no));
    EXPECT_EQ(Narrow(UpdatePromptText(kPromptMessage, c.language)), Narrow(c.message));
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
      // Only the member of that very name, opening quote and all.
      {LR"({"noupdate":"https://x.test/"})", L""},
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
      {LR"({"info":{"nostyle":"hold","text":"t","myurl":"https://n.test"}})",
       {L"", L"t", L"", L""}},
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
      // Every character RFC 3986 allows, percent escapes included.
      {L"https://user:pw@[::1]:8080/a-b_c.d~e/%20;x=1,2?q=a+b&r=$!*'()@:/#frag", true},
      // What the shell or the browser's command line would take apart.
      {L"https://example.test/\u202Eexe.txt", false},
      {L"https://example.test/a\u00A0b", false},
      {L"https://example.test/\uFEFF", false},
      {L"https://ex\u00E4mple.test/", false},
      {L"https://example.test/\U0001F600", false},
      {L"https://example.test/\" --no-sandbox", false},
      {L"https://example.test/\"", false},
      {L"https://example.test/<b>", false},
      {L"https://example.test\\..\\x", false},
      {L"https://example.test/^", false},
      {L"https://example.test/`", false},
      {L"https://example.test/{x}", false},
      {L"https://example.test/x}", false},
      {L"https://example.test/{x", false},
      {L"https://example.test/a|b", false},
      {L"https://example.test/\t", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebUrl(c.target), c.web) << Narrow(c.target);
}

// What may reach the shell is decided once, as the reply is read: a link that
// is no web page is dropped, and the rest of the notice still shows.
TEST(ReadUpdateOffer, KeepsOnlyUrlsThatMayBeOpened) {
  const struct {
    const wchar_t* reply;
    const wchar_t* url;
    const wchar_t* link;
  } cases[] = {
      {LR"({"update":"https:\/\/dl.test\/a.exe","info":{"style":"note","text":"T","url":"https://n.test"}})",
       L"https://dl.test/a.exe", L"https://n.test"},
      {LR"({"update":"https://dl.test/\u202Eexe.txt","info":{"style":"note","text":"T","url":"https://n.test/\u00a0"}})",
       L"", L""},
      {L"{\"update\":\"https://dl.test/"
       L"\u202E\",\"info\":{\"style\":\"note\",\"text\":\"T\",\"url\":\"https://n.test/\\\" x\"}}",
       L"", L""},
      {LR"({"update":"file:\/\/\/C:\/x.exe","info":{"style":"note","text":"T","url":"C:\\x.exe"}})",
       L"", L""},
      {LR"({"update":"","info":{"style":"note","text":"T","url":"https://n.test"}})", L"",
       L"https://n.test"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.reply));
    const UpdateOffer offer = ReadUpdateOffer(c.reply);
    EXPECT_EQ(Narrow(offer.url), Narrow(c.url));
    EXPECT_EQ(Narrow(offer.info.url), Narrow(c.link));
    EXPECT_EQ(Narrow(offer.info.style), "note");
    EXPECT_EQ(Narrow(offer.info.text), "T");
  }
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

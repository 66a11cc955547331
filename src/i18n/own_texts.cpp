#include "i18n/own_texts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "i18n/translation.h"

namespace tavrin {

namespace {

// Columns in the translation table's order.
constexpr std::array<std::wstring_view, 7> kLanguages = {L"ko", L"en", L"ja", L"zh",
                                                         L"ru", L"it", L"fr"};
constexpr std::size_t kEnglish = 1;

struct Row {
  OwnText id;
  std::array<const wchar_t*, kLanguages.size()> texts;
};

// clang-format off
constexpr Row kRows[] = {
  {OwnText::NetworkDidNotAnswer, {
    L"어댑터를 다시 시작한 뒤 네트워크가 응답하지 않았습니다. 연결 상태를 확인해 주세요.",
    L"The network did not answer after the adapter restarted. Please check your connection.",
    L"アダプターの再起動後、ネットワークが応答しませんでした。接続を確認してください。",
    L"适配器重新启动后，网络没有响应。请检查您的网络连接。",
    L"После перезапуска адаптера сеть не ответила. Проверьте подключение.",
    L"Dopo il riavvio della scheda di rete la rete non ha risposto. Controlla la connessione.",
    L"Le réseau n'a pas répondu après le redémarrage de l'adaptateur. Vérifiez votre connexion.",
  }},
  {OwnText::AdaptersUnreadable, {
    L"네트워크 어댑터 정보를 읽을 수 없습니다.",
    L"The network adapters could not be read.",
    L"ネットワークアダプターの情報を読み取れませんでした。",
    L"无法读取网络适配器信息。",
    L"Не удалось получить сведения о сетевых адаптерах.",
    L"Impossibile leggere le informazioni sulle schede di rete.",
    L"Impossible de lire les informations des cartes réseau.",
  }},
  {OwnText::UpdateLinkDidNotOpen, {
    L"다운로드 링크를 열 수 없습니다. 웹 브라우저가 설치되어 있는지 확인해 주세요.",
    L"The download link could not be opened. Please check that a web browser is installed.",
    L"ダウンロードリンクを開けませんでした。Webブラウザーがインストールされているか確認してください。",
    L"无法打开下载链接。请确认已安装网页浏览器。",
    L"Не удалось открыть ссылку для загрузки. Убедитесь, что установлен веб-браузер.",
    L"Impossibile aprire il link per il download. Verifica che sia installato un browser web.",
    L"Impossible d'ouvrir le lien de téléchargement. Vérifiez qu'un navigateur web est installé.",
  }},
  {OwnText::LogoName, {
    L"Tavrin 웹사이트",
    L"Tavrin website",
    L"Tavrin ウェブサイト",
    L"Tavrin 网站",
    L"Сайт Tavrin",
    L"Sito web di Tavrin",
    L"Site web de Tavrin",
  }},
  {OwnText::BusyName, {
    L"작업 중입니다. 잠시 기다려 주세요.",
    L"Working, please wait",
    L"処理中です。しばらくお待ちください。",
    L"正在处理，请稍候",
    L"Выполняется, подождите",
    L"Operazione in corso, attendere",
    L"Opération en cours, veuillez patienter",
  }},
  {OwnText::ActionPress, {L"누르기", L"Press", L"押す", L"按下", L"Нажать", L"Premi", L"Appuyer"}},
  {OwnText::ActionSwitch, {L"전환", L"Switch", L"切り替え", L"切换", L"Переключить", L"Cambia", L"Basculer"}},
  {OwnText::ActionJump, {L"이동", L"Jump", L"ジャンプ", L"跳转", L"Перейти", L"Vai", L"Atteindre"}},
  {OwnText::ActionCheck, {L"선택", L"Check", L"チェック", L"选中", L"Отметить", L"Seleziona", L"Cocher"}},
  {OwnText::ActionUncheck, {
    L"선택 해제", L"Uncheck", L"チェックを外す", L"取消选中", L"Снять отметку", L"Deseleziona", L"Décocher",
  }},
};
// clang-format on

}  // namespace

std::wstring OwnTranslate(OwnText text, const std::wstring& language) {
  const std::wstring_view wanted = language.empty() ? CurrentLanguage : language;
  const auto column = std::find(kLanguages.begin(), kLanguages.end(), wanted);
  const std::size_t index = column == kLanguages.end()
                                ? kEnglish
                                : static_cast<std::size_t>(std::distance(kLanguages.begin(), column));
  for (const Row& row : kRows) {
    if (row.id == text) return row.texts[index];
  }
  return {};
}

}  // namespace tavrin

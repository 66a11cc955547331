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
  {OwnText::ExplainTcpAckFrequency, {
    L"TcpAckFrequency = 1: 받은 TCP 패킷을 두 개마다가 아니라 하나마다 바로 확인 응답합니다(Windows 기본값: 2). 작은 패킷의 지연이 줄고, 큰 다운로드에서는 확인 응답 트래픽이 조금 늘어납니다. 버튼을 다시 누르면 Windows 기본값으로 돌아갑니다.",
    L"TcpAckFrequency = 1: every TCP packet received is acknowledged at once instead of every second one (Windows' default: 2). Small packets wait less; large downloads send a little more acknowledgement traffic. Pressing the button again restores Windows' default.",
    L"TcpAckFrequency = 1: 受信した TCP パケットに、2 個ごとではなく 1 個ごとにすぐ確認応答を返します (Windows の既定値: 2)。小さなパケットの遅延が減り、大きなダウンロードでは確認応答の通信が少し増えます。もう一度ボタンを押すと Windows の既定値に戻ります。",
    L"TcpAckFrequency = 1：对收到的每个 TCP 数据包立即确认，而不是每两个确认一次（Windows 默认值：2）。小数据包的延迟更低，下载大文件时确认流量会略有增加。再次按下按钮即可恢复 Windows 默认值。",
    L"TcpAckFrequency = 1: каждый полученный TCP-пакет подтверждается сразу, а не каждый второй (по умолчанию в Windows: 2). Мелкие пакеты ждут меньше; при больших загрузках немного растёт трафик подтверждений. Повторное нажатие кнопки возвращает значение Windows по умолчанию.",
    L"TcpAckFrequency = 1: ogni pacchetto TCP ricevuto viene confermato subito invece di uno ogni due (predefinito di Windows: 2). I pacchetti piccoli attendono meno; nei download grandi aumenta un po' il traffico di conferma. Premendo di nuovo il pulsante si ripristina il valore predefinito di Windows.",
    L"TcpAckFrequency = 1 : chaque paquet TCP reçu est acquitté aussitôt au lieu d'un sur deux (valeur par défaut de Windows : 2). Les petits paquets attendent moins ; les gros téléchargements génèrent un peu plus de trafic d'acquittement. Un nouvel appui sur le bouton rétablit la valeur par défaut de Windows.",
  }},
  {OwnText::ExplainTcpDelAckTicks, {
    L"TcpDelAckTicks = 0: 지연 확인 응답 타이머를 끕니다(Windows 기본값: 2, 즉 200ms). 확인 응답이 더 이상 타이머를 기다리지 않습니다. 버튼을 다시 누르면 Windows 기본값으로 돌아갑니다.",
    L"TcpDelAckTicks = 0: turns off the delayed-acknowledgement timer (Windows' default: 2, that is 200 ms), so no acknowledgement waits for it. Pressing the button again restores Windows' default.",
    L"TcpDelAckTicks = 0: 遅延確認応答タイマーを無効にします (Windows の既定値: 2、つまり 200 ミリ秒)。確認応答がタイマーを待たなくなります。もう一度ボタンを押すと Windows の既定値に戻ります。",
    L"TcpDelAckTicks = 0：关闭延迟确认计时器（Windows 默认值：2，即 200 毫秒），确认不再等待该计时器。再次按下按钮即可恢复 Windows 默认值。",
    L"TcpDelAckTicks = 0: отключает таймер отложенного подтверждения (по умолчанию в Windows: 2, то есть 200 мс), и подтверждения его больше не ждут. Повторное нажатие кнопки возвращает значение Windows по умолчанию.",
    L"TcpDelAckTicks = 0: disattiva il timer delle conferme ritardate (predefinito di Windows: 2, cioè 200 ms), così nessuna conferma lo attende. Premendo di nuovo il pulsante si ripristina il valore predefinito di Windows.",
    L"TcpDelAckTicks = 0 : désactive le minuteur d'acquittement différé (valeur par défaut de Windows : 2, soit 200 ms), si bien qu'aucun acquittement ne l'attend. Un nouvel appui sur le bouton rétablit la valeur par défaut de Windows.",
  }},
  {OwnText::ExplainTcpNoDelay, {
    L"TCPNoDelay = 1 (이 어댑터와 메시지 큐에 기록): 작은 패킷을 모아서 보내지 않고 바로 보냅니다(네이글 알고리즘, 기본적으로 켜져 있음). 버튼을 다시 누르면 Windows 기본값으로 돌아갑니다.",
    L"TCPNoDelay = 1, for this adapter and for Message Queuing: small packets go out at once instead of being gathered into larger ones (Nagle's algorithm, on by default). Pressing the button again restores Windows' default.",
    L"TCPNoDelay = 1 (このアダプターとメッセージ キューに設定): 小さなパケットをまとめずにすぐ送信します (Nagle アルゴリズム、既定では有効)。もう一度ボタンを押すと Windows の既定値に戻ります。",
    L"TCPNoDelay = 1（写入此适配器和消息队列的设置）：小数据包立即发送，不再合并成较大的数据包（Nagle 算法，默认开启）。再次按下按钮即可恢复 Windows 默认值。",
    L"TCPNoDelay = 1 для этого адаптера и для очереди сообщений (Message Queuing): мелкие пакеты отправляются сразу, а не собираются в более крупные (алгоритм Нейгла, по умолчанию включён). Повторное нажатие кнопки возвращает значение Windows по умолчанию.",
    L"TCPNoDelay = 1, per questa scheda e per Accodamento messaggi: i pacchetti piccoli partono subito invece di essere raggruppati in pacchetti più grandi (algoritmo di Nagle, attivo per impostazione predefinita). Premendo di nuovo il pulsante si ripristina il valore predefinito di Windows.",
    L"TCPNoDelay = 1, pour cet adaptateur et pour Message Queuing : les petits paquets partent aussitôt au lieu d'être regroupés en paquets plus gros (algorithme de Nagle, actif par défaut). Un nouvel appui sur le bouton rétablit la valeur par défaut de Windows.",
  }},
  {OwnText::ExplainNetworkThrottlingIndex, {
    L"NetworkThrottlingIndex = 0xFFFFFFFF: 미디어를 재생하는 동안 Windows 멀티미디어 스케줄러가 네트워크 트래픽에 거는 제한을 끕니다(기본값: 1밀리초당 패킷 10개). 버튼을 다시 누르면 Windows 기본값(10)으로 돌아갑니다.",
    L"NetworkThrottlingIndex = 0xFFFFFFFF: turns off the limit that Windows' multimedia scheduler puts on network traffic while media plays (default: 10 packets per millisecond). Pressing the button again restores Windows' default (10).",
    L"NetworkThrottlingIndex = 0xFFFFFFFF: メディアの再生中に Windows のマルチメディア スケジューラがネットワーク通信にかける制限を無効にします (既定値: 1 ミリ秒あたり 10 パケット)。もう一度ボタンを押すと Windows の既定値 (10) に戻ります。",
    L"NetworkThrottlingIndex = 0xFFFFFFFF：关闭 Windows 多媒体调度程序在播放媒体时对网络流量施加的限制（默认值：每毫秒 10 个数据包）。再次按下按钮即可恢复 Windows 默认值（10）。",
    L"NetworkThrottlingIndex = 0xFFFFFFFF: отключает ограничение сетевого трафика, которое планировщик мультимедиа Windows вводит во время воспроизведения (по умолчанию: 10 пакетов в миллисекунду). Повторное нажатие кнопки возвращает значение Windows по умолчанию (10).",
    L"NetworkThrottlingIndex = 0xFFFFFFFF: disattiva il limite che l'utilità di pianificazione multimediale di Windows impone al traffico di rete durante la riproduzione (predefinito: 10 pacchetti al millisecondo). Premendo di nuovo il pulsante si ripristina il valore predefinito di Windows (10).",
    L"NetworkThrottlingIndex = 0xFFFFFFFF : supprime la limite que le planificateur multimédia de Windows impose au trafic réseau pendant la lecture de médias (par défaut : 10 paquets par milliseconde). Un nouvel appui sur le bouton rétablit la valeur par défaut de Windows (10).",
  }},
  {OwnText::ExplainSystemResponsiveness, {
    L"SystemResponsiveness = 0: 멀티미디어 스케줄러가 백그라운드 작업에 남겨 두는 프로세서 몫을 최소로 줄입니다(Windows는 0을 10%로 처리, 기본값: 20%). 버튼을 다시 누르면 Windows 기본값(20)으로 돌아갑니다.",
    L"SystemResponsiveness = 0: the multimedia scheduler keeps the smallest share of the processor for background tasks (Windows treats 0 as 10 %; default: 20 %). Pressing the button again restores Windows' default (20).",
    L"SystemResponsiveness = 0: マルチメディア スケジューラがバックグラウンド処理のために確保するプロセッサの割合を最小にします (Windows は 0 を 10% として扱います。既定値: 20%)。もう一度ボタンを押すと Windows の既定値 (20) に戻ります。",
    L"SystemResponsiveness = 0：多媒体调度程序为后台任务保留的处理器份额降到最低（Windows 将 0 视为 10%；默认值：20%）。再次按下按钮即可恢复 Windows 默认值（20）。",
    L"SystemResponsiveness = 0: планировщик мультимедиа оставляет фоновым задачам наименьшую долю процессора (Windows считает 0 за 10 %; по умолчанию: 20 %). Повторное нажатие кнопки возвращает значение Windows по умолчанию (20).",
    L"SystemResponsiveness = 0: l'utilità di pianificazione multimediale riserva alle attività in background la quota minima del processore (Windows tratta 0 come 10%; predefinito: 20%). Premendo di nuovo il pulsante si ripristina il valore predefinito di Windows (20).",
    L"SystemResponsiveness = 0 : le planificateur multimédia réserve aux tâches d'arrière-plan la plus petite part du processeur (Windows traite 0 comme 10 % ; par défaut : 20 %). Un nouvel appui sur le bouton rétablit la valeur par défaut de Windows (20).",
  }},
  {OwnText::ExplainStartApplies, {
    L"{adapter}에 체크한 설정을 기록하고 연결을 다시 시작한 뒤 네트워크가 응답할 때까지 기다립니다. 몇 초 동안 연결이 끊겨 게임, 통화, 다운로드가 중단됩니다.",
    L"Writes the checked settings for {adapter}, restarts its connection and waits until the network answers. The connection drops for a few seconds: games, calls and downloads are interrupted.",
    L"{adapter} にチェックした設定を書き込み、接続を再起動して、ネットワークが応答するまで待ちます。数秒間接続が切れるため、ゲーム、通話、ダウンロードが中断されます。",
    L"为 {adapter} 写入已勾选的设置，重新启动其连接，并等待网络响应。连接会断开几秒钟：游戏、通话和下载都会中断。",
    L"Записывает отмеченные настройки для адаптера {adapter}, перезапускает его подключение и ждёт, пока сеть ответит. Связь пропадёт на несколько секунд: игры, звонки и загрузки прервутся.",
    L"Scrive le impostazioni selezionate per la scheda {adapter}, riavvia la connessione e attende che la rete risponda. La connessione cade per alcuni secondi: giochi, chiamate e download si interrompono.",
    L"Écrit les réglages cochés pour l'adaptateur {adapter}, redémarre sa connexion et attend que le réseau réponde. La connexion est coupée quelques secondes : jeux, appels et téléchargements sont interrompus.",
  }},
  {OwnText::ExplainStartReverts, {
    L"설정이 적용되어 있습니다. 누르면 설정을 지우고 Windows 기본값으로 되돌린 뒤 {adapter}의 연결을 다시 시작합니다(몇 초 동안 오프라인).",
    L"The settings are applied. A press removes them, restores Windows' defaults and restarts the connection of {adapter} (a few seconds offline).",
    L"設定は適用されています。押すと設定を削除して Windows の既定値に戻し、{adapter} の接続を再起動します (数秒間オフラインになります)。",
    L"设置已应用。按下后将删除这些设置、恢复 Windows 默认值，并重新启动 {adapter} 的连接（断网几秒钟）。",
    L"Настройки применены. Нажатие удалит их, вернёт значения Windows по умолчанию и перезапустит подключение адаптера {adapter} (несколько секунд без сети).",
    L"Le impostazioni sono applicate. Premendo le si rimuove, si ripristinano i valori predefiniti di Windows e si riavvia la connessione della scheda {adapter} (alcuni secondi offline).",
    L"Les réglages sont appliqués. Un appui les retire, rétablit les valeurs par défaut de Windows et redémarre la connexion de l'adaptateur {adapter} (quelques secondes hors ligne).",
  }},
  {OwnText::TheActiveAdapter, {
    L"활성 네트워크 어댑터",
    L"the active network adapter",
    L"アクティブなネットワーク アダプター",
    L"当前活动的网络适配器",
    L"активной сети",
    L"di rete attiva",
    L"réseau actif",
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
  const std::size_t index =
      column == kLanguages.end()
          ? kEnglish
          : static_cast<std::size_t>(std::distance(kLanguages.begin(), column));
  for (const Row& row : kRows) {
    if (row.id == text) return row.texts[index];
  }
  return {};
}

}  // namespace tavrin

#include "app/main_window_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/application_title.h"
#include "app/error_dialog_win.h"
#include "app/main_window_fixture_win.h"
#include "base/dpi.h"
#include "base/text_encoding.h"
#include "build_config.h"
#include "i18n/own_texts.h"
#include "i18n/translation.h"
#include "settings/config.h"
#include "support/accessibility_win.h"
#include "support/gui_win.h"
#include "sys/file_version.h"

namespace tavrin::test {
namespace {

constexpr COLORREF kAccent = RGB(0x3D, 0x84, 0xDD);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct Placement {
  const char* name;
  Control* control;
  RECT rect;  // in the parent's client area
};

std::vector<Placement> DesignedPlacements(TFrmTavrin& f) {
  // The accent strip docks above the header, so everything docked moves down
  // by its 2 pixels and the pages lose them at the bottom.
  return {
      {"PnlHead", f.PnlHead, {0, 2, 498, 52}},
      {"BtnHead", f.BtnHead, {10, 10, 368, 40}},
      {"BtnHome", f.BtnHome, {10, 0, 80, 30}},
      {"BtnConfig", f.BtnConfig, {80, 0, 150, 30}},
      {"PnlLogo", f.PnlLogo, {378, 0, 498, 50}},
      {"ImgLogo", f.ImgLogo, {3, 0, 115, 50}},
      {"PnlMain", f.PnlMain, {0, 52, 498, 426}},
      {"Card1", f.Card1, {0, 0, 498, 374}},
      {"LblTitle", f.LblTitle, {8, 40, 492, 121}},
      {"LblContent", f.LblContent, {0, 188, 500, 221}},
      {"BtnStart", f.BtnStart, {176, 264, 338, 332}},
      {"Indicator", f.Indicator, {241, 282, 273, 314}},
      {"Card2", f.Card2, {0, 0, 498, 374}},
      {"GroupBox1", f.GroupBox1, {15, 6, 489, 73}},
      {"LblAdapter", f.LblAdapter, {17, 32, 321, 47}},
      {"LblIPAddress", f.LblIPAddress, {344, 32, 453, 47}},
      {"GroupBox2", f.GroupBox2, {15, 87, 489, 185}},
      {"ChkTCPAckFrequency", f.ChkTCPAckFrequency, {17, 32, 217, 49}},
      {"ChkTcpDelAckTick", f.ChkTcpDelAckTick, {243, 32, 443, 49}},
      {"ChkTcpNoDelay", f.ChkTcpNoDelay, {17, 64, 217, 81}},
      {"GroupBox3", f.GroupBox3, {15, 199, 489, 265}},
      {"ChkNetworkThrottlingIndex", f.ChkNetworkThrottlingIndex, {17, 32, 217, 49}},
      {"ChkSystemResponsiveness", f.ChkSystemResponsiveness, {243, 32, 443, 49}},
      {"LblVersion", f.LblVersion, {15, 344, 115, 359}},
  };
}

RECT Scaled(const RECT& r, int dpi) {
  const auto s = [dpi](LONG v) { return static_cast<LONG>(MulDivRounded(v, dpi, 96)); };
  return {s(r.left), s(r.top), s(r.right), s(r.bottom)};
}

// The settings page gets its windows when it first shows; this visits it and
// comes back home.
void VisitSettingsPage(TFrmTavrin& form) {
  form.BtnHomeClick(*form.BtnConfig);
  form.BtnHomeClick(*form.BtnHome);
}

void ExpectDesignedLayout(TFrmTavrin& form, int dpi) {
  VisitSettingsPage(form);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client, Scaled({0, 0, 498, 426}, dpi));
  for (const Placement& p : DesignedPlacements(form)) {
    // Docked controls follow their parent's scaled size; the rest scale on their own.
    EXPECT_EQ(RectInParent(p.control->Handle()), Scaled(p.rect, dpi)) << p.name << " at " << dpi;
  }
}

TEST_F(MainWindow, ControlsSitWhereTheyWereDesigned) {
  TFrmTavrin& form = Open();
  ExpectDesignedLayout(form, 96);

  const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

  RECT window;
  GetWindowRect(form.Handle(), &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(window.left + window.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(window.top + window.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
}

// Wine fixes the display's DPI at process start from the user's LogPixels:
// the test runs itself again with 144 set, and puts the old value back.
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kChildFlag[] = L"TAVRIN_TEST_AT_144_DPI";

DWORD RunSelfAt144Dpi(const char* filter) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  DWORD saved = 0, size = sizeof saved;
  const bool hadValue = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
  const DWORD dpi = 144;
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" +
                         std::wstring(filter, filter + std::strlen(filter));
  SetEnvironmentVariableW(kChildFlag, L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  DWORD code = 99;
  if (CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &child)) {
    WaitForSingleObject(child.hProcess, 60000);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  SetEnvironmentVariableW(kChildFlag, nullptr);
  if (hadValue) {
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                   sizeof saved);
  } else {
    RegDeleteValueW(key, L"LogPixels");
  }
  RegCloseKey(key);
  return code;
}

TEST_F(MainWindow, OpensScaledOnA144DpiDisplay) {
  if (!GetEnvironmentVariableW(kChildFlag, nullptr, 0)) {
    EXPECT_EQ(RunSelfAt144Dpi("MainWindow.OpensScaledOnA144DpiDisplay"), 0u);
    return;
  }
  ASSERT_EQ(GetDpiForSystem(), 144u);
  TFrmTavrin& form = Open();
  EXPECT_EQ(form.Dpi(), 144);
  ExpectDesignedLayout(form, 144);
  LOGFONTW title{};
  GetObjectW(form.LblTitle->CurrentFont(), sizeof title, &title);
  EXPECT_EQ(title.lfHeight, -89);  // 59 pixels at 96 dpi, scaled by 1.5 away from zero
}

TEST_F(MainWindow, TooltipsAreScaledOnA144DpiDisplay) {
  if (!GetEnvironmentVariableW(kChildFlag, nullptr, 0)) {
    EXPECT_EQ(RunSelfAt144Dpi("MainWindow.TooltipsAreScaledOnA144DpiDisplay"), 0u);
    return;
  }
  ASSERT_EQ(GetDpiForSystem(), 144u);
  TFrmTavrin& form = Open();
  ShowFocusCues(form.Handle());
  SetFocus(form.BtnStart->Handle());
  Pump();
  const HWND tip = ShownTooltip();
  ASSERT_NE(tip, nullptr);
  LOGFONTW shown{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(tip, WM_GETFONT, 0, 0)), sizeof shown, &shown);
  NONCLIENTMETRICSW at96{};
  at96.cbSize = sizeof at96;
  ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof at96, &at96, 0, 96));
  EXPECT_EQ(shown.lfHeight, MulDivRounded(at96.lfStatusFont.lfHeight, 144, 96));
}

TEST_F(MainWindow, ScalesAndLaysOutAgainWhenTheDpiChanges) {
  TFrmTavrin& form = Open();
  RECT suggested{0, 0, 800, 700};
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  // The client area follows the suggestion; everything inside scales.
  SetWindowPos(form.Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  // The settings page, shown for the first time, is made at the new DPI.
  VisitSettingsPage(form);
  for (const Placement& p : DesignedPlacements(form)) {
    if (p.control->GetAlign() != Align::None || p.control->Parent() == form.BtnHead) continue;
    EXPECT_EQ(RectInParent(p.control->Handle()), Scaled(p.rect, 144)) << p.name;
  }
  EXPECT_EQ(RectInParent(form.BtnConfig->Handle()), Scaled({80, 0, 150, 30}, 144));
}

TEST_F(MainWindow, ShowsItsTextsInEnglish) {
  TFrmTavrin& form = Open();
  VisitSettingsPage(form);
  EXPECT_EQ(WindowText(form.Handle()), L"Tavrin");
  EXPECT_EQ(ApplicationTitle, L"Tavrin");
  EXPECT_EQ(WindowText(form.BtnHome->Handle()), L"Home");
  EXPECT_EQ(WindowText(form.BtnConfig->Handle()), L"Config");
  EXPECT_EQ(WindowText(form.BtnStart->Handle()), L"Run");
  EXPECT_EQ(WindowText(form.LblTitle->Handle()), L"Tavrin");
  EXPECT_EQ(WindowText(form.GroupBox1->Handle()), L"Network Adapter");
  EXPECT_EQ(WindowText(form.GroupBox2->Handle()), L"Disable Nagle's algorithm");
  EXPECT_EQ(WindowText(form.GroupBox3->Handle()), L"Network Throttling Index");
  EXPECT_EQ(WindowText(form.ChkTcpDelAckTick->Handle()), L"TcpDelAckTick");
  EXPECT_EQ(WindowText(form.LblAdapter->Handle()), L"Test Ethernet");
  EXPECT_EQ(WindowText(form.LblIPAddress->Handle()), L"IP: 10.0.2.15");
  // The test program has no version resource.
  EXPECT_EQ(WindowText(form.LblVersion->Handle()), L"Version: 0.0.0.0");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindow, TranslatesEveryCaptionIntoTheInterfaceLanguage) {
  struct Case {
    const wchar_t* language;
    std::vector<std::wstring> captions;  // window, three header buttons, start, three groups
  };
  const Case cases[] = {
      {L"ja",
       {L"Tavrin", L"ホーム", L"設定", L"寄付", L"実行する", L"ネットワークアダプタ",
        L"ネイグルアルゴリズムを無効にする", L"ネットワークスロットリング指数"}},
      {L"ko",
       {L"Tavrin", L"처음화면", L"환경설정", L"후원하기", L"실행하기", L"네트워크 아답터 정보",
        L"네이글 알고리즘 해제", L"네트워크 쓰로틀링"}},
      {L"de",
       {L"Tavrin", L"Home", L"Config", L"Donate", L"Run", L"Network Adapter",
        L"Disable Nagle's algorithm", L"Network Throttling Index"}},
  };
  for (const Case& c : cases) {
    CurrentLanguage = c.language;
    TFrmTavrin& form = Open();
    VisitSettingsPage(form);
    const std::vector<std::wstring> shown{WindowText(form.Handle()),
                                          WindowText(form.BtnHome->Handle()),
                                          WindowText(form.BtnConfig->Handle()),
                                          WindowText(form.BtnDonate->Handle()),
                                          WindowText(form.BtnStart->Handle()),
                                          WindowText(form.GroupBox1->Handle()),
                                          WindowText(form.GroupBox2->Handle()),
                                          WindowText(form.GroupBox3->Handle())};
    EXPECT_EQ(shown, c.captions) << testing::PrintToString(std::wstring(c.language));
    EXPECT_EQ(WindowText(form.ChkTCPAckFrequency->Handle()), L"TcpAckFrequency");
    EXPECT_EQ(WindowText(form.LblVersion->Handle()), Translate(L"버전") + L": 0.0.0.0");
  }
}

// The shipped table spells the product name alike in every language; one that
// does not shows which rule each caption follows.
TEST_F(MainWindow, TheWindowTitleIsKoreanOnlyForKoreanUsersAndEnglishForEveryoneElse) {
  struct Case {
    const wchar_t* language;
    const wchar_t* title;  // window caption and application title
    const wchar_t* label;  // LblTitle, in the interface language
  };
  for (const Case c :
       {Case{L"ja", L"Tavrin (en)", L"Tavrin (ja)"}, Case{L"ko", L"Tavrin", L"Tavrin"},
        Case{L"de", L"Tavrin (en)", L"Tavrin (en)"}}) {
    LoadTranslationTable("ko=Tavrin\nen=Tavrin (en)\nja=Tavrin (ja)\n");
    CurrentLanguage = c.language;
    TFrmTavrin& form = Open();
    EXPECT_EQ(WindowText(form.Handle()), c.title) << testing::PrintToString(c.language);
    EXPECT_EQ(ApplicationTitle, c.title);
    EXPECT_EQ(WindowText(form.LblTitle->Handle()), c.label);
  }
}

TEST_F(MainWindow, PrepareTheWindowForItsFirstShow) {
  pick_ = 2;
  TFrmTavrin& form = Open();
  EXPECT_EQ(randomRanges_, std::vector<std::uint32_t>{3});
  EXPECT_EQ(
      form.LblContent->Markup(),
      L"<C><FC:clGray>Improve <B>game speed and stability</B> with simple settings.</FC></C>");
  EXPECT_FALSE(IsWindowVisible(form.Indicator->Handle()));
  EXPECT_FALSE(IsWindowVisible(form.BtnDonate->Handle()));
  EXPECT_TRUE(IsWindowVisible(form.Card1->Handle()));
  EXPECT_FALSE(form.Card2->Visible());
  EXPECT_EQ(form.Card2->Handle(), nullptr);  // made when first shown
  EXPECT_TRUE(form.BtnHome->Down());

  // The desktop font reaches everything but the title, which keeps its own.
  VisitSettingsPage(form);
  LOGFONTW desktop{};
  SystemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof desktop, &desktop, 0, 96);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ChkTcpNoDelay->Handle(), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, desktop.lfFaceName);
  EXPECT_EQ(font.lfHeight, desktop.lfHeight);
  EXPECT_EQ(form.LblTitle->Font().face, L"Tahoma");
  EXPECT_EQ(form.LblTitle->Font().Size(), 44);
}

TEST_F(MainWindow, EachTaglineCanBePicked) {
  const std::wstring expected[] = {
      L"<C><FC:clGray>Easily improve <B>game responsiveness</B>.</FC></C>",
      L"<C><FC:clGray>Minimize <B>latency</B> with an optimized network.</FC></C>",
      L"<C><FC:clGray>Improve <B>game speed and stability</B> with simple settings.</FC></C>"};
  for (std::uint32_t i = 0; i < 3; ++i) {
    pick_ = i;
    EXPECT_EQ(Open().LblContent->Markup(), expected[i]);
  }
}

TEST_F(MainWindow, HeaderButtonsSwitchPagesWithExactlyOnePressed) {
  TFrmTavrin& form = Open();
  SendMessageW(form.BtnConfig->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.PnlMain->ActiveCard(), 1u);
  EXPECT_TRUE(IsWindowVisible(form.Card2->Handle()));
  EXPECT_TRUE(form.BtnConfig->Down());
  EXPECT_FALSE(form.BtnHome->Down());
  ExpectButtonLook(form.BtnConfig->Handle(), {kAccent, kAccent, kWhite}, "current page");
  ExpectButtonLook(form.BtnHome->Handle(), {kWhite, kBlack, kBlack}, "other page");

  SendMessageW(form.BtnHome->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.PnlMain->ActiveCard(), 0u);
  EXPECT_TRUE(IsWindowVisible(form.Card1->Handle()));
  EXPECT_TRUE(form.BtnHome->Down());
  EXPECT_FALSE(form.BtnConfig->Down());
  EXPECT_TRUE(opened_.empty());
}

TEST_F(MainWindow, LinksGoToTheShellAndLeaveThePageAlone) {
  TFrmTavrin& form = Open();
  SendMessageW(form.BtnConfig->Handle(), BM_CLICK, 0, 0);
  SendMessageW(form.ImgLogo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(form.ImgLogo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  form.BtnHomeClick(*form.BtnDonate);  // hidden, but its handler still knows its link
  EXPECT_EQ(opened_,
            (std::vector<std::wstring>{std::wstring(build::kLinkUrl) + L"/tavrin",
                                       std::wstring(build::kLinkUrl) + L"/donate?tavrin"}));
  EXPECT_EQ(form.PnlMain->ActiveCard(), 1u);
  EXPECT_TRUE(form.BtnConfig->Down());
}

TEST_F(MainWindow, AccentStripTurnsGreyWhileInactive) {
  TFrmTavrin& form = Open();
  EXPECT_EQ(PixelAt(form.Handle(), 200, 0), kAccent);
  EXPECT_EQ(PixelAt(form.Handle(), 200, 1), kAccent);
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(PixelAt(form.Handle(), 200, 1), GetSysColor(COLOR_GRAYTEXT));
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
  EXPECT_EQ(PixelAt(form.Handle(), 200, 1), kAccent);
}

// The header and the pages are in the system's window colour, which follows
// the user's colour scheme; the window behind them is white.
TEST_F(MainWindow, HeaderAndPagesFollowTheSystemWindowColour) {
  const int element = COLOR_WINDOW;
  const COLORREF saved = GetSysColor(COLOR_WINDOW);
  const COLORREF scheme = RGB(255, 255, 224);
  ASSERT_TRUE(SetSysColors(1, &element, &scheme));
  TFrmTavrin& form = Open();
  const COLORREF head = PixelAt(form.PnlHead->Handle(), 5, 5);
  const COLORREF logo = PixelAt(form.PnlLogo->Handle(), 1, 1);
  const COLORREF home = PixelAt(form.Card1->Handle(), 5, 5);
  form.BtnHomeClick(*form.BtnConfig);
  const COLORREF settings = PixelAt(form.Card2->Handle(), 5, 5);
  SetSysColors(1, &element, &saved);
  EXPECT_EQ(head, scheme);
  EXPECT_EQ(logo, scheme);
  EXPECT_EQ(home, scheme);
  EXPECT_EQ(settings, scheme);
}

TEST_F(MainWindow, StartButtonRunsTheCycleWithIndicatorAndBoxesFollowing) {
  TFrmTavrin& form = Open();
  VisitSettingsPage(form);
  const HWND start = form.BtnStart->Handle();
  ExpectButtonLook(start, {kWhite, kAccent, kBlack}, "idle");

  clock_->HoldFirstSleep();
  SendMessageW(start, BM_CLICK, 0, 0);
  clock_->WaitUntilHeld();
  EXPECT_EQ(form.Controller().FStatus, stBusy);
  EXPECT_TRUE(IsWindowVisible(form.Indicator->Handle()));
  EXPECT_TRUE(form.Indicator->Animating());
  EXPECT_FALSE(IsWindowEnabled(start));
  EXPECT_EQ(WindowText(start), L"");
  EXPECT_FALSE(IsWindowEnabled(form.ChkSystemResponsiveness->Handle()));
  ExpectButtonLook(start, {kWhite, RGB(0xD7, 0xD7, 0xD7), kWhite}, "busy");
  SendMessageW(start, BM_CLICK, 0, 0);  // refused while busy
  clock_->Release();

  ASSERT_TRUE(SettlesIn(form.Controller(), stRunning));
  EXPECT_EQ(WindowText(start), L"Running");
  EXPECT_TRUE(form.BtnStart->Down());
  EXPECT_FALSE(IsWindowVisible(form.Indicator->Handle()));
  EXPECT_FALSE(form.Indicator->Animating());
  EXPECT_FALSE(IsWindowEnabled(form.ChkTcpNoDelay->Handle()));
  ExpectButtonLook(start, {kAccent, kAccent, kWhite}, "running");

  SendMessageW(start, BM_CLICK, 0, 0);
  EXPECT_EQ(form.Controller().FStatus, stBusy);
  ASSERT_TRUE(SettlesIn(form.Controller(), stIdle));
  EXPECT_EQ(WindowText(start), L"Run");
  EXPECT_FALSE(form.BtnStart->Down());
  EXPECT_TRUE(IsWindowEnabled(form.ChkTcpNoDelay->Handle()));
  EXPECT_EQ(connections_.calls.size(), 4u);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindow, StartButtonTurnsLighterUnderTheMouse) {
  TFrmTavrin& form = Open();
  const HWND start = form.BtnStart->Handle();
  POINT centre{81, 34};
  ClientToScreen(start, &centre);
  SetCursorPos(centre.x, centre.y);
  SendMessageW(start, WM_MOUSEMOVE, 0, MAKELPARAM(81, 34));
  ExpectButtonLook(start, {RGB(0x50, 0x90, 0xE0), kAccent, kWhite}, "hot");
  SetCursorPos(0, 0);
}

// Wine ignores MB_TOPMOST; the other flags show.
TEST_F(MainWindow, ErrorBoxCarriesTheWindowCaptionAnErrorIconAndComesForward) {
  TFrmTavrin& form = Open();
  const auto box = AnswerMessageBox([&] { form.ShowError(L"There are no active networks."); });
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, L"Tavrin");
  EXPECT_EQ(box->text, L"There are no active networks.");
  EXPECT_EQ(box->owner, form.Handle());
  EXPECT_TRUE(box->foreground);
  EXPECT_EQ(box->icon, LoadIconW(nullptr, IDI_ERROR));
}

TEST_F(MainWindow, AWronglyTypedSettingIsReportedOnceTheRestIsShown) {
  StoreSetting(L"tcpnodelay", reg::kDword, {0, 0, 0, 0});
  StoreSetting(L"status", reg::kSz, {'1', 0, 0, 0});
  const ErrorHandler recorder = SetErrorHandler(ShowErrorReport);
  const auto box = AnswerMessageBox([&] { Open(); });
  SetErrorHandler(recorder);

  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->text.find(L"status"), std::wstring::npos) << box->text;
  EXPECT_NE(box->text.find(L"FormCreate"), std::wstring::npos) << box->text;
  EXPECT_NE(box->title.find(L"Tavrin"), std::wstring::npos);

  TFrmTavrin& form = *form_;
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(WindowText(form.BtnHome->Handle()), L"Home");  // translated before the failure
  EXPECT_EQ(WindowText(form.BtnStart->Handle()), L"Run");
  // And the window still works.
  SendMessageW(form.BtnConfig->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.PnlMain->ActiveCard(), 1u);
  EXPECT_EQ(WindowText(form.LblVersion->Handle()), L"Version: 0.0.0.0");
  EXPECT_EQ(WindowText(form.LblAdapter->Handle()), L"Test Ethernet");
  // The readable choices were put back, the rest as their defaults.
  EXPECT_EQ(SendMessageW(form.ChkTCPAckFrequency->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(form.ChkTcpNoDelay->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // The check-in, the step after the failed one, never started.
  Pump(100);
  EXPECT_TRUE(http_->Calls().empty());
}

TEST_F(MainWindow, TheCheckInStartsLastAndAnAcceptedUpdateClosesTheWindow) {
  const std::wstring update = L"https://dl.example.test/setup.exe";
  for (const bool accept : {false, true}) {
    SCOPED_TRACE(accept ? "accepted" : "declined");
    http_ = std::make_shared<FakeHttp>(
        std::deque<std::optional<std::wstring>>{LR"({"update":")" + update + L"\"}"});
    acceptUpdate_ = accept;
    prompts_ = 0;
    opened_.clear();
    Open();  // an accepted update may close it before this returns
    PumpUntil([&] { return prompts_ != 0; });
    Pump(100);  // the window closes through its queue
    EXPECT_EQ(prompts_, 1);
    ASSERT_NE(shownOver_, nullptr);
    EXPECT_EQ(promptOwner_, shownOver_);
    ASSERT_EQ(http_->Calls().size(), 1u);
    EXPECT_EQ(http_->Calls()[0].url, std::wstring(build::kWebUrl) + L"/api.init.php");
    EXPECT_EQ(opened_, accept ? std::vector{update} : std::vector<std::wstring>{});
    EXPECT_EQ(IsWindow(shownOver_) != 0, !accept);
  }
}

TEST(ProgramVersion, TheProgramCarriesItsFileVersion) {
  EXPECT_EQ(GetFileVersion(TAVRIN_PROGRAM_FILE, L"%d.%d.%d.%d"), L"1.5.9.0");
  EXPECT_EQ(GetFileVersion(TAVRIN_PROGRAM_FILE, L"v%d-%d"), L"v1-5");
  EXPECT_EQ(GetFileVersion(L"Z:\\no\\such\\file.exe", L"%d.%d.%d.%d"), L"0.0.0.0");
}

// The shell picks the image nearest its need; scaled ones blur.
TEST(ProgramIcon, HoldsAnImageForEveryDisplayScale) {
  const HMODULE program = LoadLibraryExW(TAVRIN_PROGRAM_FILE, nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
  const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE width = directory[6 + 14 * i];  // 0 stands for 256
    sizes.push_back(width ? width : 256);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  for (const int size : sizes) {
    SCOPED_TRACE(size);
    const auto icon = static_cast<HICON>(
        LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(program);
}

// The start button and every option explain themselves in the interface
// language, in the tooltips the pointer and the keyboard focus show.
TEST_F(MainWindow, TheStartButtonAndEveryOptionExplainThemselvesInTheInterfaceLanguage) {
  for (const wchar_t* language : {L"en", L"ja", L"fr"}) {
    SCOPED_TRACE(WideToUtf8(language));
    CurrentLanguage = language;
    TFrmTavrin& form = Open();
    VisitSettingsPage(form);
    for (const Tweak& tweak : kTweaks) {
      const std::wstring explanation = OwnTranslate(tweak.explanation, language);
      const HWND box = form.Option(tweak.box).Handle();
      EXPECT_EQ(TooltipTexts(box), (std::vector<std::wstring>{explanation, explanation}))
          << WideToUtf8(tweak.caption);
      EXPECT_EQ(ReadAccessible(box).value_or(AccessibleFacts{}).description, explanation)
          << WideToUtf8(tweak.caption);
    }
    // The tooltip and what a screen reader reads as the description.
    const auto startTip = [&] {
      const std::vector<std::wstring> texts = TooltipTexts(form.BtnStart->Handle());
      const std::wstring description =
          ReadAccessible(form.BtnStart->Handle()).value_or(AccessibleFacts{}).description;
      EXPECT_EQ(texts.size(), 2u);
      for (const std::wstring& text : texts) EXPECT_EQ(text, description);
      return description;
    };
    const auto expected = [&](OwnText text) {
      std::wstring explanation = OwnTranslate(text, language);
      return explanation.replace(explanation.find(L"{adapter}"), 9, adapters_->name);
    };
    EXPECT_EQ(startTip(), expected(OwnText::ExplainStartApplies));
    SendMessageW(form.BtnStart->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(SettlesIn(form.Controller(), stRunning));
    EXPECT_EQ(startTip(), expected(OwnText::ExplainStartReverts));
    SendMessageW(form.BtnStart->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(SettlesIn(form.Controller(), stIdle));
    EXPECT_EQ(startTip(), expected(OwnText::ExplainStartApplies));
    form_.reset();
  }
}

TEST_F(MainWindow, WithoutAnAdapterTheStartButtonNamesTheActiveOne) {
  adapters_->found = false;
  TFrmTavrin& form = Open();
  const std::vector<std::wstring> texts = TooltipTexts(form.BtnStart->Handle());
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts.front().find(L"for the active network adapter,"), std::wstring::npos)
      << WideToUtf8(texts.front());
}

}  // namespace
}  // namespace tavrin::test

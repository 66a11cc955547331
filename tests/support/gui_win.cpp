#include "support/gui_win.h"

#include <commctrl.h>

#include <iterator>

#include "appearance/button_styles.h"
#include "widgets/gdiplus_win.h"
#include "widgets/high_contrast_win.h"

namespace tavrin::test {
namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    gdiplus_ = std::make_unique<GdiplusSession>();
    RegisterMorvaneStyles();
  }
  void TearDown() override { gdiplus_.reset(); }

 private:
  std::unique_ptr<GdiplusSession> gdiplus_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

void Pump(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (Form::HandleNavigationKey(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (milliseconds > 0) Sleep(5);
  } while (GetTickCount64() < end);
}

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limitMs);
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

namespace {

BOOL CALLBACK CollectTooltip(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring_view(name) == TOOLTIPS_CLASSW) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> ThreadTooltips() {
  std::vector<HWND> tips;
  EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&tips));
  return tips;
}

}  // namespace

std::vector<std::wstring> TooltipTexts(HWND control) {
  std::vector<std::wstring> texts;
  for (HWND tip : ThreadTooltips()) {
    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) continue;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    texts.emplace_back(text);
  }
  return texts;
}

HWND ShownTooltip() {
  for (HWND tip : ThreadTooltips()) {
    if (IsWindowVisible(tip)) return tip;
  }
  return nullptr;
}

void ShowFocusCues(HWND window) {
  SendMessageW(GetAncestor(window, GA_ROOT), WM_CHANGEUISTATE,
               MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void Activate(HWND window) {
  SetForegroundWindow(window);
  PumpUntil([window] { return GetForegroundWindow() == window; });
  Pump();
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (const WORD key : keys) add(key, 0);
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // Handed on by the system; then dispatched until none is left.
  for (int i = 0; i < 200 && !HIWORD(GetQueueStatus(QS_KEY)); ++i) Sleep(10);
  while (HIWORD(GetQueueStatus(QS_KEY))) Pump();
  Pump();
}

COLORREF PixelAt(HWND window, int x, int y) {
  UpdateWindow(GetAncestor(window, GA_ROOT));
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return color;
}

int CountPixels(HWND window, const RECT& area, COLORREF color) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) == color;
  }
  ReleaseDC(window, dc);
  return count;
}

DarkContrastTheme::DarkContrastTheme(bool on) {
  const std::array<COLORREF, kElements.size()> dark = {kWindow,        kText,     kHighlight,
                                                       kHighlightText, kGrayText, kHotLight};
  for (std::size_t i = 0; i < kElements.size(); ++i) saved_[i] = GetSysColor(kElements[i]);
  SetSysColors(kElements.size(), kElements.data(), dark.data());
  SetHighContrastSource([on] { return on; });
}

DarkContrastTheme::~DarkContrastTheme() {
  SetSysColors(kElements.size(), kElements.data(), saved_.data());
  SetHighContrastSource(nullptr);
}

KeyboardCues::KeyboardCues(bool always) {
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &saved_, 0);
  SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{always}), 0);
}

KeyboardCues::~KeyboardCues() {
  SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{saved_}), 0);
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectButtonLook(HWND button, const ButtonLook& look, const char* what) {
  SCOPED_TRACE(what);
  RECT client;
  GetClientRect(button, &client);
  EXPECT_EQ(PixelAt(button, 6, 6), look.face);
  // Wine's GDI+ puts a one-pixel edge a pixel further in than Windows does.
  const RECT leftEdge{0, client.bottom / 2, 2, client.bottom / 2 + 1};
  EXPECT_GT(CountPixels(button, leftEdge, look.edge), 0);
  const RECT text{client.right / 4, 4, client.right * 3 / 4, client.bottom - 4};
  EXPECT_GT(CountPixels(button, text, look.caption), 0);
}

namespace {

std::optional<SeenMessageBox> seenBox;

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON*>(found) =
      reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  return FALSE;
}

HICON BoxIcon(HWND box) {
  HICON icon = nullptr;
  EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
  return icon;
}

BOOL CALLBACK AnswerIfMessageBox(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  seenBox =
      SeenMessageBox{WindowText(window), WindowText(GetDlgItem(window, 0xFFFF)),
                     GetWindow(window, GW_OWNER), GetForegroundWindow() == window, BoxIcon(window)};
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK LookForMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), AnswerIfMessageBox, 0);
  if (seenBox) KillTimer(nullptr, timer);
}

}  // namespace

std::optional<SeenMessageBox> AnswerMessageBox(const std::function<void()>& show) {
  seenBox.reset();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookForMessageBox);
  show();
  KillTimer(nullptr, timer);
  return seenBox;
}

void GuiTest::SetUp() {
  previous_ = SetErrorHandler([this](const ErrorReport& report) { errors_.push_back(report); });
}

void GuiTest::TearDown() { SetErrorHandler(previous_); }

}  // namespace tavrin::test

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/notice_link_win.h"
#include "app/update_dialog.h"
#include "base/dpi.h"
#include "base/owners_win.h"
#include "service/update_prompt.h"
#include "widgets/high_contrast_win.h"

namespace tavrin {
namespace {

constexpr int kMessageId = 100;
constexpr int kSeparatorId = 101;
constexpr int kHoldBoxId = 102;
constexpr int kLinkId = 103;
constexpr wchar_t kHintProperty[] = L"TavrinHint";
constexpr COLORREF kSeparatorColor = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kLinkColor = RGB(0x00, 0x00, 0xFF);

// While the prompt is up, the thread's other windows take no input, as with
// any modal box; they are enabled again before the prompt goes.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() {
    EnumThreadWindows(GetCurrentThreadId(), &Disable, reinterpret_cast<LPARAM>(&disabled_));
  }
  ~ThreadWindowsDisabled() { Restore(); }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
  void Restore() {
    for (HWND window : disabled_) EnableWindow(window, TRUE);
    disabled_.clear();
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

struct DialogState {
  DialogState(const UpdateDialogOptions& options, UpdateInfo info)
      : options(options), info(std::move(info)) {}

  const UpdateDialogOptions& options;
  UpdateInfo info;
  ThreadWindowsDisabled* disabled = nullptr;
  int dpi = USER_DEFAULT_SCREEN_DPI;
  FontHandle font;
  FontHandle linkFont;
  BrushHandle separatorBrush{CreateSolidBrush(kSeparatorColor)};
  IconHandle icon;
  RECT iconRect{};
  HWND message = nullptr;
  HWND yes = nullptr;
  HWND no = nullptr;
  HWND separator = nullptr;
  HWND holdBox = nullptr;
  HWND link = nullptr;
  std::optional<NoticeLink> noticeLink;
  bool holdTicked = false;

  int S(int pixels) const { return ScaleForDpi(pixels, dpi); }
};

}  // namespace

// Click handler of controls that carry a link as their hint.
class TFormHelper {
 public:
  static void SetHint(HWND control, const std::wstring& hint) {
    SetPropW(control, kHintProperty, const_cast<std::wstring*>(&hint));
  }
  // The offer leaves a link empty when it is not a web page: that opens nothing.
  static void OpenURL(HWND control, const std::function<void(const std::wstring&)>& shellOpen) {
    const auto* hint = static_cast<const std::wstring*>(GetPropW(control, kHintProperty));
    if (hint != nullptr && !hint->empty()) shellOpen(*hint);
  }
  static void ClearHint(HWND control) { RemovePropW(control, kHintProperty); }
};

namespace {

// Layout distances at 96 dpi.
constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kMaxTextWidth = 400;
constexpr int kTextSlack = 4;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kButtonTextPadding = 10;  // above and below the caption, together
constexpr int kButtonPadding = 24;
constexpr int kButtonGap = 8;
constexpr int kButtonsAbove = 20;
constexpr int kButtonsBelow = 14;
constexpr int kHoldBoxHeight = 17;
constexpr int kHoldBoxTextPadding = 2;

FontHandle MessageFont(int dpi, bool underline) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return FontHandle(
        static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // deleting it is a no-op
  }
  metrics.lfMessageFont.lfUnderline = underline;
  return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE MeasureText(HWND window, HFONT font, const std::wstring& text, int maxWidth, UINT flags) {
  const WindowDc dc(window);
  const SelectObjectScope selected(dc.Get(), font);
  RECT rect{0, 0, maxWidth, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
            flags | DT_CALCRECT | DT_NOPREFIX);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style,
                int id) {
  return CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         dialog, reinterpret_cast<HMENU>(INT_PTR{id}), GetModuleHandleW(nullptr),
                         nullptr);
}

void Place(HWND control, int left, int top, int width, int height) {
  SetWindowPos(control, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The controls, without place or font: LayOut gives them those.
void AddControls(HWND dialog, DialogState& state) {
  const std::wstring& language = state.options.language;
  state.message = AddControl(dialog, L"STATIC", UpdatePromptText(kPromptMessage, language),
                             SS_LEFT | SS_NOPREFIX, kMessageId);
  state.yes = AddControl(dialog, L"BUTTON", UpdatePromptText(kPromptYes, language),
                         BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES);
  state.no = AddControl(dialog, L"BUTTON", UpdatePromptText(kPromptNo, language),
                        BS_PUSHBUTTON | WS_TABSTOP, IDNO);
  const UpdateInfo& info = state.info;
  if (info.style.empty()) return;
  state.separator = AddControl(dialog, L"STATIC", L"", SS_LEFT, kSeparatorId);
  if (info.style == L"hold") {
    state.holdBox =
        AddControl(dialog, L"BUTTON", info.text, BS_AUTOCHECKBOX | WS_TABSTOP, kHoldBoxId);
  } else if (info.style == L"note") {
    state.link =
        AddControl(dialog, L"STATIC", info.text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, kLinkId);
    TFormHelper::SetHint(state.link, info.url);
    state.noticeLink.emplace(state.link, kLinkId, state.options.language);
  }
}

// Scaled down from the largest image rather than up from a small one. Only
// the common controls of version 6 have the call: looked up, not imported.
IconHandle WarningIcon(int size) {
  using LoadScaledDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  HICON icon = nullptr;
  const auto load = reinterpret_cast<LoadScaledDown>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"),
                                             "LoadIconWithScaleDown")));
  if (load == nullptr || FAILED(load(nullptr, IDI_WARNING, size, size, &icon))) {
    icon = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, size, size, 0));
  }
  return IconHandle(icon);
}

// Fonts and the icon for the dpi in state.
void LoadDpiResources(HWND dialog, DialogState& state) {
  state.font = MessageFont(state.dpi, false);
  if (state.link != nullptr) state.linkFont = MessageFont(state.dpi, true);
  state.icon = WarningIcon(state.S(kIconSize));
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const HFONT font = child == state.link ? state.linkFont.get() : state.font.get();
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

// Icon, message and the two buttons; returns the client size they need.
SIZE LayOutMessage(HWND dialog, DialogState& state) {
  const std::wstring& language = state.options.language;
  const std::wstring message = UpdatePromptText(kPromptMessage, language);
  const SIZE text = MeasureText(dialog, state.font.get(), message, state.S(kMaxTextWidth),
                                DT_WORDBREAK | DT_EXPANDTABS);
  const int textLeft = state.S(kMargin + kIconSize + kIconGap);
  state.iconRect = {state.S(kMargin), state.S(kMargin), state.S(kMargin + kIconSize),
                    state.S(kMargin + kIconSize)};
  // A little slack: the control must not wrap what the measure kept on a line.
  Place(state.message, textLeft, state.S(kMargin), text.cx + state.S(kTextSlack), text.cy);

  const int contentBottom = std::max<int>(state.iconRect.bottom, state.S(kMargin) + text.cy);
  const int buttonTop = contentBottom + state.S(kButtonsAbove);
  // Wide and tall enough for the captions in the user's font, however large.
  int buttonWidth = state.S(kButtonWidth);
  int buttonHeight = state.S(kButtonHeight);
  const std::wstring captions[] = {UpdatePromptText(kPromptYes, language),
                                   UpdatePromptText(kPromptNo, language)};
  for (const std::wstring& caption : captions) {
    const SIZE size = MeasureText(dialog, state.font.get(), caption, 0, DT_SINGLELINE);
    buttonWidth = std::max<int>(buttonWidth, size.cx + state.S(kButtonPadding));
    buttonHeight = std::max<int>(buttonHeight, size.cy + state.S(kButtonTextPadding));
  }
  const int buttonsWidth = 2 * buttonWidth + state.S(kButtonGap);
  const int width =
      std::max<int>(textLeft + text.cx + state.S(kTextSlack), buttonsWidth) + state.S(kMargin);
  const int yesLeft = width - state.S(kMargin) - buttonsWidth;
  Place(state.yes, yesLeft, buttonTop, buttonWidth, buttonHeight);
  Place(state.no, yesLeft + buttonWidth + state.S(kButtonGap), buttonTop, buttonWidth,
        buttonHeight);
  return {width, buttonTop + buttonHeight + state.S(kButtonsBelow)};
}

// The separator and the hold box or link label at the foot of the grown box,
// whose client area ends `clientBottom` in; how much further down the
// control reaches, which a font larger than the layout's needs.
int LayOutNotice(HWND dialog, DialogState& state, int width, int height, int clientBottom) {
  const NoticePlacement place = PlaceNotice(state.dpi, height, state.options.heightAdjust);
  Place(state.separator, 0, place.separatorTop, width, 1);
  int controlHeight = 0;
  if (state.holdBox != nullptr) {
    const int textHeight =
        MeasureText(dialog, state.font.get(), state.info.text, 0, DT_SINGLELINE).cy;
    controlHeight =
        std::max<int>(state.S(kHoldBoxHeight), textHeight + state.S(kHoldBoxTextPadding));
    Place(state.holdBox, place.controlLeft, place.controlTop, width, controlHeight);
  } else if (state.link != nullptr) {
    const SIZE size =
        MeasureText(dialog, state.linkFont.get(), state.info.text, 0, DT_SINGLELINE);
    controlHeight = size.cy;
    Place(state.link, place.controlLeft, place.controlTop, size.cx, size.cy);
  }
  return std::max(0, place.controlTop + controlHeight - clientBottom);
}

// Everything sized for `dpi`; the outer size that needs.
SIZE LayOut(HWND dialog, DialogState& state, int dpi) {
  state.dpi = dpi;
  LoadDpiResources(dialog, state);
  const SIZE client = LayOutMessage(dialog, state);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectExForDpi(&frame, GetWindowLongW(dialog, GWL_STYLE), FALSE,
                           GetWindowLongW(dialog, GWL_EXSTYLE), state.dpi);
  const int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  if (state.separator != nullptr) {
    const int frameHeight = height - client.cy;  // title bar and borders
    height += NoticeGrowth(state.dpi, state.options.heightAdjust);
    // Placed from the foot as the layout has it; the box grows below if it must.
    height += LayOutNotice(dialog, state, width, height, height - frameHeight);
  }
  return {width, height};
}

void Build(HWND dialog, DialogState& state) {
  SetWindowTextW(dialog, state.options.caption.c_str());
  AddControls(dialog, state);
  const SIZE size = LayOut(dialog, state, static_cast<int>(GetDpiForWindow(dialog)));
  SendMessageW(dialog, DM_SETDEFID, IDYES, 0);
  SetFocus(state.yes);
  const HWND order = state.info.StayOnTop() ? HWND_TOPMOST : HWND_TOP;
  SetWindowPos(dialog, order, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, size.cx, size.cy, SWP_NOACTIVATE);
}

// Moved to a monitor of another scale: laid out anew where Windows suggests.
void DpiChanged(HWND dialog, DialogState& state, int dpi, const RECT& suggested) {
  const SIZE size = LayOut(dialog, state, dpi);
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(dialog, nullptr, TRUE);
}

void Finish(HWND dialog, DialogState& state, INT_PTR answer) {
  state.holdTicked =
      state.holdBox != nullptr && SendMessageW(state.holdBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (state.link != nullptr) TFormHelper::ClearHint(state.link);
  state.disabled->Restore();  // before the box goes, so the main window gets the activation
  EndDialog(dialog, answer);
}

// White with the program's grey and blue, or the contrast theme's pairs.
HBRUSH BackgroundBrush() {
  return HighContrastOn() ? GetSysColorBrush(COLOR_WINDOW)
                          : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

INT_PTR Colors(const DialogState& state, HDC dc, HWND control) {
  const bool contrast = HighContrastOn();
  if (control == state.separator) {
    return reinterpret_cast<INT_PTR>(contrast ? GetSysColorBrush(COLOR_WINDOWTEXT)
                                              : state.separatorBrush.get());
  }
  const COLORREF link = contrast ? GetSysColor(COLOR_HOTLIGHT) : kLinkColor;
  SetTextColor(dc, control == state.link ? link : GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, contrast ? GetSysColor(COLOR_WINDOW) : RGB(0xFF, 0xFF, 0xFF));
  return reinterpret_cast<INT_PTR>(BackgroundBrush());
}

INT_PTR Handle(HWND dialog, DialogState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(BackgroundBrush());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return Colors(state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(dialog, &paint);
      // At its own size, which is the dpi's: stretching would blur it.
      DrawIconEx(dc, state.iconRect.left, state.iconRect.top, state.icon.get(), 0, 0, 0, nullptr,
                 DI_NORMAL);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_DPICHANGED:
      DpiChanged(dialog, state, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return FALSE;
    case WM_SETCURSOR:
      if (state.link != nullptr && reinterpret_cast<HWND>(wParam) == state.link) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
          Finish(dialog, state, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Esc and the close box
          Finish(dialog, state, IDNO);
          return TRUE;
        case kLinkId:
          if (HIWORD(wParam) == STN_CLICKED)
            TFormHelper::OpenURL(state.link, state.options.shellOpen);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  try {
    if (message == WM_INITDIALOG) {
      Build(dialog, *state);
      return FALSE;  // the focus is set: Yes
    }
    return Handle(dialog, *state, message, wParam, lParam);
  } catch (...) {
    // Nothing may cross the window procedure; a failed step leaves the box
    // answerable, and a box that cannot be built answers No.
    if (message == WM_INITDIALOG) Finish(dialog, *state, IDNO);
    return FALSE;
  }
}

// An empty dialog; the controls are made and placed in WM_INITDIALOG.
struct alignas(DWORD) EmptyDialog {
  DLGTEMPLATE head{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 0, 0, 0};
  WORD menu = 0;
  WORD windowClass = 0;
  WORD title = 0;
};

}  // namespace

bool UpdateDialog(const std::wstring& reply, const UpdateDialogOptions& options) {
  ThreadWindowsDisabled disabled;
  DialogState state{options, ReadUpdateOffer(reply).info};
  state.disabled = &disabled;
  static const EmptyDialog kTemplate;
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &kTemplate.head, options.owner,
                                                 DialogProc, reinterpret_cast<LPARAM>(&state));
  if (state.holdTicked && options.sendHold) options.sendHold();
  return answer == IDYES;
}

}  // namespace tavrin

#include "widgets/hints_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/dpi.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kSubclassId = 0x48494E54;  // "HINT"
constexpr int kGap = 4;                       // between control and tip, at 96 dpi
constexpr int kMaxTipWidth = 320;             // lines wrap beyond it, at 96 dpi

HWND CreateTip(HWND owner) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

// One tool per control and tip, named by the control's window; the pointer's
// tip watches the control's mouse messages itself, the focus tip is placed
// by hand.
TTTOOLINFOW ToolOf(HWND control, UINT flags, const std::wstring* text = nullptr) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | flags;
  tool.hwnd = control;  // its notifications come to the control, where they are placed
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text ? const_cast<wchar_t*>(text->c_str()) : nullptr;
  return tool;
}

bool HasTool(HWND tip, HWND control) {
  TTTOOLINFOW tool = ToolOf(control, 0);
  return SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void SetTool(HWND tip, HWND control, UINT flags, const std::wstring& text) {
  TTTOOLINFOW tool = ToolOf(control, flags, &text);
  const UINT message = HasTool(tip, control) ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW;
  SendMessageW(tip, message, 0, reinterpret_cast<LPARAM>(&tool));
}

void RemoveTool(HWND tip, HWND control) {
  TTTOOLINFOW tool = ToolOf(control, 0);
  SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The keyboard shows where the focus is unless the window hides it until
// the keyboard is used.
bool FocusCueShown(HWND control) {
  return (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

SIZE SizeOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

Hints::Hints(HWND owner) {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  pointerTip_ = CreateTip(owner);
  focusTip_ = CreateTip(owner);
  // The explanations are long: keep each one up while it is read.
  SendMessageW(pointerTip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(SHRT_MAX, 0));
}

Hints::~Hints() {
  for (HWND tip : {pointerTip_, focusTip_}) {
    if (IsWindow(tip)) DestroyWindow(tip);
  }
}

void Hints::Set(HWND control, const std::wstring& text) {
  if (text.empty()) {
    Remove(control);
    return;
  }
  SetTool(pointerTip_, control, TTF_SUBCLASS, text);
  SetTool(focusTip_, control, TTF_TRACK | TTF_ABSOLUTE, text);
  SetWindowSubclass(control, &Hints::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (GetFocus() == control) ShowForFocus(control);
}

void Hints::HideFocusTip(HWND control) {
  TTTOOLINFOW tool = ToolOf(control, 0);
  SendMessageW(focusTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void Hints::Remove(HWND control) {
  HideFocusTip(control);
  RemoveTool(pointerTip_, control);
  RemoveTool(focusTip_, control);
  RemoveWindowSubclass(control, &Hints::ControlProc, kSubclassId);
}

LRESULT CALLBACK Hints::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR self) noexcept {
  return reinterpret_cast<Hints*>(self)->HandleControlMessage(control, message, wParam, lParam);
}

LRESULT Hints::HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != pointerTip_ || header->code != TTN_SHOW) break;
      HideFocusTip(control);  // one explanation at a time: the pointer's wins
      UseFontFor(control);
      const POINT at = PlaceBeside(control, SizeOf(pointerTip_));
      SetWindowPos(pointerTip_, nullptr, at.x, at.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;  // placed here, not under the pointer
    }
    case WM_SETFOCUS:
      if (FocusCueShown(control)) ShowForFocus(control);
      break;
    case WM_UPDATEUISTATE:
      if (GetFocus() == control && (HIWORD(wParam) & UISF_HIDEFOCUS) != 0) {
        // The keyboard came into use while it had the focus, or went out of use.
        if (LOWORD(wParam) == UIS_CLEAR) ShowForFocus(control);
        if (LOWORD(wParam) == UIS_SET) HideFocusTip(control);
      }
      break;
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
      HideFocusTip(control);
      break;
    case WM_NCDESTROY:
      Remove(control);
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

void Hints::ShowForFocus(HWND control) {
  UseFontFor(control);
  TTTOOLINFOW tool = ToolOf(control, 0);
  SendMessageW(pointerTip_, TTM_POP, 0, 0);
  const auto size = static_cast<DWORD>(
      SendMessageW(focusTip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
  const POINT at = PlaceBeside(control, {LOWORD(size), HIWORD(size)});
  SendMessageW(focusTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(focusTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

POINT Hints::PlaceBeside(HWND control, SIZE tip) const {
  RECT rect;
  GetWindowRect(control, &rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  const int gap = MulDivRounded(kGap, fontDpi_, USER_DEFAULT_SCREEN_DPI);
  LONG top = rect.bottom + gap;
  if (top + tip.cy > area.bottom) top = rect.top - gap - tip.cy;  // no room below
  const LONG left = std::clamp(rect.left, area.left, std::max(area.left, area.right - tip.cx));
  return {left, top};
}

// The system's tooltip font at the control's display scale.
void Hints::UseFontFor(HWND control) {
  const int dpi = static_cast<int>(GetDpiForWindow(control));
  if (dpi == fontDpi_) return;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                  static_cast<UINT>(dpi))) {
    return;
  }
  FontHandle font(CreateFontIndirectW(&metrics.lfStatusFont));
  const int width = MulDivRounded(kMaxTipWidth, dpi, USER_DEFAULT_SCREEN_DPI);
  for (HWND tip : {pointerTip_, focusTip_}) {
    SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, width);
  }
  font_ = std::move(font);
  fontDpi_ = dpi;
}

}  // namespace tavrin

#include "widgets/form_win.h"

#include "base/dpi.h"

namespace tavrin {
namespace {

// A window of this size in the middle of the monitor's work area.
RECT CentredIn(HMONITOR monitor, LONG width, LONG height) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& area = info.rcWork;
  const LONG left = area.left + (area.right - area.left - width) / 2;
  const LONG top = area.top + (area.bottom - area.top - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace

Form::Form(std::wstring name, int clientWidth, int clientHeight)
    : Control(std::move(name), nullptr, {0, 0, clientWidth, clientHeight}),
      dpi_(static_cast<int>(GetDpiForSystem())) {}

DWORD Form::Style() const {
  const DWORD frame = borderStyle_ == BorderStyle::None
                          ? WS_POPUP
                          : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return frame | WS_CLIPCHILDREN;
}

RECT Form::OuterRect(int dpi) const {
  RECT rect{0, 0, MulDivRounded(Bounds().width, dpi, USER_DEFAULT_SCREEN_DPI),
            MulDivRounded(Bounds().height, dpi, USER_DEFAULT_SCREEN_DPI)};
  AdjustWindowRectExForDpi(&rect, Style(), FALSE, ExStyle(), static_cast<UINT>(dpi));
  return rect;
}

RECT Form::InitialRect() const {
  const RECT outer = OuterRect(dpi_);
  // Made where it first shows, so that showing it moves nothing.
  return CentredIn(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), outer.right - outer.left,
                   outer.bottom - outer.top);
}

void Form::SetBorderStyle(BorderStyle style) {
  borderStyle_ = style;
  if (!Handle()) return;
  RECT client;
  GetClientRect(Handle(), &client);
  POINT origin{0, 0};
  ClientToScreen(Handle(), &origin);
  SetWindowLongPtrW(Handle(), GWL_STYLE,
                    static_cast<LONG_PTR>(Style()) | (IsWindowVisible(Handle()) ? WS_VISIBLE : 0));
  // Keep the client area where and as large as it was.
  RECT outer{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  AdjustWindowRectExForDpi(&outer, Style(), FALSE, ExStyle(), static_cast<UINT>(dpi_));
  SetWindowPos(Handle(), nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Form::Show() {
  if (!shown_) {
    shown_ = true;
    RECT window;
    GetWindowRect(Handle(), &window);
    const RECT centred = CentredIn(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY),
                                   window.right - window.left, window.bottom - window.top);
    if (!EqualRect(&window, &centred)) {
      SetWindowPos(Handle(), nullptr, centred.left, centred.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

Hints* Form::OwnHints() {
  if (!hints_ && Handle()) hints_ = std::make_unique<Hints>(Handle());
  return hints_.get();
}

void Form::Close() {
  if (Handle()) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void Form::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  RefreshFonts();
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The client area may keep its size in pixels while everything inside scales.
  Realign();
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const std::optional<LRESULT> result = KeyboardMessage(message, wParam)) return *result;
  switch (message) {
    case WM_CREATE:
      if (const int dpi = static_cast<int>(GetDpiForWindow(Handle())); dpi != dpi_) {
        dpi_ = dpi;
        const RECT outer = OuterRect(dpi);
        SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam != SPI_SETHIGHCONTRAST) break;
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
      // A contrast theme came or went: everything drawn here changes colour.
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_CLOSE:
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      if (mainForm_) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      hints_.reset();  // the controls it explained have gone
      break;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrin

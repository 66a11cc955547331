#include "widgets/press_tracker_win.h"

#include <windowsx.h>

namespace tavrin {
namespace {

bool Inside(HWND window, LPARAM lParam) {
  RECT client;
  GetClientRect(window, &client);
  return PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

}  // namespace

PressTracker::Outcome PressTracker::OnMouse(HWND window, UINT message, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(window);
      captured_ = pressed_ = true;
      return Outcome::kChanged;
    case WM_MOUSEMOVE:
      if (!captured_) return Outcome::kNone;
      pressed_ = Inside(window, lParam);
      return Outcome::kChanged;
    case WM_LBUTTONUP: {
      if (!captured_) return Outcome::kNone;
      const bool inside = Inside(window, lParam);
      Cancel(window);
      return inside ? Outcome::kClicked : Outcome::kChanged;
    }
    case WM_CAPTURECHANGED:
      captured_ = pressed_ = false;
      return Outcome::kChanged;
  }
  return Outcome::kNone;
}

void PressTracker::Cancel(HWND window) {
  // The capture change that follows ends the press.
  if (GetCapture() == window) ReleaseCapture();
  captured_ = pressed_ = false;
}

}  // namespace tavrin

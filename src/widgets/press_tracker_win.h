#pragma once

#include <windows.h>

namespace tavrin {

// A press of the left mouse button on a control, followed to its release. The
// control holds the mouse while pressed, so the release comes to it wherever it
// happens; it is a click only when released over the control.
class PressTracker {
 public:
  enum class Outcome { kNone, kChanged, kClicked };

  // Feed it the control's WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP and
  // WM_CAPTURECHANGED. On kClicked the press is over and the control's
  // click may run; anything else is kNone.
  Outcome OnMouse(HWND window, UINT message, LPARAM lParam);
  // Gives the mouse back, ending a press without a click.
  void Cancel(HWND window);

  // Held down with the mouse over the control.
  bool Pressed() const { return pressed_; }

 private:
  bool captured_ = false;
  bool pressed_ = false;
};

}  // namespace tavrin

#pragma once

#include <windows.h>

#include <string>

#include "base/owners_win.h"

// The system's tooltips that explain the controls of one window: shown when
// the pointer rests on a control and while a control has the keyboard focus,
// placed below it (above it where the screen ends), so they never cover it.
namespace tavrin {

class Hints {
 public:
  explicit Hints(HWND owner);
  ~Hints();
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;

  // Gives `control` this explanation; an empty text takes it away. The
  // control's window may go at any time: its tips go with it.
  void Set(HWND control, const std::wstring& text);

  // The two tooltip windows: the one the pointer shows, the one the focus shows.
  HWND PointerTip() const { return pointerTip_; }
  HWND FocusTip() const { return focusTip_; }

 private:
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
  LRESULT HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  void Remove(HWND control);
  void ShowForFocus(HWND control);
  void HideFocusTip(HWND control);
  // Where a tip of this size goes so that it leaves the control uncovered.
  POINT PlaceBeside(HWND control, SIZE tip) const;
  void UseFontFor(HWND control);

  HWND pointerTip_;
  HWND focusTip_;
  FontHandle font_;
  int fontDpi_ = 0;
};

}  // namespace tavrin

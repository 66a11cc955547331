#pragma once

#include <memory>
#include <optional>

#include "widgets/control_win.h"

namespace tavrin {

enum class BorderStyle { Single, None };

// A top-level window of fixed client size: caption, system menu and minimise
// box, no maximise box; centred on its screen when first shown; follows the
// DPI of the monitor it is on.
//
// It leads the keyboard as a dialog box would: Tab and Shift+Tab go round
// the tab stops, the arrows among neighbouring ones, Ctrl+Tab and
// Ctrl+Shift+Tab switch pages. It keeps the focus across deactivation, takes
// it from a control that hides (to the next tab stop) or is disabled (to
// itself, giving it back when that control is enabled again while nothing
// else took it), and keeps the keyboard-cue state of every window inside:
// focus marks hide until the keyboard is used, unless the user's setting
// shows them always.
class Form : public Control {
 public:
  Form(std::wstring name, int clientWidth, int clientHeight);
  // The window goes while the form's own state and its hooks still stand.
  ~Form() override { DestroyHandle(); }

  bool IsForm() const override { return true; }
  int Dpi() const override { return dpi_; }

  BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  // The message loop ends when this form's window is destroyed.
  void SetMainForm(bool main) { mainForm_ = main; }

  void Show();
  void Close();

  // For the message loop, before a message is translated: takes the keys
  // that move the focus or switch pages, for whichever form the message's
  // window is in. True when the key was taken.
  static bool HandleNavigationKey(const MSG& message);
  // The control that takes the focus when the window first gets it.
  void SetFirstFocus(Control* control) { firstFocus_ = control; }
  bool FocusCuesShown() const override { return !(uiState_ & UISF_HIDEFOCUS); }

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.Form"; }
  DWORD Style() const override;
  DWORD ExStyle() const override { return WS_EX_APPWINDOW; }
  RECT InitialRect() const override;
  // The window title, which the interface translation reaches by name.
  bool PublishesCaption() const override { return true; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Hints* OwnHints() override;
  // Ctrl+Tab (forward) and Ctrl+Shift+Tab; false when there are no pages.
  virtual bool SwitchPage(bool /*forward*/) { return false; }
  void FocusLeaving(Control& leaving, bool disabled) override;
  void FocusReturning(Control& returning) override;

 private:
  RECT OuterRect(int dpi) const;
  void DpiChanged(int dpi, const RECT& suggested);
  bool NavigationKey(WPARAM key);
  // Tab order, from the focused control; wraps round.
  void MoveFocus(bool forward);
  // Among the tab stops that share the focused control's parent.
  void MoveFocusAmongNeighbours(bool forward);
  void TakeFocus();
  void ChangeUiState(WORD action, WORD flags);
  void UpdateUiState(WPARAM wParam);
  // The messages of the focus and the cue state; nothing for the others.
  std::optional<LRESULT> KeyboardMessage(UINT message, WPARAM wParam);

  int dpi_;
  BorderStyle borderStyle_ = BorderStyle::Single;
  bool mainForm_ = false;
  bool shown_ = false;
  std::unique_ptr<Hints> hints_;  // made with the first hint, gone with the window
  Control* firstFocus_ = nullptr;
  HWND savedFocus_ = nullptr;  // the focus when the window was last deactivated
  HWND parkedFrom_ = nullptr;  // a disabled control that had the focus
  WORD uiState_ = 0;
};

}  // namespace tavrin

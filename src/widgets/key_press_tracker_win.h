#pragma once

#include <windows.h>

namespace tavrin {

// Enter and Space on a control that acts as a button, as a system button
// takes them: Enter clicks at once, Space presses on the way down and clicks
// on the way up. Auto-repeat adds nothing, and a Space already held when the
// focus came clicks nothing.
class KeyPressTracker {
 public:
  enum class Outcome { kNotMine, kTaken, kClicked };

  // Feed it the control's WM_KEYDOWN and WM_KEYUP. kNotMine leaves the key
  // to the control's default handling; on kClicked the control's click may run.
  Outcome OnKey(UINT message, WPARAM key, LPARAM flags);
  // Ends a Space press without a click, as losing the focus does.
  void Cancel() { spaceHeld_ = false; }

  bool Pressed() const { return spaceHeld_; }

 private:
  bool spaceHeld_ = false;
};

}  // namespace tavrin

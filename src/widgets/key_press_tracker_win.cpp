#include "widgets/key_press_tracker_win.h"

namespace tavrin {

KeyPressTracker::Outcome KeyPressTracker::OnKey(UINT message, WPARAM key, LPARAM flags) {
  const bool down = message == WM_KEYDOWN;
  const bool repeat = (flags & (1 << 30)) != 0;
  if (key == VK_RETURN && down) return repeat ? Outcome::kTaken : Outcome::kClicked;
  if (key != VK_SPACE || (!down && message != WM_KEYUP)) return Outcome::kNotMine;
  if (down) {
    if (!repeat) spaceHeld_ = true;
    return Outcome::kTaken;
  }
  if (!spaceHeld_) return Outcome::kTaken;
  spaceHeld_ = false;
  return Outcome::kClicked;
}

}  // namespace tavrin

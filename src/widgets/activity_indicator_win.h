#pragma once

#include "widgets/control_win.h"

namespace tavrin {

// Dots running round a circle, a frame every 50 ms. Shown and animating are
// independent; the timer runs only while it animates and is shown.
class ActivityIndicator : public Control {
 public:
  using Control::Control;

  bool Animating() const { return animating_; }
  void SetAnimating(bool animating);
  std::size_t Frame() const { return frame_; }

  static constexpr UINT kFrameMilliseconds = 50;
  static constexpr std::size_t kDots = 8;

 protected:
  const wchar_t* WindowClass() const override { return L"Tavrin.ActivityIndicator"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  // An animation, busy while it animates.
  long AccessibleRole() const override;
  long AccessibleState() const override;

 private:
  void UpdateTimer();

  bool animating_ = false;
  bool timerRunning_ = false;
  std::size_t frame_ = 0;
};

}  // namespace tavrin

#include "widgets/activity_indicator_win.h"

#include <oleacc.h>

#include <cmath>
#include <numbers>

#include "widgets/gdiplus_win.h"

namespace tavrin {
namespace {
constexpr UINT_PTR kFrameTimer = 1;
}

void ActivityIndicator::SetAnimating(bool animating) {
  const bool changed = animating != animating_;
  animating_ = animating;
  UpdateTimer();
  if (changed) NotifyStateChange(Handle());
}

long ActivityIndicator::AccessibleRole() const { return ROLE_SYSTEM_ANIMATION; }

long ActivityIndicator::AccessibleState() const {
  return animating_ ? STATE_SYSTEM_BUSY | STATE_SYSTEM_ANIMATED : 0;
}

void ActivityIndicator::UpdateTimer() {
  const bool wanted = animating_ && Visible() && Handle();
  if (wanted == timerRunning_) return;
  timerRunning_ = wanted;
  if (wanted) {
    SetTimer(Handle(), kFrameTimer, kFrameMilliseconds, nullptr);
  } else if (Handle()) {
    KillTimer(Handle(), kFrameTimer);
  }
}

LRESULT ActivityIndicator::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kFrameTimer) break;
      frame_ = (frame_ + 1) % kDots;
      Invalidate();
      return 0;
    case WM_WINDOWPOSCHANGED:  // among others, after every show and hide
      UpdateTimer();
      break;
    case WM_DESTROY:
      timerRunning_ = false;
      break;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void ActivityIndicator::Paint(HDC dc, const RECT& client) {
  const float size = static_cast<float>(std::min(client.right, client.bottom));
  const float dot = size / 8;
  const float ring = size / 2 - dot;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  for (std::size_t i = 0; i < kDots; ++i) {
    // The dot of the current frame is solid; those behind it fade out.
    const std::size_t age = (frame_ + kDots - i) % kDots;
    const auto alpha = static_cast<BYTE>(255 - age * 200 / (kDots - 1));
    const double angle = 2 * std::numbers::pi * static_cast<double>(i) / kDots;
    const float cx = client.right / 2.0f + ring * static_cast<float>(std::sin(angle));
    const float cy = client.bottom / 2.0f - ring * static_cast<float>(std::cos(angle));
    Gdiplus::SolidBrush brush(Gdiplus::Color(alpha, 0, 0, 0));
    graphics.FillEllipse(&brush, cx - dot, cy - dot, 2 * dot, 2 * dot);
  }
}

}  // namespace tavrin

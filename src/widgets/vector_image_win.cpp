#include "widgets/vector_image_win.h"

#include <oleacc.h>

#include <utility>

#include "i18n/own_texts.h"

namespace tavrin {

VectorImage::VectorImage(std::wstring name, Control* parent, DesignRect bounds)
    : Control(std::move(name), parent, bounds) {}

void VectorImage::SetPicture(Drawing drawing, float designWidth, float designHeight) {
  drawing_ = std::move(drawing);
  designWidth_ = designWidth;
  designHeight_ = designHeight;
  Invalidate();
}

LRESULT VectorImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_LBUTTONDOWN:
      if (TabStop()) Focus();
      [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (press_.OnMouse(Handle(), message, lParam) == PressTracker::Outcome::kClicked) Click();
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const auto outcome = keys_.OnKey(message, wParam, lParam);
      if (outcome == KeyPressTracker::Outcome::kNotMine) break;
      if (outcome == KeyPressTracker::Outcome::kClicked) Click();
      return 0;
    }
    case WM_KILLFOCUS:
      keys_.Cancel();
      [[fallthrough]];
    case WM_SETFOCUS:
      Invalidate();
      break;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

long VectorImage::AccessibleRole() const {
  return OnClick ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_GRAPHIC;
}

long VectorImage::AccessibleState() const { return OnClick ? STATE_SYSTEM_LINKED : 0; }

std::wstring VectorImage::DefaultAction() const {
  return OnClick ? OwnTranslate(OwnText::ActionJump) : std::wstring();
}

void VectorImage::Paint(HDC dc, const RECT& client) {
  if (Focused() && FocusCuesShown()) DrawFocusMark(dc, client, ResolveColor(clWindowText));
  if (!drawing_) return;
  const float scale = std::min(client.right / designWidth_, client.bottom / designHeight_);
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  graphics.TranslateTransform((client.right - designWidth_ * scale) / 2,
                              (client.bottom - designHeight_ * scale) / 2);
  graphics.ScaleTransform(scale, scale);
  drawing_(graphics);
}

}  // namespace tavrin

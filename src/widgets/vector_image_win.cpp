#include "widgets/vector_image_win.h"

#include <windowsx.h>

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
      // Held so that the release comes here wherever it happens.
      SetCapture(Handle());
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP: {
      RECT client;
      GetClientRect(Handle(), &client);
      const bool inside = PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      const bool clicked = pressed_ && inside;
      if (GetCapture() == Handle()) ReleaseCapture();
      pressed_ = false;
      if (clicked) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

void VectorImage::Paint(HDC dc, const RECT& client) {
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

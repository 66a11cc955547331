#include "appearance/button_painter_win.h"

#include <cmath>

#include "widgets/gdiplus_win.h"

namespace tavrin {
namespace {

Gdiplus::Color GdiplusColor(TColor color) {
  const COLORREF rgb = ResolveColor(color);
  return Gdiplus::Color(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void AddShape(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& r, TButtonDrawType type,
              float radius) {
  if (type == TButtonDrawType::btRounded) radius = std::min(r.Width, r.Height) / 2;
  if (type == TButtonDrawType::btRect || radius <= 0) {
    path.AddRectangle(r);
    return;
  }
  if (type == TButtonDrawType::btEllipse) {
    path.AddEllipse(r);
    return;
  }
  const float d = std::min({2 * radius, r.Width, r.Height});
  path.AddArc(r.X, r.Y, d, d, 180, 90);
  path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
  path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
  path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
  path.CloseFigure();
}

void DrawShape(HDC dc, const RECT& rect, const TStyledButtonAttributes& a, int radius, int dpi) {
  const float scale = static_cast<float>(dpi) / USER_DEFAULT_SCREEN_DPI;
  const float pen = a.BorderWidth == 0 ? 1.0f : std::round(a.BorderWidth * scale);
  // Pixel centres lie on whole coordinates: a one-pixel outline along the
  // outermost pixels runs through 0 and width - 1.
  const float inset = (pen - 1) / 2;
  const Gdiplus::RectF r(rect.left + inset, rect.top + inset,
                         rect.right - rect.left - 1 - 2 * inset,
                         rect.bottom - rect.top - 1 - 2 * inset);
  Gdiplus::GraphicsPath path;
  AddShape(path, r, a.DrawType, radius * scale);
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  if (a.ButtonDrawStyle == TButtonDrawStyle::btnSolid) {
    Gdiplus::SolidBrush face(GdiplusColor(a.ButtonColor));
    graphics.FillPath(&face, &path);
  }
  if (a.BorderDrawStyle == TBorderDrawStyle::brdSolid) {
    Gdiplus::Pen outline(GdiplusColor(a.BorderColor), pen);
    graphics.DrawPath(&outline, &path);
  }
}

}  // namespace

void DrawStyledButton(HDC dc, const RECT& rect, const TStyledButtonAttributes& attributes,
                      int radius, int dpi, const std::wstring& caption, const FontSpec& font) {
  DrawShape(dc, rect, attributes, radius, dpi);
  FontSpec styled = font;
  styled.bold = styled.bold || (attributes.FontStyle & fsBold);
  styled.italic = styled.italic || (attributes.FontStyle & fsItalic);
  styled.underline = styled.underline || (attributes.FontStyle & fsUnderline);
  styled.strikeOut = styled.strikeOut || (attributes.FontStyle & fsStrikeOut);
  const FontHandle handle = CreateFontFor(styled, dpi);
  SelectObjectScope selected(dc, handle.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(attributes.FontColor));
  RECT area = rect;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace tavrin

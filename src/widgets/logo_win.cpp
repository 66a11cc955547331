#include "widgets/logo_win.h"

#include <iterator>

#include "appearance/colors.h"

namespace tavrin {
namespace {

void AddRoundedSquare(Gdiplus::GraphicsPath& path, float x, float y, float size, float radius) {
  const float d = 2 * radius;
  path.AddArc(x, y, d, d, 180, 90);
  path.AddArc(x + size - d, y, d, d, 270, 90);
  path.AddArc(x + size - d, y + size - d, d, d, 0, 90);
  path.AddArc(x, y + size - d, d, d, 90, 90);
  path.CloseFigure();
}

void DrawBadge(Gdiplus::Graphics& graphics) {
  Gdiplus::GraphicsPath badge;
  AddRoundedSquare(badge, 3, 8, 34, 8);
  Gdiplus::SolidBrush accent(
      Gdiplus::Color(255, RedOf(AccentColor), GreenOf(AccentColor), BlueOf(AccentColor)));
  graphics.FillPath(&accent, &badge);

  const Gdiplus::PointF pulse[] = {{8, 26}, {14, 26}, {18, 17}, {23, 34},
                                   {28, 21}, {31, 26}, {33, 26}};
  Gdiplus::Pen white(Gdiplus::Color(255, 255, 255, 255), 3);
  white.SetLineJoin(Gdiplus::LineJoinRound);
  white.SetStartCap(Gdiplus::LineCapRound);
  white.SetEndCap(Gdiplus::LineCapRound);
  graphics.DrawLines(&white, pulse, static_cast<INT>(std::size(pulse)));
}

void DrawName(Gdiplus::Graphics& graphics) {
  const Gdiplus::FontFamily tahoma(L"Tahoma");
  const Gdiplus::FontFamily* family =
      tahoma.IsAvailable() ? &tahoma : Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::StringFormat format;
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::GraphicsPath name;
  name.AddString(L"Morvane", -1, family, Gdiplus::FontStyleBold, 16,
                 Gdiplus::PointF(40, 25), &format);
  Gdiplus::SolidBrush ink(Gdiplus::Color(255, 51, 51, 51));
  graphics.FillPath(&ink, &name);
}

}  // namespace

void DrawMakerLogo(Gdiplus::Graphics& graphics) {
  DrawBadge(graphics);
  DrawName(graphics);
}

}  // namespace tavrin

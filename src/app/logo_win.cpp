#include "app/logo_win.h"

#include <initializer_list>
#include <iterator>
#include <vector>

#include "appearance/family_colors.h"

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

  const Gdiplus::PointF pulse[] = {{8, 26},  {14, 26}, {18, 17}, {23, 34},
                                   {28, 21}, {31, 26}, {33, 26}};
  Gdiplus::Pen white(Gdiplus::Color(255, 255, 255, 255), 3);
  white.SetLineJoin(Gdiplus::LineJoinRound);
  white.SetStartCap(Gdiplus::LineCapRound);
  white.SetEndCap(Gdiplus::LineCapRound);
  graphics.DrawLines(&white, pulse, static_cast<INT>(std::size(pulse)));
}

// The name in strokes of its own rather than in a font, so it looks the same
// on every system. Glyph coordinates: baseline at 0, x-height 10, cap 14.
void AddName(Gdiplus::GraphicsPath& path) {
  using P = Gdiplus::PointF;
  float x = 0;
  const auto lines = [&](std::initializer_list<P> points) {
    path.StartFigure();
    std::vector<P> moved;
    for (const P& p : points) moved.emplace_back(x + p.X, p.Y);
    path.AddLines(moved.data(), static_cast<INT>(moved.size()));
  };
  const auto bowl = [&](float left) {
    path.StartFigure();
    path.AddEllipse(x + left, -10.0f, 9.0f, 10.0f);
  };
  const auto arch = [&](float left) {  // the shoulder of n and r
    path.StartFigure();
    path.AddBezier(x + left, -6.0f, x + left, -9.5f, x + left + 2.5f, -10.5f, x + left + 4.5f,
                   -10.5f);
  };

  lines({{0, 0}, {0, -14}, {6, -6}, {12, -14}, {12, 0}});  // M
  x += 15;
  bowl(0);  // o
  x += 12;
  lines({{0, 0}, {0, -10}});  // r
  arch(0);
  x += 8;
  lines({{0, -10}, {4.5f, 0}, {9, -10}});  // v
  x += 12;
  bowl(0);  // a
  lines({{9, -10}, {9, 0}});
  x += 12;
  lines({{0, 0}, {0, -10}});  // n
  arch(0);
  path.AddBezier(x + 4.5f, -10.5f, x + 7, -10.5f, x + 9, -9.0f, x + 9, -6.0f);
  path.AddLine(x + 9, -6.0f, x + 9, 0.0f);
  x += 12;
  lines({{0, -5}, {9, -5}});  // e
  path.AddArc(x, -10.0f, 9.0f, 10.0f, 0, -315);
}

void DrawName(Gdiplus::Graphics& graphics) {
  Gdiplus::GraphicsPath name;
  AddName(name);
  Gdiplus::Matrix place;
  place.Translate(42, 32);
  place.Scale(0.82f, 0.82f);
  name.Transform(&place);
  Gdiplus::Pen ink(Gdiplus::Color(255, 51, 51, 51), 2.0f);
  ink.SetLineJoin(Gdiplus::LineJoinRound);
  ink.SetStartCap(Gdiplus::LineCapRound);
  ink.SetEndCap(Gdiplus::LineCapRound);
  graphics.DrawPath(&ink, &name);
}

}  // namespace

void DrawMakerLogo(Gdiplus::Graphics& graphics) {
  DrawBadge(graphics);
  DrawName(graphics);
}

}  // namespace tavrin

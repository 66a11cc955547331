#include "widgets/gdi_win.h"

#include <algorithm>

namespace tavrin {

COLORREF ResolveColor(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : color;
}

int FontSpec::Size() const { return -MulDivRounded(height, 72, 96); }

void FontSpec::SetSize(int points) { height = -MulDivRounded(points, 96, 72); }

FontHandle CreateFontFor(const FontSpec& spec, int dpi) {
  LOGFONTW font{};
  font.lfHeight = MulDivRounded(spec.height, dpi, 96);
  font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = spec.italic;
  font.lfUnderline = spec.underline;
  font.lfStrikeOut = spec.strikeOut;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = spec.antialiased ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
  spec.face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

FontSpec FontSpecOf(const LOGFONTW& font, int dpi) {
  FontSpec spec;
  spec.face = font.lfFaceName;
  spec.height = MulDivRounded(font.lfHeight, 96, dpi);
  spec.bold = font.lfWeight >= FW_BOLD;
  spec.italic = font.lfItalic != 0;
  spec.underline = font.lfUnderline != 0;
  spec.strikeOut = font.lfStrikeOut != 0;
  return spec;
}

BufferedPaint::BufferedPaint(HWND window) : window_(window), screen_(BeginPaint(window, &paint_)) {
  GetClientRect(window, &client_);
  memory_ = CreateCompatibleDC(screen_);
  bitmap_ = CreateCompatibleBitmap(screen_, std::max<LONG>(client_.right, 1),
                                   std::max<LONG>(client_.bottom, 1));
  oldBitmap_ = SelectObject(memory_, bitmap_);
}

BufferedPaint::~BufferedPaint() {
  BitBlt(screen_, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
  SelectObject(memory_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
  EndPaint(window_, &paint_);
}

}  // namespace tavrin

#include "widgets/gdi_win.h"

#include <algorithm>

#include "base/dpi.h"

namespace tavrin {

COLORREF ResolveColor(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : color;
}

int FontSpec::Size() const { return -MulDivRounded(height, 72, 96); }

void FontSpec::SetSize(int points) { height = -MulDivRounded(points, 96, 72); }

FontHandle CreateFontFor(const FontSpec& wanted, int dpi) {
  LOGFONTW font{};
  font.lfHeight = MulDivRounded(wanted.height, dpi, 96);
  font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = wanted.italic;
  font.lfUnderline = wanted.underline;
  font.lfStrikeOut = wanted.strikeOut;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = wanted.antialiased ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
  wanted.face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

FontSpec FontSpecOf(const LOGFONTW& font, int dpi) {
  FontSpec described;
  described.face = font.lfFaceName;
  described.height = MulDivRounded(font.lfHeight, 96, dpi);
  described.bold = font.lfWeight >= FW_BOLD;
  described.italic = font.lfItalic != 0;
  described.underline = font.lfUnderline != 0;
  described.strikeOut = font.lfStrikeOut != 0;
  return described;
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

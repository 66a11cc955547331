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

BackBuffer::~BackBuffer() {
  if (dc_) {
    SelectObject(dc_, original_);
    DeleteDC(dc_);
  }
}

HDC BackBuffer::Take(HDC screen, LONG width, LONG height) {
  taken_ = true;
  if (!dc_) dc_ = CreateCompatibleDC(screen);
  if (width > size_.cx || height > size_.cy) {
    size_ = {std::max(width, size_.cx), std::max(height, size_.cy)};
    GdiObject<HBITMAP> grown(CreateCompatibleBitmap(screen, size_.cx, size_.cy));
    const HGDIOBJ previous = SelectObject(dc_, grown.get());
    if (!bitmap_) original_ = previous;
    bitmap_ = std::move(grown);
  }
  return dc_;
}

namespace {
// Shared by the thread's paints: a new bitmap for every paint cost more than
// most controls' drawing.
thread_local BackBuffer threadBuffer;
}  // namespace

BufferedPaint::BufferedPaint(HWND window) : window_(window), screen_(BeginPaint(window, &paint_)) {
  GetClientRect(window, &client_);
  RECT visible;
  if (GetClipBox(screen_, &visible) == NULLREGION) return;  // covered: no picture to make
  // A paint during another one, from a modal loop say, has a buffer of its own.
  if (threadBuffer.Taken()) own_ = std::make_unique<BackBuffer>();
  buffer_ = own_ ? own_.get() : &threadBuffer;
  memory_ =
      buffer_->Take(screen_, std::max<LONG>(client_.right, 1), std::max<LONG>(client_.bottom, 1));
}

BufferedPaint::~BufferedPaint() {
  if (buffer_) {
    BitBlt(screen_, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
    buffer_->Give();
  }
  EndPaint(window_, &paint_);
}

void DrawFocusMark(HDC dc, const RECT& rect, COLORREF color) {
  for (LONG x = rect.left; x < rect.right; x += 2) {
    SetPixelV(dc, x, rect.top, color);
    SetPixelV(dc, x, rect.bottom - 1, color);
  }
  for (LONG y = rect.top; y < rect.bottom; y += 2) {
    SetPixelV(dc, rect.left, y, color);
    SetPixelV(dc, rect.right - 1, y, color);
  }
}

}  // namespace tavrin

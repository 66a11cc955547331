#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/owners_win.h"
#include "widgets/colors.h"

// Double-buffered painting and fonts by description.
namespace tavrin {

COLORREF ResolveColor(TColor color);

// A font as controls describe it; the height is in pixels at 96 dpi, negative
// for the character height as LOGFONT has it.
struct FontSpec {
  std::wstring face;
  int height = -12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool antialiased = false;

  // Size in points and back, at 96 dpi.
  int Size() const;
  void SetSize(int points);
  bool operator==(const FontSpec&) const = default;
};

FontHandle CreateFontFor(const FontSpec& wanted, int dpi);
// The font description of an existing LOGFONT measured at `dpi`.
FontSpec FontSpecOf(const LOGFONTW& font, int dpi);

// The keyboard focus's mark: a dotted frame, every other pixel, just inside
// `rect`, in a colour that stands out from what it is drawn on.
void DrawFocusMark(HDC dc, const RECT& rect, COLORREF color);

// An off-screen bitmap in a memory DC, kept and grown to the largest size
// asked for.
class BackBuffer {
 public:
  BackBuffer() = default;
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // A DC whose bitmap, compatible with `screen`, covers `width` x `height`.
  HDC Take(HDC screen, LONG width, LONG height);
  void Give() { taken_ = false; }
  bool Taken() const { return taken_; }

 private:
  HDC dc_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ original_ = nullptr;
  SIZE size_{};
  bool taken_ = false;
};

// Paints a window's client area through an off-screen bitmap, so nothing
// flickers; the picture goes to the screen when this goes.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND window);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;

  // No DC when covered.
  HDC Dc() const { return memory_; }
  const RECT& Client() const { return client_; }
  // Nothing of the window is left to paint: its children cover it, say.
  bool Covered() const { return buffer_ == nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC screen_;
  RECT client_{};
  std::unique_ptr<BackBuffer> own_;
  BackBuffer* buffer_ = nullptr;
  HDC memory_ = nullptr;
};

}  // namespace tavrin

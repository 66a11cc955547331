#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "widgets/colors.h"

// Owners for GDI handles, double-buffered painting and fonts by description.
namespace tavrin {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;

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

// Paints a window's client area through an off-screen bitmap, so nothing
// flickers; the picture goes to the screen when this goes.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND window);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;

  HDC Dc() const { return memory_; }
  const RECT& Client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC screen_;
  RECT client_{};
  HDC memory_;
  HBITMAP bitmap_;
  HGDIOBJ oldBitmap_;
};

// Selects an object into a DC for a scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectObjectScope() { SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC for measuring, released when this goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { ReleaseDC(window_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace tavrin

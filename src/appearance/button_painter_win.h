#pragma once

#include <windows.h>

#include <string>

#include "appearance/button_styles.h"
#include "widgets/gdi_win.h"

namespace tavrin {

// Draws a styled button in one state's attributes: the face if solid, the
// outline if solid (a width of 0 draws one pixel), both anti-aliased, then the
// caption centred. `radius` is in pixels at 96 dpi.
void DrawStyledButton(HDC dc, const RECT& rect, const TStyledButtonAttributes& attributes,
                      int radius, int dpi, const std::wstring& caption, const FontSpec& font);

}  // namespace tavrin

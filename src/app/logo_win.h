#pragma once

#include "widgets/gdiplus_win.h"

namespace tavrin {

// The maker's mark: a pulse line on an accent badge, and the maker's name.
inline constexpr float kLogoWidth = 112;
inline constexpr float kLogoHeight = 50;
void DrawMakerLogo(Gdiplus::Graphics& graphics);

}  // namespace tavrin

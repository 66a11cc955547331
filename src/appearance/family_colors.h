#pragma once

#include "widgets/colors.h"

// The program's accent and the colours its button family derives from it.
namespace tavrin {

// The program's accent: the window's top strip and its styled buttons.
inline constexpr TColor AccentColor = RgbColor(61, 132, 221);

// Each channel moves `percent` of the way towards white. Takes a plain colour:
// resolve system colour references first.
TColor LightenColor(TColor plain, int percent);

// The colour's luminance as a grey (0.299 R + 0.587 G + 0.114 B, halves to even).
TColor GrayOf(TColor plain);

}  // namespace tavrin

#pragma once

#include <cstdint>

namespace tavrin {

// A colour as controls hold it: 0x00BBGGRR like a COLORREF, or, with the top
// byte set, a reference to a system colour that is looked up when drawn so it
// follows the user's colour scheme.
using TColor = std::uint32_t;

constexpr TColor RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | (green << 8) | (static_cast<TColor>(blue) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr std::uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor kSystemColorFlag = 0xFF000000;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) == kSystemColorFlag; }
constexpr int SystemColorIndex(TColor c) { return static_cast<int>(c & 0xFF); }

inline constexpr TColor clBlack = RgbColor(0, 0, 0);
inline constexpr TColor clWhite = RgbColor(255, 255, 255);
inline constexpr TColor clGray = RgbColor(128, 128, 128);
inline constexpr TColor clSilver = RgbColor(192, 192, 192);
inline constexpr TColor clWindow = SystemColor(5);      // COLOR_WINDOW
inline constexpr TColor clWindowText = SystemColor(8);  // COLOR_WINDOWTEXT
inline constexpr TColor clGrayText = SystemColor(17);   // COLOR_GRAYTEXT
inline constexpr TColor clHighlight = SystemColor(13);      // COLOR_HIGHLIGHT
inline constexpr TColor clHighlightText = SystemColor(14);  // COLOR_HIGHLIGHTTEXT
inline constexpr TColor clHotLight = SystemColor(26);       // COLOR_HOTLIGHT

}  // namespace tavrin

#include "appearance/family_colors.h"

#include <cmath>
#include <cstdint>

#include "base/dpi.h"

namespace tavrin {

TColor LightenColor(TColor plain, int percent) {
  const auto lighten = [percent](std::uint8_t x) {
    return static_cast<std::uint8_t>(x + MulDivRounded(255 - x, percent, 100));
  };
  return RgbColor(lighten(RedOf(plain)), lighten(GreenOf(plain)), lighten(BlueOf(plain)));
}

TColor GrayOf(TColor plain) {
  const long double luminance =
      0.299L * RedOf(plain) + 0.587L * GreenOf(plain) + 0.114L * BlueOf(plain);
  // The default rounding mode rounds halves to even.
  const auto l = static_cast<std::uint8_t>(std::nearbyint(luminance));
  return RgbColor(l, l, l);
}

}  // namespace tavrin

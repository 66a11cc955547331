#include "appearance/colors.h"

#include <cmath>
#include <cstdint>

namespace tavrin {

int MulDivRounded(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
  if (result > 2147483647 || result < -2147483647) return -1;
  return static_cast<int>(result);
}

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

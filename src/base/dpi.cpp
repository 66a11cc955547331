#include "base/dpi.h"

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

int ScaleForDpi(int pixels, int dpi) {
  const long hundredths = std::lround(dpi * 100.0 / 96.0);
  return static_cast<int>(std::lround(pixels * hundredths / 100.0));
}

}  // namespace tavrin

#include "appearance/fit_label_font.h"

#include <algorithm>

namespace tavrin {

int FittedFontSize(int pointSize, int labelWidth, int textWidth) {
  if (textWidth <= labelWidth) return pointSize;
  return std::max(6, pointSize * labelWidth / textWidth);
}

}  // namespace tavrin

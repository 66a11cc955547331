#pragma once

// Scaling of design pixels (96 dpi) to a display's dpi. Two rounding rules
// live side by side on purpose: controls and fonts round as the Windows MulDiv
// does, the update prompt in whole hundredths of scale, as its layout was
// designed; a prompt laid out with MulDiv would be a pixel off at 115 %.
namespace tavrin {

// number * numerator / denominator in 64 bits, rounded to nearest with halves
// away from zero, as the Windows MulDiv; -1 on a zero denominator or overflow.
int MulDivRounded(int number, int numerator, int denominator);

// S(x): x pixels at 96 dpi scaled to `dpi` in whole hundredths.
int ScaleForDpi(int pixels, int dpi);

}  // namespace tavrin

#pragma once

namespace tavrin {

class Label;

// Shrinks the label's font so that its caption, on one line, fits the
// label's width; a caption that fits leaves the font alone. One pass only.
void FitLabelFont(Label& label);

// The point size FitLabelFont gives a font of `pointSize` whose caption
// measures `textWidth` in a label `labelWidth` wide; never below 6.
int FittedFontSize(int pointSize, int labelWidth, int textWidth);

}  // namespace tavrin

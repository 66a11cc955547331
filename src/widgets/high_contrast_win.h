#pragma once

#include <functional>

namespace tavrin {

// Whether the user's high-contrast theme is on: then what the program draws
// itself takes the system's colour pairs instead of its own colours.
bool HighContrastOn();

// What the system's HIGHCONTRAST flags say: the theme may be available, have
// its hot key and more without being on.
bool HighContrastFlagsOn(unsigned long flags);

// Stands in for the system's setting, which not every test host lets a test
// change; an empty source gives the system's back.
void SetHighContrastSource(std::function<bool()> source);

}  // namespace tavrin

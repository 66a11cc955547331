#pragma once

#include <string>

namespace tavrin {

// The application's title, which prompts use as theirs; the main window sets
// it to its caption once translated.
inline std::wstring ApplicationTitle;

}  // namespace tavrin

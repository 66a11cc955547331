#pragma once

#include <string>

namespace tavrin {

// Opens a web page in the user's browser, unelevated where the desktop's shell
// allows (see browser_launch.h); true when the shell took it.
bool ShellOpen(const std::wstring& target);

}  // namespace tavrin

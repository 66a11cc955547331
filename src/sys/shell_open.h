#pragma once

#include <string>

namespace tavrin {

// The shell's "open" of a URL or path, without owner; the outcome is not examined.
void ShellOpen(const std::wstring& target);

}  // namespace tavrin

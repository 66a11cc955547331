#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts the system hands out, made wide in the user's language.
namespace tavrin {

// Narrow text from the system or the C++ runtime: in the ANSI code page on
// Windows, so it cannot be read as UTF-8.
std::wstring SystemNarrowToWide(std::string_view text);

// The system's own text for an error code (a Win32 error or an HRESULT),
// without its line break; nothing when the system has none.
std::optional<std::wstring> SystemErrorMessage(int code);

}  // namespace tavrin

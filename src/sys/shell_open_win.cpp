// Windows headers in the order they build on each other.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "sys/shell_open.h"

namespace tavrin {

void ShellOpen(const std::wstring& target) {
  ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tavrin

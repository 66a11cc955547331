#include "sys/shell_open.h"

#include "sys/browser_launch.h"

namespace tavrin {

void ShellOpen(const std::wstring& target) { OpenWebPage(SystemShellRoutes(), target); }

}  // namespace tavrin

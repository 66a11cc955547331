#include "sys/shell_open.h"

#include "sys/browser_launch.h"

namespace tavrin {

bool ShellOpen(const std::wstring& target) { return OpenWebPage(SystemShellRoutes(), target); }

}  // namespace tavrin

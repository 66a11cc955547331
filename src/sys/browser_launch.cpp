#include "sys/browser_launch.h"

namespace tavrin {

void OpenWebPage(ShellRoutes& routes, const std::wstring& url) {
  if (!routes.OpenThroughDesktopShell(url)) routes.OpenFromThisProcess(url);
}

}  // namespace tavrin

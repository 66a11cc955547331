#include "sys/browser_launch.h"

namespace tavrin {

bool OpenWebPage(ShellRoutes& routes, const std::wstring& url) {
  return routes.OpenThroughDesktopShell(url) || routes.OpenFromThisProcess(url);
}

}  // namespace tavrin

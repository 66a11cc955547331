#pragma once

#include <string>

// Web pages open in the user's browser with the user's own rights. The
// program runs elevated, and a browser started from it would be elevated too.
namespace tavrin {

// The two ways a URL can reach the browser.
class ShellRoutes {
 public:
  virtual ~ShellRoutes() = default;
  // Has the desktop's own shell open it, unelevated. False when no desktop
  // shell can be asked (none is running, or it does not offer the way in).
  virtual bool OpenThroughDesktopShell(const std::wstring& url) = 0;
  // Opens it from this process, which passes on this process's rights. False
  // when the shell could not hand it over (no browser, a refused URL).
  virtual bool OpenFromThisProcess(const std::wstring& url) = 0;
};

// Through the desktop's shell where it answers, from this process otherwise;
// true when one of them took it.
bool OpenWebPage(ShellRoutes& routes, const std::wstring& url);

// The system's shell (Windows builds only).
ShellRoutes& SystemShellRoutes();

}  // namespace tavrin

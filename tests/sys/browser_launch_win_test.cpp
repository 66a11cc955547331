// The system's routes to the browser, with the shell's URL opener replaced by
// a recorder.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <iostream>

#include "support/url_opener_win.h"
#include "sys/browser_launch.h"

namespace tavrin {
namespace {

// The system's routes, noting whether the desktop's shell answered.
class WatchedRoutes final : public ShellRoutes {
 public:
  bool OpenThroughDesktopShell(const std::wstring& url) override {
    return desktopAnswered = SystemShellRoutes().OpenThroughDesktopShell(url);
  }
  bool OpenFromThisProcess(const std::wstring& url) override {
    return SystemShellRoutes().OpenFromThisProcess(url);
  }
  bool desktopAnswered = false;
};

TEST(SystemShellRoutes, AWebPageReachesTheUsersOpenerExactlyOnce) {
  const test::RecordingUrlOpener opener;
  const std::wstring url = L"https://example.test/path?a=1&b=%20#top";
  WatchedRoutes routes;
  EXPECT_TRUE(OpenWebPage(routes, url));
  // Wine runs no desktop shell that takes requests: there the page comes
  // through the fall-back.
  std::cout << "[ route    ] "
            << (routes.desktopAnswered ? "the desktop's shell" : "this process (fall-back)")
            << '\n';
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(opener.Opened(1).size(), 1u);
  // A second start would show about as late as the first did.
  const auto firstTook =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(opener.Opened(2, std::max(firstTook, std::chrono::milliseconds(1500))),
            std::vector<std::wstring>{url});
}

}  // namespace
}  // namespace tavrin

#include "sys/browser_launch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

// Records which way each URL went; the desktop's shell answers or not.
class FakeRoutes final : public ShellRoutes {
 public:
  explicit FakeRoutes(bool desktopAnswers) : desktopAnswers_(desktopAnswers) {}
  bool OpenThroughDesktopShell(const std::wstring& url) override {
    calls.push_back(L"desktop " + url);
    return desktopAnswers_;
  }
  bool OpenFromThisProcess(const std::wstring& url) override {
    calls.push_back(L"here " + url);
    return thisProcessOpens;
  }
  bool thisProcessOpens = true;
  std::vector<std::wstring> calls;

 private:
  bool desktopAnswers_;
};

TEST(OpenWebPage, GoesThroughTheDesktopShellAndOnlyFallsBackWithoutOne) {
  const std::wstring url = L"https://example.test/a?b=1";
  const struct {
    bool desktopAnswers, thisProcessOpens;
    std::vector<std::wstring> calls;
    bool opened;
  } cases[] = {
      {true, true, {L"desktop " + url}, true},
      {false, true, {L"desktop " + url, L"here " + url}, true},
      {false, false, {L"desktop " + url, L"here " + url}, false},
  };
  for (const auto& c : cases) {
    FakeRoutes routes(c.desktopAnswers);
    routes.thisProcessOpens = c.thisProcessOpens;
    EXPECT_EQ(OpenWebPage(routes, url), c.opened) << "desktop shell answers: " << c.desktopAnswers;
    EXPECT_EQ(routes.calls, c.calls) << "desktop shell answers: " << c.desktopAnswers;
  }
}

}  // namespace
}  // namespace tavrin

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
  void OpenFromThisProcess(const std::wstring& url) override { calls.push_back(L"here " + url); }
  std::vector<std::wstring> calls;

 private:
  bool desktopAnswers_;
};

TEST(OpenWebPage, GoesThroughTheDesktopShellAndOnlyFallsBackWithoutOne) {
  const std::wstring url = L"https://example.test/a?b=1";
  const struct {
    bool desktopAnswers;
    std::vector<std::wstring> calls;
  } cases[] = {
      {true, {L"desktop " + url}},
      {false, {L"desktop " + url, L"here " + url}},
  };
  for (const auto& c : cases) {
    FakeRoutes routes(c.desktopAnswers);
    OpenWebPage(routes, url);
    EXPECT_EQ(routes.calls, c.calls) << "desktop shell answers: " << c.desktopAnswers;
  }
}

}  // namespace
}  // namespace tavrin

// The check-in with the program's own parts (WinHTTP, the registry, the
// dispatcher and the prompt) against the local stand-in of the maker's
// service (tests/standin), which ctest starts for this binary.

#include "app/service_host_win.h"

#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "app/window_dispatcher_win.h"
#include "base/text_encoding.h"
#include "prompt_driver_win.h"
#include "service/text_helpers.h"
#include "service/update_prompt.h"
#include "support/standin.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;
using Headers = std::vector<std::pair<std::string, std::string>>;
using testing::Pair;

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

// The JSON string that starts at `at` (a quote); `at` moves past it.
std::string JsonString(const std::wstring& line, std::size_t& at) {
  std::size_t end = at + 1;
  while (end < line.size() && line[end] != L'"') end += line[end] == L'\\' ? 2 : 1;
  const std::string text = Narrow(Unescape(line.substr(at + 1, end - at - 1)));
  at = end + 1;
  return text;
}

// The program's own headers of one logged request, in order: those named
// "User-" but for the User-Agent that the HTTP facility adds.
Headers CustomHeaders(const std::wstring& request) {
  Headers headers;
  std::size_t at = request.find(L"\"headers\": [");
  while ((at = request.find(L"[\"", at)) != std::wstring::npos) {
    ++at;
    std::string name = JsonString(request, at);
    at = request.find(L'"', at);
    std::string value = JsonString(request, at);
    if (name.starts_with("User-") && name != "User-Agent")
      headers.emplace_back(std::move(name), std::move(value));
  }
  return headers;
}

class CheckInAgainstStandIn : public testing::Test {
 protected:
  void SetUp() override {
    // A check-in that cannot reach its stand-in proves nothing: that fails.
    ASSERT_TRUE(standin_.Available()) << "no stand-in service at " << Narrow(standin_.BaseUrl());
    standin_.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morvane");
    dispatcher_ = std::make_shared<WindowDispatcher>([](std::exception_ptr) {});
    host_ = SystemServiceHost(dispatcher_, nullptr);
    host_.language = L"en";
    host_.sleep = [this](std::chrono::milliseconds step) { slept_ += step; };
    host_.shellOpen = [this](const std::wstring& target) {
      opened_.push_back(target);
      return true;
    };
  }
  void TearDown() override {
    if (dispatcher_) dispatcher_->Close();
    ApplicationTerminating = false;
    // The real program runs in the same Wine prefix: leave it no broken "MUID".
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morvane");
  }

  std::wstring Url() const { return standin_.BaseUrl() + L"/api.init.php"; }

  std::vector<std::wstring> CheckIns() {
    std::vector<std::wstring> checkIns;
    for (const std::wstring& request : standin_.Requests()) {
      if (request.find(L"\"path\": \"/api.init.php\"") != std::wstring::npos) {
        checkIns.push_back(request);
      }
    }
    return checkIns;
  }

  static std::wstring StoredIdentifier() {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Morvane", L"MUID", RRF_RT_REG_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS) {
      return L"(none)";
    }
    return value;
  }

  // Runs CheckUpdate to its callback, serving the hand-over in a message loop.
  std::pair<bool, std::wstring> CheckUpdateToTheEnd() {
    std::optional<std::pair<bool, std::wstring>> result;
    CheckUpdate(
        Url(),
        [&](bool accepted, const std::wstring& reply) {
          result = {accepted, reply};
        },
        10, host_);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    MSG message;
    while (!result && std::chrono::steady_clock::now() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    EXPECT_TRUE(result) << "the callback never ran";
    return result.value_or(std::make_pair(false, std::wstring(L"(no callback)")));
  }

  StandIn standin_;
  std::shared_ptr<WindowDispatcher> dispatcher_;
  ServiceHost host_;
  std::chrono::milliseconds slept_{0};
  std::vector<std::wstring> opened_;
};

TEST_F(CheckInAgainstStandIn, SendsTheFourHeadersWithTheIdentifierMadeOnce) {
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(Narrow(*RequestCheckIn(host_, Url())), R"({"update":""})");
  }
  const std::wstring id = StoredIdentifier();
  EXPECT_TRUE(std::regex_match(Narrow(id), std::regex("[0-7][0-9A-F]{7}[0-9]{6}[0-9A-F]{4}"
                                                      "[0-9]{6}[0-7][0-9A-F]{7}")))
      << Narrow(id);
  // The test program has no version information.
  const Headers expected = {{"User-Version", "0.0.0.0"},
                            {"User-Language", "en"},
                            {"User-Debug", "false"},
                            {"User-Union", Narrow(id)}};
  const std::vector<std::wstring> checkIns = CheckIns();
  ASSERT_EQ(checkIns.size(), 2u);
  for (const std::wstring& request : checkIns) {
    EXPECT_NE(request.find(L"\"method\": \"GET\""), std::wstring::npos);
    EXPECT_EQ(CustomHeaders(request), expected);
  }
}

TEST_F(CheckInAgainstStandIn, AStoredIdentifierGoesAsItIsButWithoutControlCharacters) {
  const struct {
    DWORD type;
    std::wstring data;
    const char* sent;
  } cases[] = {
      {REG_SZ, L"anything at all, of any length", "anything at all, of any length"},
      {REG_SZ, L"abc\r\nX-Injected: 1", "abcX-Injected: 1"},
      {REG_SZ, L"a\tb\001c\033[2Jd\177\205", "abc[2Jd"},
      {REG_DWORD, std::wstring(2, L'\0'), ""},  // not a string: empty, and left alone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    standin_.Reset();
    const DWORD size = static_cast<DWORD>((c.data.size() + (c.type == REG_SZ)) * sizeof(wchar_t));
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Morvane", L"MUID", c.type,
                              c.data.c_str(), size),
              ERROR_SUCCESS);
    RequestCheckIn(host_, Url());
    const std::vector<std::wstring> checkIns = CheckIns();
    ASSERT_EQ(checkIns.size(), 1u);
    EXPECT_THAT(CustomHeaders(checkIns[0]), testing::Contains(Pair("User-Union", c.sent)));
    EXPECT_EQ(checkIns[0].find(L"X-Injected\", \""), std::wstring::npos);
    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Morvane", L"MUID", RRF_RT_ANY, &type, nullptr,
                 nullptr);
    EXPECT_EQ(type, c.type);
  }
}

TEST_F(CheckInAgainstStandIn, AnyResponseEndsTheRequestAfterOneAttempt) {
  const struct {
    const char* name;
    ScriptedReply reply;
    const wchar_t* text;
  } cases[] = {
      {"404 with a body", {404, {}, "not here"}, L"not here"},
      {"500 with a body", {500, {}, R"({"error":"down"})"}, LR"({"error":"down"})"},
      {"a slow answer", {200, {}, R"({"update":""})", 1, false, 1500}, LR"({"update":""})"},
      // UTF-8 whatever the reply declares.
      {"another charset",
       {200, {{L"Content-Type", L"text/plain; charset=ISO-8859-1"}}, "caf\xC3\xA9"},
       L"caf\u00E9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    standin_.Reset();
    standin_.Reply(L"/api.init.php", c.reply);
    EXPECT_EQ(RequestCheckIn(host_, Url()), std::optional<std::wstring>(c.text));
    EXPECT_EQ(CheckIns().size(), 1u);
    EXPECT_EQ(slept_, 0ms);
  }
}

TEST_F(CheckInAgainstStandIn, ARefusedConnectionIsTriedSixTimesWithTenSecondWaits) {
  int attempts = 0;
  const auto http = host_.http;
  struct Counting final : HttpClient {
    Counting(std::shared_ptr<HttpClient> real, int& attempts)
        : real(std::move(real)), attempts(attempts) {}
    bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers, BodyDecoding decoding,
             std::wstring& body, std::stop_token stop) override {
      ++attempts;
      return real->Get(url, headers, decoding, body, stop);
    }
    std::shared_ptr<HttpClient> real;
    int& attempts;
  };
  host_.http = std::make_shared<Counting>(http, attempts);
  EXPECT_EQ(RequestCheckIn(host_, RefusingUrl(L"/api.init.php")), std::optional<std::wstring>(L""));
  EXPECT_EQ(attempts, 6);
  EXPECT_EQ(slept_, 60s);
}

TEST_F(CheckInAgainstStandIn, ClosingDuringAWaitEndsItWithinOneStep) {
  host_ = SystemServiceHost(dispatcher_, nullptr);  // the real 10 ms sleeps
  std::atomic<std::chrono::steady_clock::time_point> closedAt{};
  std::thread closer([&] {
    std::this_thread::sleep_for(300ms);
    closedAt = std::chrono::steady_clock::now();
    ApplicationTerminating = true;
  });
  const std::optional<std::wstring> reply = RequestCheckIn(host_, RefusingUrl(L"/api.init.php"));
  const auto endedAt = std::chrono::steady_clock::now();
  closer.join();
  EXPECT_FALSE(reply);
  // One 10 ms step, not the rest of the 10 s wait; the margin is for a busy
  // machine's scheduling, which a tighter bound turned into false failures.
  EXPECT_LT(endedAt - closedAt.load(), 500ms);
}

TEST_F(CheckInAgainstStandIn, NoUpdateShowsNothing) {
  EXPECT_EQ(CheckUpdateToTheEnd(), std::make_pair(false, std::wstring(LR"({"update":""})")));
  EXPECT_EQ(Narrow(CheckInURL), Narrow(Url()));
  EXPECT_TRUE(opened_.empty());
}

TEST_F(CheckInAgainstStandIn, TheReplyShapesThePromptAndYesOpensTheUpdate) {
  const struct {
    const char* name;
    std::string reply;
    bool yes;
    bool holdBox, link;
    const char* controlText;
  } cases[] = {
      {"hold",
       R"({"update":"https://dl.example.test/a.exe","info":{"style":"hold","text":"Later"}})",
       false, true, false, "Later"},
      {"note, in capitals, escaped",
       R"({"UPDATE":"https:\/\/dl.example.test\/b.exe","INFO":{"STYLE":"note","TEXT":"\uC0C8 news","URL":"https:\/\/n.test"}})",
       true, false, true, "\xEC\x83\x88 news"},
      {"a brace inside info",
       R"({"update":"https://dl.example.test/c.exe","info":{"text":"a}b","style":"hold"}})", true,
       false, false, nullptr},
      {"another style", R"({"update":"https://dl.example.test/d.exe","info":{"style":"plain"}})",
       false, false, false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    standin_.Reset();
    opened_.clear();
    standin_.Reply(L"/api.init.php", {200, {{L"Content-Type", L"application/json"}}, c.reply});
    const PromptAnswerer answerer([&](Prompt& p) {
      EXPECT_EQ(p.holdBox != nullptr, c.holdBox);
      EXPECT_EQ(p.link != nullptr, c.link);
      if (HWND control = p.holdBox ? p.holdBox : p.link) {
        EXPECT_EQ(Narrow(WindowText(control)), c.controlText);
      }
      Click(c.yes ? p.yes : p.no);
    });
    const auto [accepted, reply] = CheckUpdateToTheEnd();
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(accepted, c.yes);
    EXPECT_EQ(Narrow(reply), c.reply);  // as received, escapes and all
    const std::string item = Narrow(ReadMember(Utf8ToWide(c.reply), L"update"));
    EXPECT_EQ(opened_, c.yes ? std::vector{Utf8ToWide(item)} : std::vector<std::wstring>{});
  }
}

TEST_F(CheckInAgainstStandIn, ATickedHoldBoxSendsOnlyVersionAndCommand) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    standin_.Reset();
    standin_.Reply(
        L"/api.init.php",
        {200,
         {},
         R"({"update":"https://dl.example.test/a.exe","info":{"style":"hold","text":"Later"}})"});
    const PromptAnswerer answerer([&](Prompt& p) {
      ASSERT_NE(p.holdBox, nullptr);
      Click(p.holdBox);
      Click(yes ? p.yes : p.no);
    });
    EXPECT_EQ(CheckUpdateToTheEnd().first, yes);
    std::vector<std::wstring> checkIns;
    for (int i = 0; i < 100 && (checkIns = CheckIns()).size() < 2; ++i)
      std::this_thread::sleep_for(50ms);
    ASSERT_EQ(checkIns.size(), 2u);
    EXPECT_EQ(CustomHeaders(checkIns[1]),
              (Headers{{"User-Version", "0.0.0.0"}, {"User-Command", "hold"}}));
  }
}

}  // namespace
}  // namespace tavrin::test

#include "service/check_in.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "base/text_encoding.h"
#include "i18n/own_texts.h"
#include "support/error_recorder.h"
#include "support/manual_interface_thread.h"
#include "support/service_fakes.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::Pair;

std::string Narrow(std::wstring_view text) { return WideToUtf8(text); }

std::vector<std::pair<std::string, std::string>> Flat(const std::vector<HttpHeader>& headers) {
  std::vector<std::pair<std::string, std::string>> flat;
  for (const HttpHeader& h : headers) flat.emplace_back(Narrow(h.name), Narrow(h.value));
  return flat;
}

class CheckInTest : public testing::Test {
 protected:
  ServiceHost Host() {
    ServiceHost host;
    host.http = http_;
    host.appVersion = [] { return L"1.5.9.0"; };
    host.clientId = [] { return L"0123456789ABCDEF0123456789ABCDEF"; };
    host.language = L"ko";
    host.terminating = [this] { return terminating_.load(); };
    host.sleep = [this](std::chrono::milliseconds step) {
      const std::scoped_lock lock(mutex_);
      steps_.insert(step.count());
      if (++sleeps_ == terminateAfterSleeps_) terminating_ = true;
    };
    host.interfaceThread = ui_;
    host.updateDialog = [this](const std::wstring& reply) {
      prompts_.push_back(reply);
      return answer_;
    };
    host.shellOpen = [this](const std::wstring& target) {
      opened_.push_back(target);
      return shellTakesIt_;
    };
    host.showError = [this](const std::wstring& text) { errors_.push_back(text); };
    return host;
  }

  void Script(std::deque<std::optional<std::wstring>> replies) {
    http_ = std::make_shared<FakeHttp>(std::move(replies));
  }
  // Starts a check-in whose callback records what it got, and on which thread.
  void Start() {
    CheckUpdate(
        L"https://www.example.test/api.init.php",
        [this](bool accepted, const std::wstring& reply) {
          results_.emplace_back(accepted, reply);
          callbackThreads_.insert(std::this_thread::get_id());
        },
        10, Host());
  }
  // The worker waits for the message loop's first turn; this is that turn.
  void StartAndRunTheLoop() {
    Start();
    ASSERT_TRUE(ui_->RunNext());
  }
  // The worker has ended and let go of everything it held.
  // Patient, for a machine busy with other builds; a worker that never ends
  // still fails.
  bool WorkerGone() {
    for (int i = 0; i < 3000 && http_.use_count() > 1; ++i) std::this_thread::sleep_for(10ms);
    return http_.use_count() == 1;
  }
  int Sleeps() {
    const std::scoped_lock lock(mutex_);
    return sleeps_;
  }

  std::shared_ptr<FakeHttp> http_ = std::make_shared<FakeHttp>();
  std::shared_ptr<ManualInterfaceThread> ui_ = std::make_shared<ManualInterfaceThread>();
  std::atomic<bool> terminating_{false};
  int terminateAfterSleeps_ = -1;
  bool answer_ = false;
  bool shellTakesIt_ = true;
  std::vector<std::wstring> errors_;
  std::mutex mutex_;
  int sleeps_ = 0;
  std::set<long long> steps_;
  std::vector<std::wstring> prompts_;
  std::vector<std::wstring> opened_;
  std::vector<std::pair<bool, std::wstring>> results_;
  std::set<std::thread::id> callbackThreads_;
};

TEST_F(CheckInTest, HeadersGoInTheirOrder) {
  ServiceHost host = Host();
  EXPECT_THAT(Flat(CheckInHeaders(host)),
              ElementsAre(Pair("User-Version", "1.5.9.0"), Pair("User-Language", "ko"),
                          Pair("User-Debug", "false"),
                          Pair("User-Union", "0123456789ABCDEF0123456789ABCDEF")));
  host.debug = true;
  host.clientId = [] { return L""; };
  EXPECT_THAT(Flat(CheckInHeaders(host)),
              ElementsAre(Pair("User-Version", "1.5.9.0"), Pair("User-Language", "ko"),
                          Pair("User-Debug", "true"), Pair("User-Union", "")));
}

TEST_F(CheckInTest, HttpGetTextSendsTheHeadersAndDecodesAsUtf8) {
  Script({L"{\"update\":\"\"}", std::nullopt});
  std::wstring body = L"before";
  EXPECT_TRUE(HttpGetText(*http_, L"https://h.test/api.init.php",
                          {{L"A", L"1"},
                           {L"User-Union", L"x\r\nSet-Cookie: y\rz\n"},
                           {L"User-Debug", L"\ta\001b\033[0m\177\205c\237\u00A0d\037e\040f"}},
                          body));
  EXPECT_EQ(Narrow(body), "{\"update\":\"\"}");
  EXPECT_FALSE(HttpGetText(*http_, L"https://h.test/api.init.php", {}, body));
  EXPECT_EQ(Narrow(body), "{\"update\":\"\"}");  // left as it was

  const std::vector<FakeHttp::Call> calls = http_->Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(Narrow(calls[0].url), "https://h.test/api.init.php");
  EXPECT_EQ(calls[0].decoding, BodyDecoding::kUtf8);
  // A value can never add a header of its own.
  EXPECT_THAT(Flat(calls[0].headers),
              ElementsAre(Pair("A", "1"), Pair("User-Union", "xSet-Cookie: yz"),
                          Pair("User-Debug", "ab[0mc\u00A0de f")));
}

TEST_F(CheckInTest, RequestCheckInRetriesWithTenSecondWaits) {
  const std::optional<std::wstring> fail;
  struct Case {
    const char* name;
    std::deque<std::optional<std::wstring>> replies;
    bool terminatingAtStart;
    int terminateAfterSleeps;
    std::size_t attempts;
    int sleeps;
    std::optional<std::wstring> reply;
  };
  const Case cases[] = {
      {"first answers", {L"a 404 body"}, false, -1, 1, 0, L"a 404 body"},
      {"third answers", {fail, fail, L"ok"}, false, -1, 3, 2000, L"ok"},
      {"all six fail", {}, false, -1, 6, 6000, L""},
      {"terminating during the second wait", {}, false, 1500, 2, 1500, std::nullopt},
      {"terminating before the first wait", {}, true, -1, 1, 0, std::nullopt},
      {"terminating during the last wait", {}, false, 5999, 6, 5999, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Script(c.replies);
    sleeps_ = 0;
    terminating_ = c.terminatingAtStart;
    terminateAfterSleeps_ = c.terminateAfterSleeps;
    EXPECT_EQ(RequestCheckIn(Host(), L"https://h.test/api.init.php"), c.reply);
    EXPECT_EQ(http_->Calls().size(), c.attempts);
    EXPECT_EQ(Sleeps(), c.sleeps);
  }
  EXPECT_THAT(steps_, ElementsAre(10));
}

TEST_F(CheckInTest, EveryAttemptCarriesTheSameHeadersBuiltOnce) {
  int identifierReads = 0;
  ServiceHost host = Host();
  host.clientId = [&] { return ++identifierReads == 1 ? L"FIRST" : L"LATER"; };
  RequestCheckIn(host, L"https://h.test/api.init.php");
  EXPECT_EQ(identifierReads, 1);
  for (const FakeHttp::Call& call : http_->Calls()) {
    EXPECT_EQ(Narrow(call.headers.back().value), "FIRST");
  }
}

TEST_F(CheckInTest, CheckUpdateStoresItsStateAndReturnsAtOnce) {
  StartAndRunTheLoop();
  EXPECT_EQ(Narrow(CheckInURL), "https://www.example.test/api.init.php");
  EXPECT_EQ(HeightAdjust, 10);
  EXPECT_TRUE(ui_->RunNext());  // the empty reply after six failures
  EXPECT_TRUE(WorkerGone());
  for (const FakeHttp::Call& call : http_->Calls()) {
    EXPECT_EQ(Narrow(call.url), "https://www.example.test/api.init.php");
  }
  EXPECT_EQ(http_->Calls().size(), 6u);
  ASSERT_EQ(results_.size(), 1u);
  EXPECT_EQ(results_[0], std::make_pair(false, std::wstring()));
  EXPECT_TRUE(prompts_.empty());
}

TEST_F(CheckInTest, TheReplyDecidesOnThePromptAndTheCallbackAlwaysRuns) {
  struct Case {
    const char* name;
    std::wstring reply;
    bool answer;
    bool prompted;
    std::vector<std::wstring> opened;
  };
  const Case cases[] = {
      {"no update member", LR"({"result":"ok"})", true, false, {}},
      {"empty update", LR"({"update":"","info":{"style":"hold"}})", true, false, {}},
      {"accepted",
       LR"({"update":"https:\/\/dl.example.test\/setup.exe"})",
       true,
       true,
       {L"https://dl.example.test/setup.exe"}},
      {"declined", LR"({"UPDATE":"https://dl.example.test/setup.exe"})", false, true, {}},
      // The program runs elevated: only a web page may come of a reply.
      {"a local program", LR"({"update":"C:\\Windows\\System32\\cmd.exe"})", true, false, {}},
      {"another scheme", LR"({"update":"file:\/\/\/C:\/x.exe"})", true, false, {}},
      {"a malformed escape", LR"({"update":"https://dl.example.test/\u12xy"})", true, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Script({c.reply});
    answer_ = c.answer;
    prompts_.clear();
    opened_.clear();
    results_.clear();
    StartAndRunTheLoop();
    ASSERT_TRUE(ui_->RunNext());
    ASSERT_TRUE(WorkerGone());
    EXPECT_EQ(prompts_, c.prompted ? std::vector{c.reply} : std::vector<std::wstring>{});
    EXPECT_EQ(opened_, c.opened);
    // The reply as received, escapes and all.
    ASSERT_EQ(results_.size(), 1u);
    EXPECT_EQ(results_[0], std::make_pair(c.prompted && c.answer, c.reply));
  }
  EXPECT_THAT(callbackThreads_, ElementsAre(std::this_thread::get_id()));
}

// The window's first paint goes before the connection and its DLLs.
// No browser, or a URL the shell refuses: the program stays, and says why.
TEST_F(CheckInTest, YesClosesOnlyWhenTheShellTookTheLink) {
  for (const bool takesIt : {true, false}) {
    SCOPED_TRACE(takesIt);
    const std::wstring reply = LR"({"update":"https://dl.example.test/setup.exe"})";
    Script({reply});
    answer_ = true;
    shellTakesIt_ = takesIt;
    errors_.clear();
    results_.clear();
    StartAndRunTheLoop();
    ASSERT_TRUE(ui_->RunNext());
    ASSERT_TRUE(WorkerGone());
    ASSERT_EQ(results_.size(), 1u);
    EXPECT_EQ(results_[0].first, takesIt);
    EXPECT_EQ(errors_, takesIt ? std::vector<std::wstring>{}
                               : std::vector<std::wstring>{OwnTranslate(OwnText::UpdateLinkDidNotOpen)});
  }
}

TEST_F(CheckInTest, TheRequestWaitsForTheMessageLoop) {
  Script({LR"({"update":""})"});
  Start();
  ASSERT_TRUE(ui_->AwaitQueued());
  EXPECT_TRUE(http_->Calls().empty());
  ASSERT_TRUE(ui_->RunNext());
  ASSERT_TRUE(ui_->RunNext());  // the reply
  ASSERT_TRUE(WorkerGone());
  EXPECT_EQ(http_->Calls().size(), 1u);
  ASSERT_EQ(results_.size(), 1u);
}

TEST_F(CheckInTest, NothingIsHandedOnOnceTheProgramIsTerminating) {
  terminateAfterSleeps_ = 10;  // closed during the first wait
  StartAndRunTheLoop();
  EXPECT_TRUE(WorkerGone());
  EXPECT_EQ(http_->Calls().size(), 1u);
  EXPECT_FALSE(ui_->RunNext(50ms));
  EXPECT_TRUE(results_.empty());
}

TEST_F(CheckInTest, AClosedInterfaceDropsTheHandOver) {
  Script({LR"({"update":"https://dl.example.test/setup.exe"})"});
  ui_->Close();
  Start();
  EXPECT_TRUE(WorkerGone());
  EXPECT_TRUE(prompts_.empty());
  EXPECT_TRUE(results_.empty());
}

TEST_F(CheckInTest, WhatTheWorkerRaisesIsReportedOnTheInterfaceThreadInsteadOfAReply) {
  // A stored identifier of the wrong kind makes reading it throw.
  ErrorRecorder errors;
  ServiceHost host = Host();
  host.clientId = []() -> std::wstring { throw std::runtime_error("wrong kind of value"); };
  CheckUpdate(
      L"https://www.example.test/api.init.php",
      [this](bool accepted, const std::wstring& reply) { results_.emplace_back(accepted, reply); },
      10, std::move(host));
  ASSERT_TRUE(ui_->RunNext());  // the message loop's first turn
  ASSERT_TRUE(ui_->RunNext());
  EXPECT_TRUE(WorkerGone());
  const auto reports = errors.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].report.message, L"wrong kind of value");
  EXPECT_NE(reports[0].report.details.find(L"check-in"), std::wstring::npos);
  EXPECT_EQ(reports[0].thread, std::this_thread::get_id());
  EXPECT_TRUE(http_->Calls().empty());
  EXPECT_TRUE(results_.empty());
}

TEST_F(CheckInTest, TheHoldRequestCarriesOnlyVersionAndCommand) {
  Script({L"ignored"});
  StartSendHold(Host(), L"https://www.example.test/api.init.php");
  ASSERT_TRUE(WorkerGone());
  const std::vector<FakeHttp::Call> calls = http_->Calls();
  ASSERT_EQ(calls.size(), 1u);  // one attempt, whatever the outcome
  EXPECT_EQ(Narrow(calls[0].url), "https://www.example.test/api.init.php");
  EXPECT_THAT(Flat(calls[0].headers),
              ElementsAre(Pair("User-Version", "1.5.9.0"), Pair("User-Command", "hold")));
}

}  // namespace
}  // namespace tavrin::test

#include "app/adapter_lookahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

// Answers in turn, noting the thread that asked.
struct ScriptedSearch {
  explicit ScriptedSearch(std::vector<FoundAdapter> script) : answers(std::move(script)) {}

  std::vector<FoundAdapter> answers;
  std::mutex lock;
  std::vector<std::thread::id> threads;

  FoundAdapter operator()() {
    const std::scoped_lock held(lock);
    threads.push_back(std::this_thread::get_id());
    return answers.at(threads.size() - 1);
  }
};

TEST(AdapterLookahead, SearchesOnAThreadOfItsOwnBeforeItIsAsked) {
  std::promise<std::thread::id> started;
  AdapterLookahead lookahead([&started] {
    started.set_value(std::this_thread::get_id());
    return FoundAdapter{true, L"Ethernet", L"{GUID}", L"192.0.2.2"};
  });
  auto searching = started.get_future();
  ASSERT_EQ(searching.wait_for(10s), std::future_status::ready) << "nobody asked yet";
  EXPECT_NE(searching.get(), std::this_thread::get_id());

  std::wstring name, guid, ip;
  EXPECT_TRUE(lookahead.GetActiveAdapter(name, guid, ip));
}

TEST(AdapterLookahead, TheFirstQuestionTakesTheEarlyAnswerALaterOneSearchesAgain) {
  ScriptedSearch search{
      {{true, L"Ethernet", L"{7A1E5C00-0000-4000-8000-00000000BEEF}", L"192.0.2.2"},
       {false, L"", L"", L""}}};
  AdapterLookahead lookahead([&search] { return search(); });

  std::wstring name = L"old", guid = L"old", ip = L"old";
  ASSERT_TRUE(lookahead.GetActiveAdapter(name, guid, ip));
  EXPECT_EQ(name, L"Ethernet");
  EXPECT_EQ(guid, L"{7A1E5C00-0000-4000-8000-00000000BEEF}");
  EXPECT_EQ(ip, L"192.0.2.2");

  EXPECT_FALSE(lookahead.GetActiveAdapter(name, guid, ip));
  EXPECT_EQ(name, L"");
  ASSERT_EQ(search.threads.size(), 2u);
  EXPECT_NE(search.threads[0], std::this_thread::get_id());
  EXPECT_EQ(search.threads[1], std::this_thread::get_id());
}

TEST(AdapterLookahead, WhatTheSearchRaisedReachesTheFirstQuestion) {
  AdapterLookahead lookahead([]() -> FoundAdapter { throw std::runtime_error("WMI is gone"); });
  std::wstring name, guid, ip;
  try {
    lookahead.GetActiveAdapter(name, guid, ip);
    FAIL() << "the search's error was lost";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "WMI is gone");
  }
}

TEST(AdapterLookahead, WithoutAThreadTheQuestionSearches) {
  ScriptedSearch search({{true, L"Ethernet", L"{GUID}", L"192.0.2.2"}});
  AdapterLookahead lookahead(
      [&search] { return search(); },
      [](std::function<void()>) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      });
  EXPECT_TRUE(search.threads.empty());

  std::wstring name, guid, ip;
  ASSERT_TRUE(lookahead.GetActiveAdapter(name, guid, ip));
  EXPECT_EQ(ip, L"192.0.2.2");
  ASSERT_EQ(search.threads.size(), 1u);
  EXPECT_EQ(search.threads[0], std::this_thread::get_id());
}

TEST(AdapterLookahead, AnAnswerNobodyAsksForOutlivesTheLookahead) {
  std::promise<void> gate;
  std::shared_future<void> open = gate.get_future().share();
  auto finished = std::make_shared<std::promise<FoundAdapter>>();
  auto seen = finished->get_future();
  {
    AdapterLookahead lookahead([open, finished] {
      open.wait();
      FoundAdapter answer{true, L"Wi-Fi", L"{GUID}", L"10.0.0.7"};
      finished->set_value(answer);
      return answer;
    });
  }  // gone while its search still runs
  gate.set_value();
  ASSERT_EQ(seen.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(seen.get().name, L"Wi-Fi");
}

}  // namespace
}  // namespace tavrin::test

#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sys/http_client.h"

namespace tavrin::test {

// Answers with the scripted replies in order; nothing scripted (or a
// nullopt) is a request that got no response.
class FakeHttp final : public HttpClient {
 public:
  struct Call {
    std::wstring url;
    std::vector<HttpHeader> headers;
    BodyDecoding decoding;
  };
  explicit FakeHttp(std::deque<std::optional<std::wstring>> replies = {})
      : replies_(std::move(replies)) {}
  bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers, BodyDecoding decoding,
           std::wstring& body, std::stop_token) override {
    const std::scoped_lock lock(mutex_);
    calls_.push_back({url, headers, decoding});
    if (replies_.empty() || !replies_.front()) {
      if (!replies_.empty()) replies_.pop_front();
      return false;
    }
    body = *replies_.front();
    replies_.pop_front();
    return true;
  }
  std::vector<Call> Calls() const {
    const std::scoped_lock lock(mutex_);
    return calls_;
  }

 private:
  mutable std::mutex mutex_;
  std::deque<std::optional<std::wstring>> replies_;
  std::vector<Call> calls_;
};

}  // namespace tavrin::test

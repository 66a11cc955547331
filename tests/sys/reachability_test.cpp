#include "sys/reachability.h"

#include <gtest/gtest.h>

#include "sys/http_charset.h"

namespace tavrin {
namespace {

// Answers every request with one reply, or with none, and keeps the request.
class OneReplyClient final : public HttpClient {
 public:
  explicit OneReplyClient(std::optional<std::wstring> body) : body_(std::move(body)) {}

  bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers, BodyDecoding decoding,
           std::wstring& body) override {
    ++requests;
    lastUrl = url;
    lastHeaderCount = headers.size();
    lastDecoding = decoding;
    if (body_) body = *body_;
    return body_.has_value();
  }

  int requests = 0;
  std::wstring lastUrl;
  std::size_t lastHeaderCount = 0;
  BodyDecoding lastDecoding = BodyDecoding::kUtf8;

 private:
  std::optional<std::wstring> body_;
};

TEST(IsOnline, NeedsTheQuotedKeyInTheBody) {
  const struct {
    std::optional<std::wstring> body;  // nothing: no response
    bool online;
  } cases[] = {
      {L"{\"ip\":\"203.0.113.7\"}", true},
      {L"<html>error page quoting {\"ip\":null}</html>", true},
      {L"{ip:203.0.113.7}", false},
      {L"{\"IP\":\"203.0.113.7\"}", false},
      {L"", false},
      {std::nullopt, false},
  };
  for (const auto& c : cases) {
    OneReplyClient http(c.body);
    EXPECT_EQ(IsOnline(http, L"https://api.example/myip"), c.online)
        << ::testing::PrintToString(c.body.value_or(L"(no response)"));
  }
}

TEST(IsOnline, SendsOnePlainGetReadInTheDeclaredCharset) {
  OneReplyClient http(L"{\"ip\":\"203.0.113.7\"}");
  IsOnline(http, L"https://api.example/myip");
  EXPECT_EQ(http.requests, 1);
  EXPECT_EQ(http.lastUrl, L"https://api.example/myip");
  EXPECT_EQ(http.lastHeaderCount, 0u);
  EXPECT_EQ(http.lastDecoding, BodyDecoding::kDeclaredCharset);
}

TEST(HttpCharset, ReadsTheCharsetParameter) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"text/plain; charset=windows-1251", L"windows-1251"},
      {L"text/html;Charset=\"Shift_JIS\"", L"Shift_JIS"},
      {L"application/json; boundary=x; charset = EUC-KR ; q=1", L"EUC-KR"},
      {L"application/json", L""},
      {L"text/plain; notcharset=latin1", L""},
      {L"", L""},
  };
  for (const auto& [contentType, charset] : cases) {
    EXPECT_EQ(CharsetOfContentType(contentType), charset) << ::testing::PrintToString(contentType);
  }
}

TEST(HttpCharset, MapsNamesToCodePages) {
  EXPECT_EQ(CodePageOfCharset(L"utf-8"), kUtf8CodePage);
  EXPECT_EQ(CodePageOfCharset(L"windows-1251"), 1251u);
  EXPECT_EQ(CodePageOfCharset(L"iso-8859-1"), 28591u);
  EXPECT_EQ(CodePageOfCharset(L"Shift_JIS"), 932u);
  EXPECT_EQ(CodePageOfCharset(L"EUC-KR"), 949u);
  EXPECT_EQ(CodePageOfCharset(L"x-unknown"), std::nullopt);
  EXPECT_EQ(CodePageOfCharset(L""), std::nullopt);
}

}  // namespace
}  // namespace tavrin

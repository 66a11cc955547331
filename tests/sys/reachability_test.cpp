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
           std::wstring& body, std::stop_token stop) override {
    ++requests;
    lastStop = stop;
    lastUrl = url;
    lastHeaderCount = headers.size();
    lastDecoding = decoding;
    if (body_) body = *body_;
    return body_.has_value();
  }

  int requests = 0;
  std::stop_token lastStop;
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
  std::stop_source limit;
  IsOnline(http, L"https://api.example/myip", limit.get_token());
  EXPECT_EQ(http.requests, 1);
  EXPECT_TRUE(http.lastStop == limit.get_token()) << "the wait's limit cannot end the request";
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
      {L"text/plain;\tcharset=\tkoi8-r\t", L"koi8-r"},
      {L"", L""},
  };
  for (const auto& [contentType, charset] : cases) {
    EXPECT_EQ(CharsetOfContentType(contentType), charset) << ::testing::PrintToString(contentType);
  }
}

TEST(HttpCharset, MapsEveryKnownNameToItsCodePage) {
  const std::pair<const wchar_t*, unsigned> known[] = {
      {L"utf-8", 65001},       {L"utf8", 65001},         {L"utf-16", 1200},
      {L"utf-16le", 1200},     {L"utf-16be", 1201},      {L"us-ascii", 20127},
      {L"windows-1250", 1250}, {L"windows-1251", 1251},  {L"windows-1252", 1252},
      {L"windows-1253", 1253}, {L"windows-1254", 1254},  {L"windows-1255", 1255},
      {L"windows-1256", 1256}, {L"windows-1257", 1257},  {L"windows-1258", 1258},
      {L"iso-8859-1", 28591},  {L"latin1", 28591},       {L"iso-8859-2", 28592},
      {L"iso-8859-5", 28595},  {L"iso-8859-15", 28605},  {L"koi8-r", 20866},
      {L"koi8-u", 21866},      {L"shift_jis", 932},      {L"shift-jis", 932},
      {L"sjis", 932},          {L"windows-31j", 932},    {L"euc-jp", 20932},
      {L"euc-kr", 949},        {L"ks_c_5601-1987", 949}, {L"gb2312", 936},
      {L"gbk", 936},           {L"gb18030", 54936},      {L"big5", 950},
  };
  for (const auto& [name, page] : known) {
    EXPECT_EQ(CodePageOfCharset(name), page) << testing::PrintToString(std::wstring(name));
  }
  EXPECT_EQ(CodePageOfCharset(L"UTF-16BE"), 1201u);  // any letter case
  EXPECT_EQ(CodePageOfCharset(L"Shift_JIS"), 932u);
  for (const wchar_t* unknown : {L"x-unknown", L"", L"utf-16 ", L"utf-1", L"\u0130so-8859-1"}) {
    EXPECT_EQ(CodePageOfCharset(unknown), std::nullopt)
        << testing::PrintToString(std::wstring(unknown));
  }
}

TEST(HttpCharset, DecodesTheDeclaredCharset) {
  // Stands in for the system's code pages: knows only windows-1252, as Latin-1.
  const CodePageDecoder latin1 = [](std::string_view bytes,
                                    unsigned page) -> std::optional<std::wstring> {
    if (page != 1252) return std::nullopt;
    std::wstring text;
    for (const unsigned char b : bytes) text.push_back(b);
    return text;
  };
  const struct {
    const wchar_t* contentType;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {L"text/plain; charset=utf-16", std::string("h\0\xE9\0\x3D\xD8\x00\xDE", 8),
       L"h\u00E9\U0001F600"},
      {L"text/plain; charset=UTF-16BE", std::string("\0h\0\xE9\xD8\x3D\xDE\x00", 8),
       L"h\u00E9\U0001F600"},
      {L"text/plain; charset=utf-16be", std::string("\0h\0", 3), L"h"},  // odd last byte dropped
      {L"text/plain; charset=windows-1252", "caf\xE9", L"caf\u00E9"},
      {L"text/plain; charset=koi8-r", "caf\xC3\xA9", L"caf\u00E9"},  // the system lacks it
      {L"text/plain; charset=x-unknown", "caf\xC3\xA9\xFF", L"caf\u00E9\uFFFD"},
      {L"", "caf\xC3\xA9", L"caf\u00E9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeDeclaredCharset(c.bytes, c.contentType, latin1), c.text)
        << ::testing::PrintToString(c.contentType);
  }
}

}  // namespace
}  // namespace tavrin

// The WinHTTP client and the reachability probe against the local stand-in of
// the maker's service (tests/standin), which ctest starts for this binary.

#include <windows.h>
#include <gtest/gtest.h>
#include <wincrypt.h>

#include <chrono>
#include <stop_token>
#include <thread>

#include "base/text_encoding.h"
#include "support/standin.h"
#include "sys/http_client.h"
#include "sys/reachability.h"

namespace tavrin {
namespace {

using namespace std::string_literals;
using test::ScriptedReply;

class HttpAgainstStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin_.Available())
        << "no stand-in service at " << WideToUtf8(standin_.BaseUrl())
        << " (configure the build with TAVRIN_API_URL=http://127.0.0.1:PORT)";
    standin_.Reset();
  }

  bool Get(const std::wstring& path, std::wstring& body,
           BodyDecoding decoding = BodyDecoding::kDeclaredCharset,
           const std::vector<HttpHeader>& headers = {}) {
    return SystemHttp().Get(standin_.BaseUrl() + path, headers, decoding, body);
  }

  // The program's probe, bound to the stand-in as the program binds it to the maker.
  bool ProbeMyIp() { return IsOnline(SystemHttp(), standin_.BaseUrl() + L"/myip"); }

  test::StandIn standin_;
};

TEST_F(HttpAgainstStandIn, IsOnlineWhenTheBodyHoldsTheQuotedKey) {
  const struct {
    ScriptedReply reply;
    bool online;
  } cases[] = {
      {{200, {{L"Content-Type", L"application/json"}}, R"({"ip":"203.0.113.7"})"}, true},
      {{500, {}, R"(<p>failure</p>{"ip":null})"}, true},
      {{200, {}, "{ip:203.0.113.7}"}, false},
      {{200, {}, R"({"IP":"203.0.113.7"})"}, false},
      {{200, {}, "", 1, /*drop=*/true}, false},
  };
  for (const auto& c : cases) {
    standin_.Reset();
    standin_.Reply(L"/myip", c.reply);
    EXPECT_EQ(ProbeMyIp(), c.online) << c.reply.status << ' ' << c.reply.body;
    const auto requests = standin_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find(L"\"method\": \"GET\", \"path\": \"/myip\""), std::wstring::npos)
        << WideToUtf8(requests[0]);
  }
}

TEST_F(HttpAgainstStandIn, TheDefaultMyIpReplyCountsAsOnline) { EXPECT_TRUE(ProbeMyIp()); }

TEST_F(HttpAgainstStandIn, ARefusedConnectionFailsAtOnce) {
  const std::wstring url = test::RefusingUrl(L"/myip");
  std::wstring body = L"untouched";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(IsOnline(SystemHttp(), url));
  EXPECT_FALSE(SystemHttp().Get(url, {}, BodyDecoding::kUtf8, body));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(body, L"untouched");
}

// A server that accepts and says nothing for a minute.
ScriptedReply Silent() {
  ScriptedReply reply{200, {}, R"({"ip":"127.0.0.1"})"};
  reply.delayMs = 60'000;
  return reply;
}

TEST_F(HttpAgainstStandIn, ASilentServerFailsAtTheReceiveTimeOut) {
  standin_.Reply(L"/myip", Silent());
  const auto http = MakeSystemHttp(std::chrono::seconds(3));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(IsOnline(*http, standin_.BaseUrl() + L"/myip"));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::seconds(3));
  EXPECT_LT(waited, std::chrono::seconds(30)) << "the time-out never fired";
}

TEST_F(HttpAgainstStandIn, AStopEndsARequestTheServerHolds) {
  standin_.Reply(L"/myip", Silent());
  std::stop_source limit;
  std::thread alarm([&] {
    std::this_thread::sleep_for(std::chrono::seconds(2));
    limit.request_stop();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(IsOnline(SystemHttp(), standin_.BaseUrl() + L"/myip", limit.get_token()));
  const auto waited = std::chrono::steady_clock::now() - start;
  alarm.join();
  EXPECT_LT(waited, std::chrono::seconds(15)) << "the request was waited for";
  // The client works on.
  standin_.Reset();
  EXPECT_TRUE(ProbeMyIp());
}

TEST_F(HttpAgainstStandIn, AnyStatusIsAResponseAndRedirectsAreFollowed) {
  standin_.Reply(L"/missing", {404, {}, "gone"});
  standin_.Reply(L"/moved", {302, {{L"Location", L"/target"}}, ""});
  standin_.Reply(L"/target", {200, {}, "arrived"});
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"/missing", L"gone"},
                                                             {L"/moved", L"arrived"}};
  for (const auto& [path, expected] : cases) {
    std::wstring body;
    EXPECT_TRUE(Get(path, body)) << WideToUtf8(path);
    EXPECT_EQ(body, expected) << WideToUtf8(path);
  }
}

TEST_F(HttpAgainstStandIn, DecodesTheBody) {
  const struct {
    const wchar_t* contentType;  // empty: none sent
    std::string bytes;
    BodyDecoding decoding;
    std::wstring text;
  } cases[] = {
      {L"text/plain; charset=windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2",
       BodyDecoding::kDeclaredCharset, L"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {L"text/plain; charset=ISO-8859-1", "caf\xE9", BodyDecoding::kDeclaredCharset, L"caf\u00E9"},
      {L"text/plain; charset=\"Shift_JIS\"", "\x93\xFA\x96\x7B", BodyDecoding::kDeclaredCharset,
       L"\u65E5\u672C"},
      {L"text/plain; charset=euc-kr", "\xC7\xD1\xB1\xB9", BodyDecoding::kDeclaredCharset,
       L"\uD55C\uAD6D"},
      // Both byte orders; an odd last byte is dropped.
      {L"application/json; charset=UTF-16BE", "\0{\0\"\0i\0p\0\"\0}"s,
       BodyDecoding::kDeclaredCharset, L"{\"ip\"}"},
      {L"application/json; charset=utf-16le", "{\0\xE9\0!"s, BodyDecoding::kDeclaredCharset,
       L"{\u00E9"},
      {L"", "caf\xC3\xA9", BodyDecoding::kDeclaredCharset, L"caf\u00E9"},
      {L"text/plain; charset=x-no-such-set", "caf\xC3\xA9", BodyDecoding::kDeclaredCharset,
       L"caf\u00E9"},
      {L"application/json", "a\xFF\xC3(b", BodyDecoding::kDeclaredCharset, L"a\uFFFD\uFFFD(b"},
      {L"text/plain; charset=windows-1251", "caf\xC3\xA9", BodyDecoding::kUtf8, L"caf\u00E9"},
  };
  for (const auto& c : cases) {
    ScriptedReply reply{200, {}, c.bytes};
    if (*c.contentType) reply.headers.push_back({L"Content-Type", c.contentType});
    standin_.Reply(L"/text", reply);
    std::wstring body;
    EXPECT_TRUE(Get(L"/text", body, c.decoding)) << WideToUtf8(c.contentType);
    EXPECT_EQ(body, c.text) << WideToUtf8(c.contentType);
    standin_.Reset();
  }
}

TEST_F(HttpAgainstStandIn, CutsABodyAfterOneMebibyte) {
  const std::string block = "0123456789abcdef";
  standin_.Reply(L"/huge", {200, {}, block, static_cast<int>(kMaxBodyBytes / block.size()) + 4096});
  std::wstring body;
  ASSERT_TRUE(Get(L"/huge", body));
  ASSERT_EQ(body.size(), kMaxBodyBytes);
  EXPECT_EQ(body.substr(body.size() - block.size()), Utf8ToWide(block));
  // The dropped rest leaves nothing behind for the next request.
  EXPECT_TRUE(ProbeMyIp());
}

TEST_F(HttpAgainstStandIn, SendsTheHeadersInOrder) {
  std::wstring body;
  ASSERT_TRUE(Get(L"/api.init.php", body, BodyDecoding::kUtf8,
                  {{L"User-Version", L"1.5.9.0"},
                   {L"User-Language", L"ko"},
                   {L"User-Debug", L"false"},
                   {L"User-Union", L"0123456789abcdef0123456789abcdef"}}));
  const auto requests = standin_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::wstring& request = requests[0];
  std::size_t last = 0;
  for (const wchar_t* header : {L"[\"User-Version\", \"1.5.9.0\"]", L"[\"User-Language\", \"ko\"]",
                                L"[\"User-Debug\", \"false\"]",
                                L"[\"User-Union\", \"0123456789abcdef0123456789abcdef\"]"}) {
    const std::size_t at = request.find(header);
    ASSERT_NE(at, std::wstring::npos) << WideToUtf8(header) << " in " << WideToUtf8(request);
    EXPECT_GT(at, last) << WideToUtf8(header) << " out of order in " << WideToUtf8(request);
    last = at;
  }
}

// Trusts the stand-in's test authority for this prefix's user.
bool TrustTestAuthority(const std::string& pem) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                            nullptr)) {
    return false;
  }
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                            nullptr)) {
    return false;
  }
  const HCERTSTORE root =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
  if (!root) return false;
  const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                                      CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  CertCloseStore(root, 0);
  return added;
}

TEST_F(HttpAgainstStandIn, SpeaksHttpsWithTheCertificateChecked) {
  const unsigned short port = standin_.HttpsPort();
  ASSERT_NE(port, 0) << "the stand-in serves no HTTPS";
  ASSERT_TRUE(TrustTestAuthority(standin_.CaPem()));
  const std::wstring tail = L":" + std::to_wstring(port) + L"/myip";
  EXPECT_TRUE(IsOnline(SystemHttp(), L"https://localhost" + tail));
  // The certificate names localhost, not the address.
  EXPECT_FALSE(IsOnline(SystemHttp(), L"https://127.0.0.1" + tail));
  const auto requests = standin_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_NE(requests[0].find(L"\"scheme\": \"https\""), std::wstring::npos);
}

}  // namespace
}  // namespace tavrin

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "base/text_encoding.h"
#include "sys/http_charset.h"
#include "sys/http_client.h"

namespace tavrin {
namespace {

struct InternetCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Every request waits the same 60 seconds to connect, send and receive, and
// follows at most five redirects.
constexpr int kTimeoutMs = 60'000;
constexpr DWORD kMaxRedirects = 5;

std::wstring ContentType(HINTERNET request) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_HEADER_NAME_BY_INDEX, nullptr,
                      &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_HEADER_NAME_BY_INDEX,
                           value.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  value.resize(size / sizeof(wchar_t));
  return value;
}

// Reads up to kMaxBodyBytes and leaves the rest unread, so that a broken or
// hostile server cannot make the program hold an endless body.
bool ReadBody(HINTERNET request, std::string& bytes) {
  char chunk[16 * 1024];
  while (bytes.size() < kMaxBodyBytes) {
    const auto wanted = static_cast<DWORD>(std::min(sizeof chunk, kMaxBodyBytes - bytes.size()));
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk, wanted, &read)) return false;
    if (read == 0) break;
    bytes.append(chunk, read);
  }
  return true;
}

std::optional<std::wstring> DecodeCodePage(std::string_view bytes, unsigned codePage) {
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring text(length, L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
  return text;
}

std::wstring Decode(const std::string& bytes, BodyDecoding decoding, HINTERNET request) {
  if (bytes.empty() || decoding == BodyDecoding::kUtf8) return Utf8ToWide(bytes);
  return DecodeDeclaredCharset(bytes, ContentType(request), DecodeCodePage);
}

// The proxy the user's system settings name or detect (Windows 8.1 on). Older
// systems refuse that mode as an invalid parameter; they get the proxy set
// for WinHTTP alone, as before.
InternetHandle OpenSession() {
  for (const DWORD access :
       {WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY}) {
    InternetHandle session(
        WinHttpOpen(L"Tavrin", access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (session || GetLastError() != ERROR_INVALID_PARAMETER) return session;
  }
  return nullptr;
}

class WinHttpClient final : public HttpClient {
 public:
  bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers, BodyDecoding decoding,
           std::wstring& body) override {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    // Path and query lie next to each other in the URL.
    std::wstring target(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    if (target.empty()) target = L"/";

    const InternetHandle session = OpenSession();
    if (!session || !WinHttpSetTimeouts(session.get(), 0, kTimeoutMs, kTimeoutMs, kTimeoutMs)) {
      return false;
    }
    const InternetHandle connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return false;
    const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    const InternetHandle request(WinHttpOpenRequest(connection.get(), L"GET", target.c_str(),
                                                    nullptr, WINHTTP_NO_REFERER,
                                                    WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    DWORD maxRedirects = kMaxRedirects;
    if (!request || !WinHttpSetOption(request.get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS,
                                      &maxRedirects, sizeof maxRedirects)) {
      return false;
    }
    for (const HttpHeader& header : headers) {
      const std::wstring line = header.name + L": " + header.value;
      if (!WinHttpAddRequestHeaders(request.get(), line.c_str(), static_cast<DWORD>(line.size()),
                                    WINHTTP_ADDREQ_FLAG_ADD)) {
        return false;
      }
    }
    std::string bytes;
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr) || !ReadBody(request.get(), bytes)) {
      return false;
    }
    body = Decode(bytes, decoding, request.get());
    return true;
  }
};

}  // namespace

HttpClient& SystemHttp() {
  static WinHttpClient client;
  return client;
}

}  // namespace tavrin

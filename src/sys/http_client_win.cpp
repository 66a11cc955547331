#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/detached_thread.h"
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
constexpr DWORD kTimeoutMs = 60'000;
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

// The request handle, closed by whichever comes first: the end of the
// exchange or the caller's stop, from any thread.
class RequestSlot {
 public:
  void Hold(HINTERNET request) {
    request_ = request;
    if (cancelled_) Close();  // the stop came while the request was being opened
  }
  void Cancel() {
    cancelled_ = true;
    Close();
  }
  void Close() {
    if (HINTERNET request = request_.exchange(nullptr)) WinHttpCloseHandle(request);
  }

 private:
  std::atomic<HINTERNET> request_{nullptr};
  std::atomic<bool> cancelled_{false};
};

// Closes the slot's request at the end of a scope, before the connection and
// the session go.
struct ClosedAtEnd {
  RequestSlot& slot;
  ~ClosedAtEnd() { slot.Close(); }
};

bool Exchange(const std::wstring& url, const std::vector<HttpHeader>& headers,
              BodyDecoding decoding, std::wstring& body, DWORD timeoutMs, RequestSlot& slot) {
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
  const int timeout = static_cast<int>(timeoutMs);
  if (!session || !WinHttpSetTimeouts(session.get(), 0, timeout, timeout, timeout)) return false;
  const InternetHandle connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return false;
  const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  const HINTERNET request =
      WinHttpOpenRequest(connection.get(), L"GET", target.c_str(), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
  if (!request) return false;
  slot.Hold(request);
  const ClosedAtEnd closer{slot};
  DWORD maxRedirects = kMaxRedirects;
  // The wait for the response's headers has a time-out of its own, which
  // Windows otherwise sets to 90 seconds and Wine leaves unlimited.
  if (!WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeoutMs,
                        sizeof timeoutMs) ||
      !WinHttpSetOption(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &maxRedirects,
                        sizeof maxRedirects)) {
    return false;
  }
  for (const HttpHeader& header : headers) {
    const std::wstring line = header.name + L": " + header.value;
    if (!WinHttpAddRequestHeaders(request, line.c_str(), static_cast<DWORD>(line.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD)) {
      return false;
    }
  }
  std::string bytes;
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                          0, 0) ||
      !WinHttpReceiveResponse(request, nullptr) || !ReadBody(request, bytes)) {
    return false;
  }
  body = Decode(bytes, decoding, request);
  return true;
}

// One exchange on a thread of its own, and what it brought back; the caller
// and the thread share it, and whichever lets go last frees it.
struct PendingExchange {
  std::wstring url;
  std::vector<HttpHeader> headers;
  BodyDecoding decoding;
  DWORD timeoutMs;
  RequestSlot slot;
  std::mutex mutex;
  std::condition_variable_any changed;
  bool done = false;
  bool received = false;
  std::wstring body;
};

class WinHttpClient final : public HttpClient {
 public:
  explicit WinHttpClient(DWORD timeoutMs) : timeoutMs_(timeoutMs) {}

  bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers, BodyDecoding decoding,
           std::wstring& body, std::stop_token stop) override {
    if (!stop.stop_possible()) {
      RequestSlot slot;
      return Exchange(url, headers, decoding, body, timeoutMs_, slot);
    }
    // Closing the request ends a blocking call on Windows, but Wine goes on
    // waiting for the server: at a stop the caller leaves that thread behind.
    auto pending = std::make_shared<PendingExchange>();
    pending->url = url;
    pending->headers = headers;
    pending->decoding = decoding;
    pending->timeoutMs = timeoutMs_;
    StartDetachedThread([pending] {
      std::wstring received;
      bool ok = false;
      try {
        ok = Exchange(pending->url, pending->headers, pending->decoding, received,
                      pending->timeoutMs, pending->slot);
      } catch (...) {
        // Out of memory: a request that brought nothing back.
      }
      const std::lock_guard lock(pending->mutex);
      pending->done = true;
      pending->received = ok;
      pending->body = std::move(received);
      pending->changed.notify_all();
    });
    std::unique_lock lock(pending->mutex);
    if (!pending->changed.wait(lock, stop, [&] { return pending->done; })) {
      pending->slot.Cancel();
      return false;
    }
    if (pending->received) body = std::move(pending->body);
    return pending->received;
  }

 private:
  DWORD timeoutMs_;
};

}  // namespace

HttpClient& SystemHttp() {
  static WinHttpClient client(kTimeoutMs);
  return client;
}

std::unique_ptr<HttpClient> MakeSystemHttp(std::chrono::milliseconds timeout) {
  return std::make_unique<WinHttpClient>(static_cast<DWORD>(timeout.count()));
}

}  // namespace tavrin

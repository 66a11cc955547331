#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace tavrin {

struct HttpHeader {
  std::wstring name;
  std::wstring value;
};

enum class BodyDecoding {
  kDeclaredCharset,  // the charset the reply declares, UTF-8 when it declares none
  kUtf8,             // UTF-8 whatever the reply declares
};

// Bodies are cut after this many bytes; the rest is never read.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

// One GET per call with the platform's defaults for time-outs, redirects and
// certificate checks; no state is kept between calls.
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Sends the headers in order. True when a response arrived, whatever its
  // status; body then holds the decoded body. On false body is left as it was.
  // Once `stop` is requested the request is closed and the call returns false
  // at once, whatever the server does.
  virtual bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers,
                   BodyDecoding decoding, std::wstring& body, std::stop_token stop = {}) = 0;
};

// WinHTTP (Windows builds only), waiting 60 seconds to connect, send and
// receive; tests make clients that wait less.
HttpClient& SystemHttp();
std::unique_ptr<HttpClient> MakeSystemHttp(std::chrono::milliseconds timeout);

}  // namespace tavrin

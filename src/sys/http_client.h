#pragma once

#include <cstddef>
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
  virtual bool Get(const std::wstring& url, const std::vector<HttpHeader>& headers,
                   BodyDecoding decoding, std::wstring& body) = 0;
};

// WinHTTP (Windows builds only).
HttpClient& SystemHttp();

}  // namespace tavrin

#include "sys/reachability.h"

namespace tavrin {

bool IsOnline(HttpClient& http, const std::wstring& url, std::stop_token stop) {
  std::wstring body;
  return http.Get(url, {}, BodyDecoding::kDeclaredCharset, body, std::move(stop)) &&
         body.find(L"\"ip\"") != std::wstring::npos;
}

}  // namespace tavrin

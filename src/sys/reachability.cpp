#include "sys/reachability.h"

namespace tavrin {

bool IsOnline(HttpClient& http, const std::wstring& url) {
  std::wstring body;
  return http.Get(url, {}, BodyDecoding::kDeclaredCharset, body) &&
         body.find(L"\"ip\"") != std::wstring::npos;
}

}  // namespace tavrin

#pragma once

#include <string>

#include "sys/http_client.h"

namespace tavrin {

// One probe of the public-address endpoint at url: true when a response came
// back, whatever its status, and its body holds "ip" in quotes.
bool IsOnline(HttpClient& http, const std::wstring& url);

}  // namespace tavrin

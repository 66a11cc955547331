#pragma once

#include <string>

#include "sys/http_client.h"

namespace tavrin {

// One probe of the public-address endpoint at url: true when a response came
// back, whatever its status, and its body holds "ip" in quotes. A stop ends it
// with false.
bool IsOnline(HttpClient& http, const std::wstring& url, std::stop_token stop = {});

}  // namespace tavrin

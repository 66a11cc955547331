#pragma once

#include <string>
#include <vector>

#include "sys/http_client.h"

namespace tavrin::test {

struct ScriptedReply {
  int status = 200;
  std::vector<HttpHeader> headers;
  std::string body;   // bytes as sent
  int repeat = 1;     // the body is sent this many times over
  bool drop = false;  // close the connection without replying
  int delayMs = 0;    // wait this long before replying
  int chunkBytes = 0;  // send the body in HTTP chunks this big
  int pauseMs = 0;     // with this long between the pieces
};

// A URL on this machine where nothing listens: its port was free a moment ago.
std::wstring RefusingUrl(const std::wstring& path);

// The local stand-in of the maker's service that the build's API URL points
// at (tests/standin), driven through its control interface (Windows builds).
class StandIn {
 public:
  StandIn();

  // False when the build is not pointed at a stand-in on this machine, or
  // none answers there.
  bool Available();
  const std::wstring& BaseUrl() const { return base_; }

  void Reset();
  void Reply(const std::wstring& path, const ScriptedReply& reply);
  // The request log, one request a line: {"scheme", "method", "path", "headers"}.
  std::vector<std::wstring> Requests();
  unsigned short HttpsPort();
  std::string CaPem();

 private:
  std::wstring Control(const std::wstring& command, const std::wstring& query = L"");

  std::wstring base_;
};

}  // namespace tavrin::test

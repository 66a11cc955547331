#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/interface_thread.h"
#include "sys/http_client.h"

// The start-up check-in with the maker's web service: the request on a worker
// thread, the reply handed to the interface thread, and the update prompt.
namespace tavrin {

// The check-in endpoint and the prompt's height adjustment: written by
// CheckUpdate on the interface thread before any worker starts, then only read.
extern std::wstring CheckInURL;
extern int HeightAdjust;

// Set once the message loop has ended; a check-in that is still waiting stops.
extern std::atomic<bool> ApplicationTerminating;

// `AProc`: whether the user accepted the update (and it went to the shell),
// and the reply as received (empty when none arrived).
using CheckInCallback = std::function<void(bool accepted, const std::wstring& reply)>;

// What the check-in takes from the rest of the program: the real ones in the
// program, fakes in tests.
struct ServiceHost {
  std::shared_ptr<HttpClient> http;
  std::function<std::wstring()> appVersion;  // GetAppVersion("%d.%d.%d.%d")
  std::function<std::wstring()> clientId;    // GetClientID
  std::wstring language;                     // the interface language code
  bool debug = false;                        // the leak-reporting build switch
  std::function<bool()> terminating;
  std::function<void(std::chrono::milliseconds)> sleep;
  std::shared_ptr<InterfaceThread> interfaceThread;
  // The modal prompt on the interface thread: true when the user said Yes.
  std::function<bool(const std::wstring& reply)> updateDialog;
  // True when the shell took the target.
  std::function<bool(const std::wstring& target)> shellOpen;
  // The program's error box, on the interface thread.
  std::function<void(const std::wstring& text)> showError;
};

// The check-in's headers in the order they are sent.
std::vector<HttpHeader> CheckInHeaders(const ServiceHost& host);

// One GET of url with these headers, the body decoded as UTF-8 whatever the
// reply declares. True when any response arrived, error statuses included.
// Control characters are dropped from header values, so that none can add a
// header or put raw control bytes on the wire.
bool HttpGetText(HttpClient& http, const std::wstring& url, const std::vector<HttpHeader>& headers,
                 std::wstring& body);

// Up to six attempts, each failure followed by ten seconds of waiting in
// 10 ms steps. The reply, the empty reply when every attempt failed, or
// nothing when the program began terminating during a wait.
std::optional<std::wstring> RequestCheckIn(const ServiceHost& host, const std::wstring& url);

// Stores the endpoint and the adjustment, starts the check-in on a
// self-freeing thread and returns. The worker waits for the interface thread
// to take a first hand-over before it requests. AProc runs on the interface
// thread, once, unless the program ends first.
void CheckUpdate(const std::wstring& endpoint, CheckInCallback AProc, int heightAdjust,
                 ServiceHost host);

// The hold request: one attempt with just the version and the command; the
// outcome is ignored. StartSendHold runs it on a self-freeing thread.
void SendHold(const ServiceHost& host, const std::wstring& url);
void StartSendHold(const ServiceHost& host, const std::wstring& url);

}  // namespace tavrin

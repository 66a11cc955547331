#include "service/check_in.h"

#include <algorithm>

#include "base/worker.h"
#include "i18n/own_texts.h"
#include "service/update_prompt.h"

namespace tavrin {

std::wstring CheckInURL;
int HeightAdjust = 0;
std::atomic<bool> ApplicationTerminating{false};

namespace {

constexpr int kAttempts = 6;
constexpr int kWaitSteps = 1000;
constexpr std::chrono::milliseconds kWaitStep{10};

// Shared by the worker and the hand-over; whichever lets go last frees it.
struct CheckInContext {
  CheckInCallback AProc;
  ServiceHost host;
  std::wstring url;
};

struct HandOverRecord {
  std::wstring Data;
  std::wstring Item;
  std::shared_ptr<CheckInContext> context;
};

// Line breaks would add headers of their own; tabs and other control
// characters (C1's NEL breaks lines too) have no business on the wire.
std::wstring WithoutControlCharacters(std::wstring value) {
  std::erase_if(value, [](wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); });
  return value;
}

// False when the program began terminating during the wait.
bool WaitAfterFailure(const ServiceHost& host) {
  for (int step = 0; step < kWaitSteps; ++step) {
    if (host.terminating()) return false;
    host.sleep(kWaitStep);
  }
  return true;
}

// Interface thread: the prompt when an update is offered, then the callback.
void HandOver(HandOverRecord& record) {
  const ServiceHost& host = record.context->host;
  record.Item = ReadUpdateOffer(record.Data).url;
  bool accepted = false;
  if (!record.Item.empty() && host.updateDialog(record.Data)) {
    // Closing without the download would leave the user with neither.
    accepted = host.shellOpen(record.Item);
    if (!accepted && host.showError) host.showError(OwnTranslate(OwnText::UpdateLinkDidNotOpen));
  }
  record.context->AProc(accepted, record.Data);
}

void RunCheckIn(const std::shared_ptr<CheckInContext>& context) {
  // Not before the interface thread reaches its message loop: the window's
  // first paint goes first, not sharing the processor or the DLL loader with
  // the connection.
  context->host.interfaceThread->RunOnInterfaceThread([] {});
  std::optional<std::wstring> reply = RequestCheckIn(context->host, context->url);
  if (!reply) return;
  auto record = std::make_shared<HandOverRecord>(HandOverRecord{std::move(*reply), L"", context});
  context->host.interfaceThread->RunOnInterfaceThread([record] { HandOver(*record); });
}

}  // namespace

std::vector<HttpHeader> CheckInHeaders(const ServiceHost& host) {
  return {{L"User-Version", host.appVersion()},
          {L"User-Language", host.language},
          {L"User-Debug", host.debug ? L"true" : L"false"},
          {L"User-Union", host.clientId()}};
}

bool HttpGetText(HttpClient& http, const std::wstring& url, const std::vector<HttpHeader>& headers,
                 std::wstring& body) {
  std::vector<HttpHeader> safe;
  for (const HttpHeader& header : headers) {
    safe.push_back({header.name, WithoutControlCharacters(header.value)});
  }
  return http.Get(url, safe, BodyDecoding::kUtf8, body);
}

std::optional<std::wstring> RequestCheckIn(const ServiceHost& host, const std::wstring& url) {
  const std::vector<HttpHeader> headers = CheckInHeaders(host);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::wstring reply;
    if (HttpGetText(*host.http, url, headers, reply)) return reply;
    if (!WaitAfterFailure(host)) return std::nullopt;
  }
  return std::wstring();
}

void CheckUpdate(const std::wstring& endpoint, CheckInCallback AProc, int heightAdjust,
                 ServiceHost host) {
  CheckInURL = endpoint;
  HeightAdjust = heightAdjust;
  // The worker keeps its own copy of the endpoint, so it never reads module
  // state that the program's end may be tearing down.
  auto context =
      std::make_shared<CheckInContext>(CheckInContext{std::move(AProc), std::move(host), endpoint});
  StartWorker(context->host.interfaceThread, L"the check-in with the web service",
              [context] { RunCheckIn(context); });
}

void SendHold(const ServiceHost& host, const std::wstring& url) {
  std::wstring ignored;
  HttpGetText(*host.http, url, {{L"User-Version", host.appVersion()}, {L"User-Command", L"hold"}},
              ignored);
}

void StartSendHold(const ServiceHost& host, const std::wstring& url) {
  StartWorker(host.interfaceThread, L"the hold request", [host, url] { SendHold(host, url); });
}

}  // namespace tavrin

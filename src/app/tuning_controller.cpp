#include "app/tuning_controller.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <exception>
#include <optional>
#include <system_error>

#include "base/ascii_case.h"
#include "base/system_messages.h"
#include "base/worker.h"
#include "i18n/own_texts.h"
#include "i18n/translation.h"
#include "settings/config.h"
#include "sys/adapter_discovery.h"

namespace tavrin {
namespace {

constexpr wchar_t kSettingsName[] = L"Tavrin";
constexpr wchar_t kStatusKey[] = L"status";
// The interface an apply wrote to, for the revert when the adapter changed.
constexpr wchar_t kInterfaceKey[] = L"interface";

// The order in which the stored choices are put back into the boxes.
constexpr std::array<OptionBox, kOptionBoxCount> kLoadOrder = {
    OptionBox::ChkTcpNoDelay, OptionBox::ChkTCPAckFrequency, OptionBox::ChkTcpDelAckTick,
    OptionBox::ChkNetworkThrottlingIndex, OptionBox::ChkSystemResponsiveness};

std::wstring SettingsKey(OptionBox box) {
  return std::wstring(kTweaks[static_cast<std::size_t>(box)].settingsKey);
}

// How the window shows each state, and what is stored on entering it.
struct StatusLook {
  const wchar_t* caption;  // Korean source text; empty shows nothing
  bool enabled;
  bool pressed;
  bool busy;
  std::optional<std::int32_t> stored;
};

std::optional<StatusLook> LookOf(TStatus status) {
  switch (status) {
    case stIdle:
      return StatusLook{L"실행하기", true, false, false, 0};
    case stRunning:
      return StatusLook{L"실행중", true, true, false, 1};
    case stBusy:
      return StatusLook{L"", false, false, true, std::nullopt};
  }
  return std::nullopt;
}

}  // namespace

// Shared by the worker and its final step; lives until both let go.
struct TTuningController::HandOver {
  TStatus Status;
  // Cleared when the controller goes; dereferenced on the interface thread only.
  std::atomic<TTuningController*> controller;
  // Requested at the wait's limit or when the controller goes: ends the probe
  // in flight instead of waiting for it.
  std::stop_source stop;
  std::chrono::milliseconds waitLimit;
  std::shared_ptr<ReachabilityProbe> probe;
  std::shared_ptr<Clock> clock;
  std::shared_ptr<InterfaceThread> interfaceThread;
};

// Shared by the adapter search and its final step, like HandOver.
struct TTuningController::AdapterSearch {
  std::atomic<TTuningController*> controller;
  std::shared_ptr<AdapterDiscovery> adapters;
  std::shared_ptr<InterfaceThread> interfaceThread;
};

namespace {

// Why the adapters could not be read, in the system's words where it has them.
std::wstring ReasonOf(const std::exception& error) {
  const auto* system = dynamic_cast<const std::system_error*>(&error);
  if (!system) return SystemNarrowToWide(error.what());
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08X", static_cast<unsigned>(system->code().value()));
  const std::optional<std::wstring> text = SystemErrorMessage(system->code().value());
  return text ? *text + L" (" + code + L")" : SystemNarrowToWide(system->what()) + L" (" + code + L")";
}

// Probes a second apart until the network answers, the probes run out or the
// time does; true when it answered.
bool WaitForNetwork(ReachabilityProbe& probe, Clock& clock, std::chrono::milliseconds limit,
                    std::stop_source stop) {
  using std::chrono::milliseconds;
  const auto deadline = clock.Now() + limit;
  const auto alarm = clock.SetAlarm(deadline, stop);
  for (int left = kProbeCount; left > 0 && !stop.stop_requested(); --left) {
    if (probe.IsOnline(stop.get_token())) return true;
    const auto remaining = std::chrono::duration_cast<milliseconds>(deadline - clock.Now());
    if (remaining <= milliseconds::zero()) return false;
    clock.Sleep(std::min(kProbePause, remaining));
    if (remaining <= kProbePause) return false;  // that sleep used up the time
  }
  return false;
}

}  // namespace

TTuningController::TTuningController(TuningView& view, TuningServices services)
    : view_(view), services_(std::move(services)) {}

TTuningController::~TTuningController() {
  if (auto search = searching_.lock()) search->controller = nullptr;
  if (auto record = waiting_.lock()) {
    record->controller = nullptr;
    record->stop.request_stop();
    const std::optional<StatusLook> settled = LookOf(record->Status);
    if (settled && settled->stored) SaveInteger(kStatusKey, *settled->stored);
  }
}

void TTuningController::LoadState() {
  bool found = false;
  try {
    found = services_.adapters->GetActiveAdapter(NetworkName, NetworkGUID, NetworkIP);
  } catch (const AdapterReadError&) {
    // Not yet: a press searches again and tells why it could not.
  }
  if (!found) {
    NetworkName = Translate(L"알수없음");
    NetworkGUID.clear();
    NetworkIP.clear();
  }
  view_.ShowAdapter(NetworkName, NetworkIP);

  // A value of the wrong type spoils only itself: it counts as its default,
  // stays as it is until the user changes it, and is reported at the end.
  std::wstring unreadable;
  const auto readOr = [&](auto read, auto fallback, const std::wstring& name) {
    try {
      return read();
    } catch (const ConfigError& error) {
      unreadable += (unreadable.empty() ? L"" : L"\n") + error.Message();
      keepAsStored_.push_back(name);
      return fallback;
    }
  };
  std::int32_t stored = 0;
  {
    TConfig config(services_.registry, kSettingsName);
    stored = readOr([&] { return config.ReadInteger(kStatusKey, 0); }, 0, kStatusKey);
    for (const OptionBox box : kLoadOrder) {
      const std::wstring key = SettingsKey(box);
      view_.SetOption(box, readOr([&] { return config.ReadBoolean(key, true); }, true, key));
    }
  }
  // Busy is never stored by this program; left by a crash or by hand, it
  // would lock the window for good.
  const auto status = static_cast<TStatus>(stored & 0xFF);
  SetStatus(AgreeWithRegistry(status == stBusy ? stIdle : status));
  keepAsStored_.clear();
  if (!unreadable.empty()) throw ConfigError(unreadable);
}

// "status" is kept per user, the tweaks per machine: another account, or a
// system restore, may have changed them since. Where the checked tweaks all
// agree, they decide.
TStatus TTuningController::AgreeWithRegistry(TStatus stored) {
  if (NetworkGUID.empty()) return stored;
  int checked = 0;
  int held = 0;
  for (const Tweak& tweak : kTweaks) {
    if (!view_.GetOption(tweak.box)) continue;
    ++checked;
    held += TweakHeld(services_.registry, NetworkGUID, tweak.box) ? 1 : 0;
  }
  if (checked == 0 || (held > 0 && held < checked)) return stored;
  return held == checked ? stRunning : stIdle;
}

void TTuningController::SetStatus(TStatus status, const std::wstring& message) {
  if (!message.empty()) view_.ShowError(message);
  if (const std::optional<StatusLook> look = LookOf(status)) {
    FStatus = status;
    view_.ShowBusy(look->busy);
    view_.ShowStartButton(*look->caption ? Translate(look->caption) : L"", look->enabled,
                          look->pressed);
    if (look->stored) SaveInteger(kStatusKey, *look->stored);
  }
  view_.EnableOptions(FStatus == stIdle);
}

void TTuningController::BtnStartClick() {
  switch (FStatus) {
    case stIdle:
    case stRunning:
      if (NetworkGUID.empty()) {
        SearchThenPress(FStatus);  // the network may have come since the last search
      } else if (FStatus == stIdle) {
        Start();
      } else {
        Stop();
      }
      break;
    case stBusy:
      break;
  }
}

void TTuningController::SearchThenPress(TStatus from) {
  SetStatus(stBusy);
  auto search = std::make_shared<AdapterSearch>();
  search->controller = this;
  search->adapters = services_.adapters;
  search->interfaceThread = services_.interfaceThread;
  searching_ = search;
  StartWorker(services_.interfaceThread, L"the search for the network adapter", [search, from] {
    std::wstring name, guid, ip, failure;
    bool found = false;
    try {
      found = search->adapters->GetActiveAdapter(name, guid, ip);
    } catch (const std::exception& error) {
      failure = ReasonOf(error);
    }
    search->interfaceThread->RunOnInterfaceThread([=] {
      if (TTuningController* controller = search->controller) {
        controller->searching_.reset();
        if (found) {
          controller->NetworkName = name;
          controller->NetworkGUID = guid;
          controller->NetworkIP = ip;
        }
        controller->AfterSearch(from, found, failure);
      }
    });
  });
}

void TTuningController::AfterSearch(TStatus from, bool found, const std::wstring& failure) {
  if (found) view_.ShowAdapter(NetworkName, NetworkIP);
  if (from == stRunning) return Stop();
  if (found) return Start();
  SetStatus(stIdle, failure.empty() ? Translate(L"활성중인 네트워크가 없습니다.")
                                    : OwnTranslate(OwnText::AdaptersUnreadable) + L"\r\n\r\n" +
                                          failure);
}

void TTuningController::Start() {
  SetStatus(stBusy);
  TConfig(services_.registry, kSettingsName).WriteString(kInterfaceKey, NetworkGUID);
  OptionStates selected{};
  for (const Tweak& tweak : kTweaks) {
    selected[static_cast<std::size_t>(tweak.box)] = view_.GetOption(tweak.box);
  }
  ApplyTweaks(services_.registry, NetworkGUID, selected);
  Refresh(stRunning);
}

void TTuningController::Stop() {
  SetStatus(stBusy);
  const std::wstring applied = AppliedInterface();
  RevertTweaks(services_.registry, NetworkGUID.empty() ? applied : NetworkGUID);
  // The adapter may have changed since: the one tuned loses its values too.
  if (!NetworkGUID.empty() && !applied.empty() && !EqualIgnoringAsciiCase(applied, NetworkGUID)) {
    RemoveInterfaceTweaks(services_.registry, applied);
  }
  // Without an adapter nothing can be restarted, and there is nothing to wait for.
  if (NetworkGUID.empty() && !applied.empty()) {
    SetStatus(stIdle);
  } else {
    Refresh(stIdle);
  }
}

std::wstring TTuningController::AppliedInterface() {
  try {
    return TConfig(services_.registry, kSettingsName).ReadString(kInterfaceKey, L"");
  } catch (const ConfigError&) {
    return L"";  // not ours to read: the revert goes to the current adapter alone
  }
}

void TTuningController::Refresh(TStatus status) {
  auto record = std::make_shared<HandOver>();
  record->Status = status;
  record->controller = this;
  record->waitLimit = services_.waitLimit;
  record->probe = services_.probe;
  record->clock = services_.clock;
  record->interfaceThread = services_.interfaceThread;
  waiting_ = record;

  services_.connections.SetAdapterConnected(NetworkGUID, false);
  services_.connections.SetAdapterConnected(NetworkGUID, true);

  StartWorker(services_.interfaceThread, L"the wait for the network", [record] {
    // The tweaks are written: the state settles on them even when the wait
    // failed, and the failure is reported after that.
    std::exception_ptr failure;
    bool answered = false;
    try {
      answered = WaitForNetwork(*record->probe, *record->clock, record->waitLimit, record->stop);
    } catch (...) {
      failure = std::current_exception();
    }
    record->interfaceThread->RunOnInterfaceThread([record, silent = !answered && !failure] {
      if (TTuningController* controller = record->controller) {
        controller->waiting_.reset();
        controller->SetStatus(record->Status);
        // The adapter may still be down: say so once the state is settled.
        if (silent) controller->view_.ShowError(OwnTranslate(OwnText::NetworkDidNotAnswer));
      }
    });
    if (failure) std::rethrow_exception(failure);
  });
}

void TTuningController::ChkTCPAckFrequencyClick() { SaveOption(OptionBox::ChkTCPAckFrequency); }
void TTuningController::ChkTcpDelAckTickClick() { SaveOption(OptionBox::ChkTcpDelAckTick); }
void TTuningController::ChkTcpNoDelayClick() { SaveOption(OptionBox::ChkTcpNoDelay); }
void TTuningController::ChkNetworkThrottlingIndexClick() {
  SaveOption(OptionBox::ChkNetworkThrottlingIndex);
}
void TTuningController::ChkSystemResponsivenessClick() {
  SaveOption(OptionBox::ChkSystemResponsiveness);
}

void TTuningController::OptionClick(OptionBox box) {
  switch (box) {
    case OptionBox::ChkTCPAckFrequency:
      return ChkTCPAckFrequencyClick();
    case OptionBox::ChkTcpDelAckTick:
      return ChkTcpDelAckTickClick();
    case OptionBox::ChkTcpNoDelay:
      return ChkTcpNoDelayClick();
    case OptionBox::ChkNetworkThrottlingIndex:
      return ChkNetworkThrottlingIndexClick();
    case OptionBox::ChkSystemResponsiveness:
      return ChkSystemResponsivenessClick();
  }
}

void TTuningController::SaveOption(OptionBox box) {
  SaveBoolean(SettingsKey(box), view_.GetOption(box));
}

bool TTuningController::KeptAsStored(const std::wstring& name) const {
  return std::find(keepAsStored_.begin(), keepAsStored_.end(), name) != keepAsStored_.end();
}

void TTuningController::SaveBoolean(const std::wstring& name, bool value) {
  if (KeptAsStored(name)) return;
  TConfig(services_.registry, kSettingsName).WriteBoolean(name, value);
}

void TTuningController::SaveInteger(const std::wstring& name, std::int32_t value) {
  if (KeptAsStored(name)) return;
  TConfig(services_.registry, kSettingsName).WriteInteger(name, value);
}

}  // namespace tavrin

#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "app/tuning_view.h"
#include "app/tweaks.h"
#include "base/interface_thread.h"
#include "sys/registry_keys.h"

namespace tavrin {

enum TStatus : std::uint8_t { stIdle = 0, stRunning = 1, stBusy = 2 };

// The controller's collaborators, each as small as the call it stands for.
// Any thread may call it. Throws AdapterReadError (sys/adapter_discovery.h)
// when the adapters cannot be read.
class AdapterDiscovery {
 public:
  virtual ~AdapterDiscovery() = default;
  virtual bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) = 0;
};

class ConnectionRestart {
 public:
  virtual ~ConnectionRestart() = default;
  virtual bool SetAdapterConnected(const std::wstring& id, bool connected) = 0;
};

// Called on the worker thread: implementations must be safe there.
class ReachabilityProbe {
 public:
  virtual ~ReachabilityProbe() = default;
  // Once `stop` is requested the probe in flight ends at once (its request is
  // closed) and answers false, however the other side behaves.
  virtual bool IsOnline(std::stop_token stop) = 0;
};

// The worker's sense of time; tests run it on a simulated clock.
class Clock {
 public:
  // Requests its stop when its time has come, unless it is gone by then.
  class Alarm {
   public:
    virtual ~Alarm() = default;
  };

  virtual ~Clock() = default;
  virtual std::chrono::steady_clock::time_point Now() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
  virtual std::unique_ptr<Alarm> SetAlarm(std::chrono::steady_clock::time_point deadline,
                                          std::stop_source stop) = 0;
};

// The wait for the network: a probe a second, at most this many, and never
// longer than the limit, however long the probes take.
inline constexpr int kProbeCount = 300;
inline constexpr std::chrono::milliseconds kProbePause{1000};
inline constexpr std::chrono::milliseconds kWaitLimit = kProbeCount * kProbePause;

struct TuningServices {
  RegistryKeys& registry;
  ConnectionRestart& connections;
  // Shared with the workers, which may outlive the controller.
  std::shared_ptr<AdapterDiscovery> adapters;
  std::shared_ptr<ReachabilityProbe> probe;
  std::shared_ptr<Clock> clock;
  std::shared_ptr<InterfaceThread> interfaceThread;
  // Shorter only in tests.
  std::chrono::milliseconds waitLimit = kWaitLimit;
};

// The start button's three-state machine: apply the selected tweaks, restart
// the adapter and wait for the network; revert the same way. Lives on the
// interface thread; one worker at a time does the waiting.
class TTuningController {
 public:
  TTuningController(TuningView& view, TuningServices services);
  // Detaches a waiting worker, whose final step then does nothing, and stores
  // the state the registry was left in, so the next start shows the truth.
  ~TTuningController();
  TTuningController(const TTuningController&) = delete;
  TTuningController& operator=(const TTuningController&) = delete;

  // Shows the adapter, the stored choices and state. Throws ConfigError
  // naming every wrongly typed setting, once the rest is shown.
  void LoadState();
  void SetStatus(TStatus status, const std::wstring& message = L"");
  void Start();
  void Stop();
  void Refresh(TStatus status);

  void BtnStartClick();
  void ChkTCPAckFrequencyClick();
  void ChkTcpDelAckTickClick();
  void ChkTcpNoDelayClick();
  void ChkNetworkThrottlingIndexClick();
  void ChkSystemResponsivenessClick();
  // Routes a box's change to its handler above.
  void OptionClick(OptionBox box);

  TStatus FStatus = stIdle;
  std::wstring NetworkName;
  std::wstring NetworkGUID;
  std::wstring NetworkIP;

 private:
  struct HandOver;
  struct AdapterSearch;

  // Searches for the adapter off the interface thread, in the busy look, and
  // goes on with the press from `from` when the search has ended.
  void SearchThenPress(TStatus from);
  void AfterSearch(TStatus from, bool found, const std::wstring& failure);

  TStatus AgreeWithRegistry(TStatus stored);
  // The interface the last apply wrote to; empty when none is stored.
  std::wstring AppliedInterface();
  void SaveOption(OptionBox box);
  bool KeptAsStored(const std::wstring& name) const;
  void SaveBoolean(const std::wstring& name, bool value);
  void SaveInteger(const std::wstring& name, std::int32_t value);

  TuningView& view_;
  TuningServices services_;
  std::weak_ptr<HandOver> waiting_;
  std::weak_ptr<AdapterSearch> searching_;
  // Wrongly typed settings, left as stored while the start shows their defaults.
  std::vector<std::wstring> keepAsStored_;
};

}  // namespace tavrin

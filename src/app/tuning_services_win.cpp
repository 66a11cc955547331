#include "app/tuning_services_win.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/owners_win.h"
#include "build_config.h"
#include "sys/adapter_discovery_win.h"
#include "sys/adapter_restart_win.h"
#include "sys/reachability.h"

namespace tavrin {
namespace {

class SystemConnections final : public ConnectionRestart {
 public:
  bool SetAdapterConnected(const std::wstring& id, bool connected) override {
    return tavrin::SetAdapterConnected(id, connected);
  }
};

class SystemProbe final : public ReachabilityProbe {
 public:
  // The maker's public-address endpoint.
  bool IsOnline(std::stop_token stop) override {
    return tavrin::IsOnline(SystemHttp(), std::wstring(build::kApiUrl) + L"/myip",
                            std::move(stop));
  }
};

// An alarm on a thread of its own, which waits for the time or for the alarm
// to go, whichever comes first.
class ThreadAlarm final : public Clock::Alarm {
 public:
  ThreadAlarm(std::chrono::steady_clock::time_point deadline, std::stop_source stop)
      : thread_([deadline, stop](std::stop_token gone) mutable {
          std::mutex mutex;
          std::condition_variable_any never;
          std::unique_lock lock(mutex);
          never.wait_until(lock, gone, deadline, [] { return false; });
          if (!gone.stop_requested()) stop.request_stop();
        }) {}

 private:
  std::jthread thread_;  // asked to stop and joined when the alarm goes
};

class SystemClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
  void Sleep(std::chrono::milliseconds duration) override {
    ::Sleep(static_cast<DWORD>(duration.count()));
  }
  std::unique_ptr<Alarm> SetAlarm(std::chrono::steady_clock::time_point deadline,
                                  std::stop_source stop) override {
    return std::make_unique<ThreadAlarm>(deadline, std::move(stop));
  }
};

}  // namespace

FoundAdapter SearchActiveAdapter() {
  // On a thread of its own the search joins the multithreaded apartment: with
  // an apartment of that thread's own, Wine hung at the program's end in about
  // every other start. A thread already in an apartment keeps it.
  const ComApartment com(COINIT_MULTITHREADED);
  FoundAdapter found;
  found.found = GetActiveAdapter(found.name, found.guid, found.ip);
  return found;
}

TuningServices SystemTuningServices(std::shared_ptr<InterfaceThread> interfaceThread,
                                    std::shared_ptr<AdapterDiscovery> adapters) {
  static SystemConnections connections;
  return {SystemRegistry(),
          connections,
          std::move(adapters),
          std::make_shared<SystemProbe>(),
          std::make_shared<SystemClock>(),
          std::move(interfaceThread)};
}

}  // namespace tavrin

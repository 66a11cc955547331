#include "app/tuning_services_win.h"

#include <windows.h>

#include "build_config.h"
#include "sys/adapter_discovery_win.h"
#include "sys/adapter_restart_win.h"
#include "sys/reachability.h"

namespace tavrin {
namespace {

class SystemAdapters final : public AdapterDiscovery {
 public:
  bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) override {
    return tavrin::GetActiveAdapter(name, guid, ip);
  }
};

class SystemConnections final : public ConnectionRestart {
 public:
  bool SetAdapterConnected(const std::wstring& id, bool connected) override {
    return tavrin::SetAdapterConnected(id, connected);
  }
};

class SystemProbe final : public ReachabilityProbe {
 public:
  // The maker's public-address endpoint.
  bool IsOnline() override {
    return tavrin::IsOnline(SystemHttp(), std::wstring(build::kApiUrl) + L"/myip");
  }
};

class SystemClock final : public Clock {
 public:
  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
  void Sleep(std::chrono::milliseconds duration) override {
    ::Sleep(static_cast<DWORD>(duration.count()));
  }
};

}  // namespace

TuningServices SystemTuningServices(std::shared_ptr<InterfaceThread> interfaceThread) {
  static SystemAdapters adapters;
  static SystemConnections connections;
  return {SystemRegistry(),
          adapters,
          connections,
          std::make_shared<SystemProbe>(),
          std::make_shared<SystemClock>(),
          std::move(interfaceThread)};
}

}  // namespace tavrin

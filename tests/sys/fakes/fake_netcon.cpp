// An in-process COM server standing in for the system's connection manager.
#define FAKE_NETCON_BUILD
#include "fake_netcon.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace fake_netcon {
namespace {

std::mutex lock;
std::vector<Connection> configured;
std::vector<Call> calls;
std::atomic<int> liveObjects{0};
std::atomic<int> outstandingProperties{0};

template <typename Interface>
class Object : public Interface {
 public:
  Object(const IID& iid) : iid_(iid) { ++liveObjects; }
  virtual ~Object() { --liveObjects; }

  HRESULT WINAPI QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != iid_) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG WINAPI AddRef() override { return ++references_; }
  ULONG WINAPI Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  IID iid_;
  std::atomic<ULONG> references_{1};
};

wchar_t* CopyText(const std::wstring& text) {
  auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy) wcscpy(copy, text.c_str());
  return copy;
}

class FakeConnection final : public Object<INetConnection> {
 public:
  FakeConnection(int position, Connection setup)
      : Object(kConnectionInterface), position_(position), setup_(setup) {}

  HRESULT WINAPI Connect() override { return Act(true); }
  HRESULT WINAPI Disconnect() override { return Act(false); }
  HRESULT WINAPI Delete() override { return E_NOTIMPL; }
  HRESULT WINAPI Duplicate(LPCWSTR, INetConnection**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetProperties(NETCON_PROPERTIES** out) override {
    if (FAILED(setup_.properties)) return setup_.properties;
    auto* properties = static_cast<NETCON_PROPERTIES*>(CoTaskMemAlloc(sizeof(NETCON_PROPERTIES)));
    if (!properties) return E_OUTOFMEMORY;
    *properties = {};
    properties->guidId = setup_.id;
    properties->pszwName = CopyText(L"Connection " + std::to_wstring(position_));
    properties->Status = NCS_CONNECTED;
    properties->MediaType = NCM_LAN;
    ++outstandingProperties;
    *out = properties;
    return S_OK;
  }
  HRESULT WINAPI GetUiObjectClassId(CLSID*) override { return E_NOTIMPL; }
  HRESULT WINAPI Rename(LPCWSTR) override { return E_NOTIMPL; }

 private:
  HRESULT Act(bool connect) {
    const std::lock_guard guard(lock);
    calls.push_back({position_, connect});
    return setup_.action;
  }

  int position_;
  Connection setup_;
};

class FakeEnumerator final : public Object<IEnumNetConnection> {
 public:
  explicit FakeEnumerator(std::vector<Connection> connections)
      : Object(kEnumInterface), connections_(std::move(connections)) {}

  HRESULT WINAPI Next(ULONG count, INetConnection** items, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (count != 1 || !items) return E_INVALIDARG;
    if (next_ >= connections_.size()) return S_FALSE;
    *items = new FakeConnection(static_cast<int>(next_), connections_[next_]);
    ++next_;
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT WINAPI Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT WINAPI Reset() override { return E_NOTIMPL; }
  HRESULT WINAPI Clone(IEnumNetConnection**) override { return E_NOTIMPL; }

 private:
  std::vector<Connection> connections_;
  std::size_t next_ = 0;
};

class FakeManager final : public Object<INetConnectionManager> {
 public:
  FakeManager() : Object(kManagerInterface) {}

  HRESULT WINAPI EnumConnections(NETCONMGR_ENUM_FLAGS, IEnumNetConnection** out) override {
    const std::lock_guard guard(lock);
    *out = new FakeEnumerator(configured);
    return S_OK;
  }
};

class Factory final : public IClassFactory {
 public:
  HRESULT WINAPI QueryInterface(REFIID riid, void** out) override {
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }
  HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* manager = new FakeManager;
    const HRESULT hr = manager->QueryInterface(riid, out);
    manager->Release();
    return hr;
  }
  HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace
}  // namespace fake_netcon

using namespace fake_netcon;

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (clsid != kManagerClass) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(riid, out);
}

// Stays loaded: the tests read its records after each call.
extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

FAKE_NETCON_API void FakeNetconConfigure(const Connection* connections, int count) {
  const std::lock_guard guard(lock);
  configured.assign(connections, connections + count);
  calls.clear();
}

FAKE_NETCON_API int FakeNetconCalls(Call* out, int capacity) {
  const std::lock_guard guard(lock);
  for (int i = 0; i < capacity && i < static_cast<int>(calls.size()); ++i) out[i] = calls[i];
  return static_cast<int>(calls.size());
}

FAKE_NETCON_API int FakeNetconLiveObjects() { return liveObjects; }
FAKE_NETCON_API int FakeNetconOutstandingProperties() { return outstandingProperties; }

FAKE_NETCON_API void FakeNetconFreeProperties(NETCON_PROPERTIES* properties) {
  if (!properties) return;
  CoTaskMemFree(properties->pszwName);
  CoTaskMemFree(properties->pszwDeviceName);
  CoTaskMemFree(properties);
  --outstandingProperties;
}

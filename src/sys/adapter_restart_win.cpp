#include "sys/adapter_restart_win.h"

#include <windows.h>
#include <netcon.h>
#include <objbase.h>
#include <wrl/client.h>

#include <memory>

#include "base/ascii_case.h"
#include "base/owners_win.h"

namespace tavrin {
namespace {

using Microsoft::WRL::ComPtr;

// mingw declares these without defining them.
constexpr CLSID kConnectionManagerClass = {
    0xBA126AD1, 0x2166, 0x11D1, {0xB1, 0xD0, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
constexpr IID kConnectionManagerInterface = {
    0xC08956A2, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};

using FreeProperties = void(WINAPI*)(NETCON_PROPERTIES*);

std::wstring GuidText(const GUID& guid) {
  wchar_t text[39] = {};
  StringFromGUID2(guid, text, 39);
  return text;
}

}  // namespace

bool SetAdapterConnected(const std::wstring& id, bool connected) {
  // The program runs elevated: only the system's own copy may be loaded, never
  // one planted beside the executable.
  const Library netshell(LoadLibraryExW(L"netshell.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!netshell) return false;
  const auto freeProperties = reinterpret_cast<FreeProperties>(
      reinterpret_cast<void*>(GetProcAddress(netshell.get(), "NcFreeNetconProperties")));
  if (!freeProperties) return false;

  ComPtr<INetConnectionManager> manager;
  ComPtr<IEnumNetConnection> connections;
  if (FAILED(CoCreateInstance(kConnectionManagerClass, nullptr, CLSCTX_ALL,
                              kConnectionManagerInterface, &manager)) ||
      FAILED(manager->EnumConnections(NCME_DEFAULT, &connections)) || !connections) {
    return false;
  }

  ComPtr<INetConnection> connection;
  ULONG fetched = 0;
  while (connections->Next(1, connection.ReleaseAndGetAddressOf(), &fetched) == S_OK &&
         connection) {
    NETCON_PROPERTIES* raw = nullptr;
    if (FAILED(connection->GetProperties(&raw)) || !raw) continue;
    const std::unique_ptr<NETCON_PROPERTIES, FreeProperties> properties(raw, freeProperties);
    if (EqualIgnoringAsciiCase(GuidText(properties->guidId), id)) {
      return SUCCEEDED(connected ? connection->Connect() : connection->Disconnect());
    }
  }
  return false;
}

}  // namespace tavrin

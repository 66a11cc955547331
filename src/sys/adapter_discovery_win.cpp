// Windows headers in the order they build on each other.
// clang-format off
#include <winsock2.h>
#include <iphlpapi.h>
#include <objbase.h>
// clang-format on

#include <cstdio>
#include <system_error>
#include <vector>

#include "sys/network.h"
#include "sys/wmi_adapter_source.h"

namespace tavrin {
namespace {

// Pairs CoInitialize with CoUninitialize. A thread already in another
// apartment refuses, and then must not be uninitialised under its owner.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

std::vector<unsigned char> AdapterList() {
  constexpr ULONG kFlags =
      GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  ULONG rc = ERROR_BUFFER_OVERFLOW;
  while (rc == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    rc = GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr,
                              reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (rc == ERROR_NO_DATA) return {};
  if (rc != ERROR_SUCCESS)
    throw std::system_error(rc, std::system_category(), "GetAdaptersAddresses");
  return buffer;
}

std::wstring DottedText(const sockaddr_in& address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address.sin_addr);
  wchar_t text[16];
  std::swprintf(text, 16, L"%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return text;
}

}  // namespace

std::wstring GetLocalIP() {
  std::vector<unsigned char> list = AdapterList();
  if (list.empty()) return {};
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(list.data()); adapter;
       adapter = adapter->Next) {
    if (adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK ||
        (adapter->Flags & IP_ADAPTER_RECEIVE_ONLY)) {
      continue;
    }
    for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
      const SOCKET_ADDRESS& address = unicast->Address;
      if (unicast->DadState == IpDadStatePreferred && address.lpSockaddr &&
          address.lpSockaddr->sa_family == AF_INET) {
        return DottedText(*reinterpret_cast<const sockaddr_in*>(address.lpSockaddr));
      }
    }
  }
  return {};
}

bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) {
  const std::wstring localIp = GetLocalIP();
  const ComScope com;
  // Declared after the scope: its COM objects go before CoUninitialize.
  const auto source = MakeWmiAdapterSource();
  return FindActiveAdapter(*source, localIp, name, guid, ip);
}

}  // namespace tavrin

#include "sys/adapter_discovery_win.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <objbase.h>

#include <cstdio>
#include <system_error>
#include <vector>

#include "base/owners_win.h"
#include "sys/wmi_adapter_source.h"

namespace tavrin {
namespace {

std::vector<unsigned char> AdapterList(ULONG extraFlags) {
  const ULONG flags =
      GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER | extraFlags;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  ULONG rc = ERROR_BUFFER_OVERFLOW;
  while (rc == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    rc = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr,
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

bool IsIpv4(const SOCKET_ADDRESS& address) {
  return address.lpSockaddr && address.lpSockaddr->sa_family == AF_INET;
}

bool HasIpv4Gateway(const IP_ADAPTER_ADDRESSES& adapter) {
  for (auto* gateway = adapter.FirstGatewayAddress; gateway; gateway = gateway->Next) {
    if (IsIpv4(gateway->Address) &&
        reinterpret_cast<const sockaddr_in*>(gateway->Address.lpSockaddr)->sin_addr.s_addr != 0) {
      return true;
    }
  }
  return false;
}

AdapterRecord RecordOf(const IP_ADAPTER_ADDRESSES& adapter) {
  AdapterRecord record;
  record.type = adapter.IfType;
  record.up = adapter.OperStatus == IfOperStatusUp;
  record.hasIpv4Gateway = HasIpv4Gateway(adapter);
  record.receiveOnly = (adapter.Flags & IP_ADAPTER_RECEIVE_ONLY) != 0;
  for (auto* unicast = adapter.FirstUnicastAddress; unicast; unicast = unicast->Next) {
    if (unicast->DadState == IpDadStatePreferred && IsIpv4(unicast->Address)) {
      record.addresses.push_back(
          DottedText(*reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr)));
    }
  }
  return record;
}

}  // namespace

std::vector<AdapterRecord> ReadAdapterRecords(bool withGateways) {
  const std::vector<unsigned char> list = AdapterList(withGateways ? GAA_FLAG_INCLUDE_GATEWAYS : 0);
  std::vector<AdapterRecord> records;
  if (list.empty()) return records;
  for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(list.data()); adapter;
       adapter = adapter->Next) {
    records.push_back(RecordOf(*adapter));
  }
  return records;
}

std::vector<std::wstring> LocalAddressCandidates() {
  std::vector<AdapterRecord> records = ReadAdapterRecords(false);
  if (GatewaysMatter(records)) records = ReadAdapterRecords(true);
  return RankLocalAddresses(records);
}

bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) {
  const std::vector<std::wstring> localIps = LocalAddressCandidates();
  const ComApartment com;
  // Declared after the scope: its COM objects go before CoUninitialize.
  const auto source = MakeWmiAdapterSource();
  return FindActiveAdapter(*source, localIps, name, guid, ip);
}

}  // namespace tavrin

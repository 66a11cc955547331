#pragma once

#include <string>
#include <vector>

#include "sys/local_addresses.h"

// The active adapter as Windows reports it.
namespace tavrin {

// The connected physical adapter that carries the local IPv4 network: its WMI
// Name, its GUID in braces and the address by which it was recognised.
// Throws when WMI fails past the adapter query (see AdapterSource).
bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip);

// The preferred unicast IPv4 addresses of the adapters that can send, ranked
// by how likely each adapter carries the traffic (see RankLocalAddresses).
// Throws when the adapter list is unreadable.
std::vector<std::wstring> LocalAddressCandidates();

// The host's adapter list in its own order; the gateways only on request, as
// they make the list slower to read. Throws when it is unreadable.
std::vector<AdapterRecord> ReadAdapterRecords(bool withGateways);

}  // namespace tavrin

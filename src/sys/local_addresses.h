#pragma once

#include <string>
#include <vector>

namespace tavrin {

// What the host's adapter list says about one adapter, as far as choosing the
// local address goes.
struct AdapterRecord {
  unsigned type = 0;            // interface type: 6 Ethernet, 71 Wi-Fi, 24 loopback
  bool up = false;              // operational status
  bool hasIpv4Gateway = false;  // an IPv4 default gateway is set
  bool receiveOnly = false;
  std::vector<std::wstring> addresses;  // preferred unicast IPv4 addresses, dotted, in list order
};

// The local addresses worth trying, most likely carrier of the traffic first:
// those of Ethernet and Wi-Fi adapters that are up with an IPv4 default
// gateway, then of any adapter up with one, then the rest; each group in the
// list's order. Loopback and receive-only adapters give none.
std::vector<std::wstring> RankLocalAddresses(const std::vector<AdapterRecord>& adapters);

// Whether the gateways can change the ranking: only when more than one
// adapter gives addresses. Reading them costs the adapter list extra time.
bool GatewaysMatter(const std::vector<AdapterRecord>& adapters);

}  // namespace tavrin

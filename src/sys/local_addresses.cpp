#include "sys/local_addresses.h"

#include <algorithm>

namespace tavrin {
namespace {

constexpr unsigned kEthernet = 6;
constexpr unsigned kLoopback = 24;
constexpr unsigned kWifi = 71;

// Lower is tried first.
int Preference(const AdapterRecord& adapter) {
  const bool routes = adapter.up && adapter.hasIpv4Gateway;
  if (routes && (adapter.type == kEthernet || adapter.type == kWifi)) return 0;
  return routes ? 1 : 2;
}

bool GivesAddresses(const AdapterRecord& adapter) {
  return adapter.type != kLoopback && !adapter.receiveOnly && !adapter.addresses.empty();
}

}  // namespace

std::vector<std::wstring> RankLocalAddresses(const std::vector<AdapterRecord>& adapters) {
  std::vector<const AdapterRecord*> order;
  for (const AdapterRecord& adapter : adapters) {
    if (GivesAddresses(adapter)) order.push_back(&adapter);
  }
  std::ranges::stable_sort(order, {}, [](const AdapterRecord* a) { return Preference(*a); });
  std::vector<std::wstring> addresses;
  for (const AdapterRecord* adapter : order) {
    addresses.insert(addresses.end(), adapter->addresses.begin(), adapter->addresses.end());
  }
  return addresses;
}

bool GatewaysMatter(const std::vector<AdapterRecord>& adapters) {
  return std::ranges::count_if(adapters, GivesAddresses) > 1;
}

}  // namespace tavrin

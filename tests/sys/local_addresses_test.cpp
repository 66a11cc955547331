#include "sys/local_addresses.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

constexpr unsigned kEthernet = 6;
constexpr unsigned kLoopback = 24;
constexpr unsigned kTunnel = 131;
constexpr unsigned kWifi = 71;
constexpr unsigned kMobileBroadband = 243;

struct Machine {
  const char* title;
  std::vector<AdapterRecord> adapters;  // in the adapter list's order
  std::vector<std::wstring> ranked;
  bool gatewaysMatter = true;
};

AdapterRecord Up(unsigned type, bool gateway, std::vector<std::wstring> addresses) {
  return {type, true, gateway, false, std::move(addresses)};
}

const AdapterRecord kLoopbackAdapter = Up(kLoopback, false, {L"127.0.0.1"});

const Machine kMachines[] = {
    {"a virtual switch listed before the wired adapter",
     {Up(kEthernet, false, {L"172.20.16.1"}), Up(kEthernet, true, {L"192.168.1.20"}),
      kLoopbackAdapter},
     {L"192.168.1.20", L"172.20.16.1"}},
    {"a mesh VPN listed before the Wi-Fi",
     {Up(kTunnel, false, {L"100.101.7.12"}), Up(kEthernet, false, {L"25.14.3.2"}),
      Up(kWifi, true, {L"192.168.0.5"})},
     {L"192.168.0.5", L"100.101.7.12", L"25.14.3.2"}},
    {"a full-tunnel VPN that looks like Ethernet holds the default route",
     {Up(kEthernet, true, {L"10.8.0.6"}), Up(kEthernet, true, {L"192.168.1.20"})},
     {L"10.8.0.6", L"192.168.1.20"}},
    {"a tunnel without an Ethernet type holding the default route",
     {Up(kTunnel, true, {L"10.64.0.2"}), Up(kEthernet, true, {L"192.168.1.20"})},
     {L"192.168.1.20", L"10.64.0.2"}},
    {"a routed tunnel listed before a routed Wi-Fi",
     {Up(kTunnel, true, {L"10.64.0.2"}), Up(kWifi, true, {L"192.168.0.5"})},
     {L"192.168.0.5", L"10.64.0.2"}},
    {"Wi-Fi beside an unplugged Ethernet with a fixed address",
     {{kEthernet, false, true, false, {L"192.168.2.10"}}, Up(kWifi, true, {L"192.168.0.5"})},
     {L"192.168.0.5", L"192.168.2.10"}},
    {"a modem with the default route before a LAN without a router",
     {Up(kEthernet, false, {L"10.0.0.2"}), Up(kMobileBroadband, true, {L"100.70.1.9"})},
     {L"100.70.1.9", L"10.0.0.2"}},
    {"a single adapter with two addresses keeps their order",
     {kLoopbackAdapter, Up(kEthernet, true, {L"192.168.1.20", L"192.168.1.21"})},
     {L"192.168.1.20", L"192.168.1.21"},
     false},
    {"a single adapter on a network without a router",
     {Up(kEthernet, false, {L"192.168.1.20"})},
     {L"192.168.1.20"},
     false},
    {"loopback and receive-only adapters give nothing",
     {kLoopbackAdapter, {kEthernet, true, true, true, {L"192.168.1.20"}}},
     {},
     false},
    {"no adapter", {}, {}, false},
};

class LocalAddressRanking : public ::testing::TestWithParam<Machine> {};

TEST_P(LocalAddressRanking, PutsTheLikelyCarrierFirst) {
  const Machine& machine = GetParam();
  EXPECT_EQ(RankLocalAddresses(machine.adapters), machine.ranked) << machine.title;
}

// The adapter list is read without gateways when they cannot matter: the
// ranking must come out the same without them.
TEST_P(LocalAddressRanking, NeedsTheGatewaysOnlyWhenTheyCanChangeIt) {
  const Machine& machine = GetParam();
  EXPECT_EQ(GatewaysMatter(machine.adapters), machine.gatewaysMatter) << machine.title;
  if (machine.gatewaysMatter) return;
  std::vector<AdapterRecord> withoutGateways = machine.adapters;
  for (AdapterRecord& adapter : withoutGateways) adapter.hasIpv4Gateway = false;
  EXPECT_EQ(RankLocalAddresses(withoutGateways), machine.ranked) << machine.title;
}

INSTANTIATE_TEST_SUITE_P(Machines, LocalAddressRanking, ::testing::ValuesIn(kMachines),
                         [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace tavrin

// Discovery against the machine's own WMI and adapter list.

#include "sys/adapter_discovery_win.h"

#include <winsock2.h>
#include <gtest/gtest.h>
#include <iphlpapi.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <system_error>
#include <thread>

#include "base/text_encoding.h"
#include "sys/adapter_discovery.h"
#include "sys/wmi_adapter_source.h"

namespace tavrin {
namespace {

// The AdapterName of the adapter listing ip among its unicast addresses.
std::wstring AdapterOwning(const std::wstring& ip) {
  ULONG size = 64 * 1024;
  std::vector<unsigned char> buffer(size);
  auto* list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
  if (GetAdaptersAddresses(AF_INET, 0, nullptr, list, &size) != ERROR_SUCCESS) return {};
  for (auto* adapter = list; adapter; adapter = adapter->Next) {
    for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
      const auto* b = reinterpret_cast<const unsigned char*>(
          &reinterpret_cast<const sockaddr_in*>(unicast->Address.lpSockaddr)->sin_addr);
      const std::wstring text = std::to_wstring(b[0]) + L"." + std::to_wstring(b[1]) + L"." +
                                std::to_wstring(b[2]) + L"." + std::to_wstring(b[3]);
      if (text == ip) return Utf8ToWide(adapter->AdapterName);
    }
  }
  return {};
}

TEST(ActiveAdapter, IsTheAdapterCarryingTheLocalAddress) {
  const std::vector<std::wstring> localIps = LocalAddressCandidates();
  ASSERT_FALSE(localIps.empty()) << "this machine has no non-loopback adapter with IPv4";

  std::wstring name, guid, ip;
  const auto start = std::chrono::steady_clock::now();
  const bool found = GetActiveAdapter(name, guid, ip);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::wcout << L"GetActiveAdapter: " << name << L" " << guid << L" " << ip << L" in "
             << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
             << L" ms (first local address " << localIps.front() << L" of " << localIps.size()
             << L")\n";

  ASSERT_TRUE(found);
  EXPECT_FALSE(name.empty());
  EXPECT_TRUE(std::ranges::any_of(localIps, [&](auto& l) { return SameNetworkPrefix(l, ip); }))
      << WideToUtf8(ip);
  ASSERT_EQ(guid.size(), 38u) << WideToUtf8(guid);
  EXPECT_EQ(guid.front(), L'{');
  EXPECT_EQ(guid.back(), L'}');
  GUID parsed{};
  EXPECT_EQ(CLSIDFromString(guid.c_str(), &parsed), NOERROR) << WideToUtf8(guid);
  // The identifier is the one the adapter list gives the adapter owning that address.
  EXPECT_EQ(AdapterOwning(ip), guid);
}

// Whether the routing table sends traffic for the wider world through a
// gateway, as it does on any machine with a default route.
bool HasDefaultGateway() {
  MIB_IPFORWARDROW route{};
  const DWORD outside = 0x01010101;  // 1.1.1.1; asked of the table only, nothing is sent
  return GetBestRoute(outside, 0, &route) == NO_ERROR && route.dwForwardNextHop != 0;
}

TEST(AdapterRecords, DescribeTheAdapterCarryingTheLocalAddress) {
  const std::vector<std::wstring> localIps = LocalAddressCandidates();
  ASSERT_FALSE(localIps.empty()) << "this machine has no non-loopback adapter with IPv4";
  for (const bool withGateways : {false, true}) {
    const std::vector<AdapterRecord> records = ReadAdapterRecords(withGateways);
    const auto carrier = std::ranges::find_if(records, [&](const AdapterRecord& r) {
      return std::ranges::find(r.addresses, localIps.front()) != r.addresses.end();
    });
    ASSERT_NE(carrier, records.end()) << "with gateways: " << withGateways;
    EXPECT_TRUE(carrier->up);
    EXPECT_FALSE(carrier->receiveOnly);
    EXPECT_TRUE(carrier->type == 6 || carrier->type == 71) << carrier->type;
    std::wcout << L"local address " << localIps.front() << L": type " << carrier->type
               << L", gateway " << carrier->hasIpv4Gateway << L" (read with gateways "
               << withGateways << L")\n";
    if (!withGateways) {
      EXPECT_FALSE(carrier->hasIpv4Gateway);
    } else if (!GatewaysMatter(records)) {  // the only adapter with addresses: the route is its own
      EXPECT_EQ(carrier->hasIpv4Gateway, HasDefaultGateway());
    }
  }
}

// WMI raises its own failures through the automation call; its code, not the
// generic "exception occurred", is what must reach the error report.
TEST(WmiAdapterSource, AFailedQueryCarriesWmisOwnCode) {
  constexpr unsigned kInvalidQuery = 0x80041017;
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    const auto source = MakeWmiAdapterSource();
    ASSERT_NO_THROW(source->QueryAdapters());
    try {
      source->QueryConfigurations(L"no number");
      ADD_FAILURE() << "an invalid query ran";
    } catch (const std::system_error& e) {
      EXPECT_EQ(static_cast<unsigned>(e.code().value()), kInvalidQuery) << e.what();
    }
  }
  CoUninitialize();
}

// WMI out of reach is no answer about the adapters: the system's code says why.
TEST(WmiAdapterSource, UnreachableWmiCannotBeReadAndSaysWhy) {
  std::thread([] {  // a thread that never entered COM
    try {
      MakeWmiAdapterSource()->QueryAdapters();
      ADD_FAILURE() << "WMI answered without COM";
    } catch (const AdapterReadError& e) {
      EXPECT_EQ(static_cast<unsigned>(e.code().value()), 0x800401F0u) << e.what();
    }
  }).join();
}

// COM as the calling thread had it before, whatever it was.
TEST(ActiveAdapter, LeavesTheThreadsComAsItFoundIt) {
  ASSERT_FALSE(LocalAddressCandidates().empty())
      << "this machine has no non-loopback adapter with IPv4";
  struct Case {
    const char* title;
    DWORD model;  // how the thread enters COM first; ~0: not at all
  };
  const Case cases[] = {{"no COM", ~0u},
                        {"single-threaded apartment", COINIT_APARTMENTTHREADED},
                        {"multithreaded apartment", COINIT_MULTITHREADED}};
  for (const Case& c : cases) {
    bool found = false;
    HRESULT before = E_FAIL, after = E_FAIL;
    APTTYPE typeBefore{}, typeAfter{};
    APTTYPEQUALIFIER qualifier{};
    std::thread([&] {
      if (c.model != ~0u) CoInitializeEx(nullptr, c.model);
      before = CoGetApartmentType(&typeBefore, &qualifier);
      std::wstring name, guid, ip;
      found = GetActiveAdapter(name, guid, ip);
      after = CoGetApartmentType(&typeAfter, &qualifier);
      if (c.model != ~0u) CoUninitialize();
    }).join();
    EXPECT_TRUE(found) << c.title;
    EXPECT_EQ(after, before) << c.title;
    EXPECT_EQ(typeAfter, typeBefore) << c.title;
  }
}

}  // namespace
}  // namespace tavrin

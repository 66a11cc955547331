#include "sys/adapter_discovery.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tavrin {
namespace {

using Addresses = std::optional<std::vector<std::wstring>>;  // nothing: IPAddress is null

struct FakeAdapter {
  std::wstring index;
  std::optional<std::wstring> name;  // nothing: the read fails
  std::optional<std::wstring> guid;
  std::vector<Addresses> configurations;
  bool nullIndex = false;
  bool unreadableIndex = false;
};

FakeAdapter Adapter(std::wstring index, std::wstring name, std::vector<std::wstring> addresses) {
  return {index, name, L"{0000000" + index + L"-0000-0000-0000-000000000000}", {addresses}};
}

enum class Throw {
  kNever,
  kNextAdapter,
  kIndexIsNull,
  kConfigurationQuery,
  kNextConfiguration,
  kReadAddresses
};

// Answers the walk from a list of adapters and records the configuration
// queries it was asked for.
class ScriptedSource final : public AdapterSource {
 public:
  explicit ScriptedSource(std::vector<FakeAdapter> adapters, bool queryRuns = true,
                          Throw failure = Throw::kNever)
      : adapters_(std::move(adapters)), queryRuns_(queryRuns), failure_(failure) {}

  void QueryAdapters() override {
    ++adapterQueries;
    if (!queryRuns_) throw AdapterReadError(static_cast<int>(0x80041003), "query");
  }
  bool NextAdapter() override {
    FailAt(Throw::kNextAdapter);
    return ++adapter_ < static_cast<int>(adapters_.size());
  }
  bool IndexIsNull() override {
    FailAt(Throw::kIndexIsNull);
    return current().nullIndex;
  }
  std::optional<std::wstring> Read(Property property) override {
    switch (property) {
      case Property::kIndex:
        return current().unreadableIndex ? std::nullopt : std::optional(current().index);
      case Property::kName:
        return current().name;
      case Property::kGuid:
        return current().guid;
    }
    return std::nullopt;
  }
  void QueryConfigurations(const std::wstring& index) override {
    FailAt(Throw::kConfigurationQuery);
    queries.push_back(index);
    configuration_ = -1;
  }
  bool NextConfiguration() override {
    FailAt(Throw::kNextConfiguration);
    return ++configuration_ < static_cast<int>(current().configurations.size());
  }
  Addresses ReadAddresses() override {
    FailAt(Throw::kReadAddresses);
    return current().configurations[configuration_];
  }

  std::vector<std::wstring> queries;
  int adapterQueries = 0;

 private:
  const FakeAdapter& current() const { return adapters_.at(adapter_); }
  void FailAt(Throw step) const {
    if (failure_ == step) throw std::runtime_error("scripted failure");
  }

  std::vector<FakeAdapter> adapters_;
  bool queryRuns_;
  Throw failure_;
  int adapter_ = -1;
  int configuration_ = -1;
};

struct Outcome {
  bool found;
  std::wstring name, guid, ip;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
  *out << (o.found ? "found " : "none ") << ::testing::PrintToString(o.name) << ' '
       << ::testing::PrintToString(o.guid) << ' ' << ::testing::PrintToString(o.ip);
}

Outcome Find(ScriptedSource& source, const std::vector<std::wstring>& localIps) {
  Outcome outcome{false, L"stale", L"stale", L"stale"};
  outcome.found = FindActiveAdapter(source, localIps, outcome.name, outcome.guid, outcome.ip);
  return outcome;
}

struct SelectionCase {
  const char* title;
  std::vector<std::wstring> localIps;  // most likely first
  std::vector<FakeAdapter> adapters;
  Outcome expected;
  std::vector<std::wstring> queries;  // configuration queries made, by Index
};

const FakeAdapter kWired = Adapter(L"1", L"Realtek PCIe GbE", {L"192.168.0.10"});
const FakeAdapter kWireless = Adapter(L"2", L"Intel Wi-Fi 6 AX201", {L"192.168.0.11"});
const std::wstring kWiredGuid = *kWired.guid;
const std::wstring kWirelessGuid = *kWireless.guid;

FakeAdapter With(FakeAdapter adapter, void (*change)(FakeAdapter&)) {
  change(adapter);
  return adapter;
}

const SelectionCase kSelectionCases[] = {
    {"the first listed wins, whoever owns the local address",
     {L"192.168.0.10"},
     {kWireless, kWired},
     {true, L"Intel Wi-Fi 6 AX201", kWirelessGuid, L"192.168.0.11"},
     {L"2"}},
    {"exclusion words in any letter case",
     {L"192.168.0.10"},
     {Adapter(L"3", L"VMware Virtual Ethernet Adapter", {L"192.168.0.3"}),
      Adapter(L"4", L"VIRTUALBOX Host-Only Ethernet", {L"192.168.0.4"}),
      Adapter(L"5", L"Internet Connection SharinG", {L"192.168.0.5"}), kWired},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"1"}},
    {"no address in the local network: the last one examined stays in the outputs",
     {L"192.168.0.10"},
     {Adapter(L"7", L"Realtek PCIe GbE", {L"10.0.0.7", L"10.0.1.7"})},
     {false, L"Realtek PCIe GbE", L"{00000007-0000-0000-0000-000000000000}", L"10.0.1.7"},
     {L"7"}},
    {"an IPv6 address listed before the IPv4 one",
     {L"192.168.0.10"},
     {Adapter(L"1", L"Realtek PCIe GbE", {L"fe80::1c2d:3e4f", L"192.168.0.10"})},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"1"}},
    {"no local IPv4 address: the first address without a dot matches",
     {},
     {Adapter(L"1", L"Realtek PCIe GbE", {L"192.168.0.10", L"fe80::1", L"fe80::2"})},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"fe80::1"},
     {L"1"}},
    {"a null or empty IPAddress is passed over",
     {L"192.168.0.10"},
     {With(kWireless,
           [](FakeAdapter& a) {
             a.configurations = {std::nullopt, Addresses(std::vector<std::wstring>())};
           }),
      With(
          kWired,
          [](FakeAdapter& a) { a.configurations.insert(a.configurations.begin(), std::nullopt); })},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"2", L"1"}},
    {"adapters whose Index, Name or GUID cannot be read are passed over",
     {L"192.168.0.10"},
     {With(kWireless, [](FakeAdapter& a) { a.unreadableIndex = true; }),
      With(kWireless, [](FakeAdapter& a) { a.name.reset(); }),
      With(kWireless, [](FakeAdapter& a) { a.guid.reset(); }),
      With(kWireless, [](FakeAdapter& a) { a.guid = L""; }), kWired},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"1"}},
    {"a null Index ends the walk",
     {L"192.168.0.10"},
     {With(kWireless, [](FakeAdapter& a) { a.nullIndex = true; }), kWired},
     {false, L"stale", L"stale", L"stale"},
     {}},
    {"an unreadable GUID empties the identifier, the name read stays",
     {L"192.168.0.10"},
     {With(kWireless, [](FakeAdapter& a) { a.guid.reset(); })},
     {false, L"Intel Wi-Fi 6 AX201", L"", L"stale"},
     {}},
    {"a tunnel holding the default route costs one more candidate",
     {L"10.8.0.6", L"192.168.0.10"},
     {kWired},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"1"}},
    {"a better candidate on a later adapter wins over a lesser one on an earlier adapter",
     {L"192.168.0.10", L"10.0.0.5"},
     {Adapter(L"3", L"Intel Ethernet I219-V", {L"10.0.0.7"}), kWireless},
     {true, L"Intel Wi-Fi 6 AX201", kWirelessGuid, L"192.168.0.11"},
     {L"3", L"2"}},
    {"a match of the first candidate ends the walk",
     {L"192.168.0.10", L"10.0.0.5"},
     {kWired, Adapter(L"3", L"Intel Ethernet I219-V", {L"10.0.0.7"})},
     {true, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"1"}},
    {"a later candidate matches when the first matches nothing",
     {L"172.20.16.1", L"10.0.0.5", L"192.168.0.10"},
     {Adapter(L"3", L"Intel Ethernet I219-V", {L"fe80::3", L"10.0.0.7"}), kWired},
     {true, L"Intel Ethernet I219-V", L"{00000003-0000-0000-0000-000000000000}", L"10.0.0.7"},
     {L"3", L"1"}},
    {"no candidate matches: the last one examined stays in the outputs",
     {L"172.20.16.1", L"10.8.0.6"},
     {kWireless, kWired},
     {false, L"Realtek PCIe GbE", kWiredGuid, L"192.168.0.10"},
     {L"2", L"1"}},
    {"no adapter", {L"192.168.0.10"}, {}, {false, L"stale", L"stale", L"stale"}, {}},
};

class AdapterSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(AdapterSelection, PicksTheFirstQualifyingAdapter) {
  const SelectionCase& c = GetParam();
  ScriptedSource source(c.adapters);
  EXPECT_EQ(Find(source, c.localIps), c.expected);
  EXPECT_EQ(source.queries, c.queries);
  EXPECT_EQ(source.adapterQueries, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdapterSelection, ::testing::ValuesIn(kSelectionCases),
                         [](const auto& info) { return std::to_string(info.index); });

// Adapters that cannot be read are not the same as no adapter: the caller
// learns why.
TEST(AdapterDiscovery, AFailingAdapterQueryTellsTheSystemsReason) {
  ScriptedSource source({kWired}, /*queryRuns=*/false);
  try {
    Find(source, {L"192.168.0.10"});
    FAIL() << "the failure was taken for no adapter";
  } catch (const AdapterReadError& error) {
    EXPECT_EQ(static_cast<unsigned>(error.code().value()), 0x80041003u);
  }
}

class FailureThatEscapes : public ::testing::TestWithParam<Throw> {};

TEST_P(FailureThatEscapes, ReachesTheCaller) {
  ScriptedSource source({kWired}, true, GetParam());
  EXPECT_THROW(Find(source, {L"192.168.0.10"}), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailureThatEscapes,
                         ::testing::Values(Throw::kNextAdapter, Throw::kIndexIsNull,
                                           Throw::kConfigurationQuery, Throw::kNextConfiguration,
                                           Throw::kReadAddresses));

TEST(SameNetworkPrefix, ComparesTheTextBeforeTheLastDot) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  };
  const Case cases[] = {
      {L"192.168.0.10", L"192.168.0.200", true}, {L"192.168.0.10", L"192.168.1.10", false},
      {L"10.0.0.1", L"10.0.0", false},           {L"", L"fe80::1", true},
      {L"192.168.0.10", L"fe80::1", false},      {L"Host.a", L"host.a", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameNetworkPrefix(c.a, c.b), c.same)
        << ::testing::PrintToString(c.a) << " vs " << ::testing::PrintToString(c.b);
  }
}

}  // namespace
}  // namespace tavrin

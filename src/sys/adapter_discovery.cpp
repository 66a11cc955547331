#include "sys/adapter_discovery.h"

#include <algorithm>
#include <array>
#include <ranges>
#include <string_view>
#include <vector>

#include "base/ascii_case.h"

namespace tavrin {
namespace {

using Property = AdapterSource::Property;

// Virtual adapters and shared connections never carry the game traffic.
constexpr std::array<std::wstring_view, 3> kExclusionWords = {L"vmware", L"virtualbox", L"sharing"};

bool IsExcluded(const std::wstring& name) {
  const std::wstring folded = AsciiUpper(name);
  return std::any_of(kExclusionWords.begin(), kExclusionWords.end(), [&](std::wstring_view word) {
    return folded.find(AsciiUpper(word)) != std::wstring::npos;
  });
}

std::wstring NetworkPrefix(const std::wstring& address) {
  const std::size_t dot = address.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : address.substr(0, dot);
}

// Reads Index, Name and GUID in that order, stopping at the first failure;
// the identifier comes back empty when any of them failed.
std::optional<std::wstring> ReadCandidate(AdapterSource& source, std::wstring& name,
                                          std::wstring& guid) {
  guid.clear();
  auto index = source.Read(Property::kIndex);
  if (!index) return std::nullopt;
  const auto readName = source.Read(Property::kName);
  if (!readName) return std::nullopt;
  name = *readName;
  guid = source.Read(Property::kGuid).value_or(L"");
  return index;
}

struct Examined {
  std::wstring name, guid;
  std::vector<std::wstring> addresses;
};

// Walks the adapter's configurations, each address passing through the
// address output as it is examined, until one lies in the network of the most
// likely local address: nothing can beat that match. The others are kept for
// the less likely local addresses.
bool MatchOrCollect(AdapterSource& source, const std::wstring& localIp, Examined& adapter,
                    std::wstring& ip) {
  while (source.NextConfiguration()) {
    const auto addresses = source.ReadAddresses();
    if (!addresses) continue;
    for (const std::wstring& address : *addresses) {
      ip = address;
      if (SameNetworkPrefix(localIp, address)) return true;
      adapter.addresses.push_back(address);
    }
  }
  return false;
}

}  // namespace

bool FindActiveAdapter(AdapterSource& source, const std::vector<std::wstring>& localIps,
                       std::wstring& name, std::wstring& guid, std::wstring& ip) {
  const std::vector<std::wstring> candidates =
      localIps.empty() ? std::vector<std::wstring>{L""} : localIps;
  source.QueryAdapters();
  std::vector<Examined> examined;
  while (source.NextAdapter() && !source.IndexIsNull()) {
    const auto index = ReadCandidate(source, name, guid);
    if (guid.empty() || IsExcluded(name)) continue;
    source.QueryConfigurations(*index);
    if (MatchOrCollect(source, candidates.front(), examined.emplace_back(name, guid), ip)) {
      return true;
    }
  }
  for (const std::wstring& localIp : std::views::drop(candidates, 1)) {
    for (const Examined& adapter : examined) {
      const auto match = std::ranges::find_if(
          adapter.addresses, [&](const std::wstring& a) { return SameNetworkPrefix(localIp, a); });
      if (match == adapter.addresses.end()) continue;
      name = adapter.name;
      guid = adapter.guid;
      ip = *match;
      return true;
    }
  }
  return false;
}

bool SameNetworkPrefix(const std::wstring& a, const std::wstring& b) {
  return NetworkPrefix(a) == NetworkPrefix(b);
}

}  // namespace tavrin

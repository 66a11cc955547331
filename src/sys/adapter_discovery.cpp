#include "sys/adapter_discovery.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "i18n/ascii_case.h"

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

bool MatchAddress(AdapterSource& source, const std::wstring& localIp, std::wstring& ip) {
  while (source.NextConfiguration()) {
    const auto addresses = source.ReadAddresses();
    if (!addresses) continue;
    for (const std::wstring& address : *addresses) {
      ip = address;
      if (SameNetworkPrefix(localIp, address)) return true;
    }
  }
  return false;
}

}  // namespace

bool FindActiveAdapter(AdapterSource& source, const std::wstring& localIp, std::wstring& name,
                       std::wstring& guid, std::wstring& ip) {
  if (!source.QueryAdapters()) return false;
  while (source.NextAdapter() && !source.IndexIsNull()) {
    const auto index = ReadCandidate(source, name, guid);
    if (guid.empty() || IsExcluded(name)) continue;
    source.QueryConfigurations(*index);
    if (MatchAddress(source, localIp, ip)) return true;
  }
  return false;
}

bool SameNetworkPrefix(const std::wstring& a, const std::wstring& b) {
  return NetworkPrefix(a) == NetworkPrefix(b);
}

}  // namespace tavrin

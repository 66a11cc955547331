#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr std::uint32_t kValueAccess = reg::kKeyRead | reg::kKeyWrite | reg::kWow64_64Key;

// Opens the key a full path names, creating it and any missing level unless
// only reading; an empty sub key opens the root key itself.
ScopedKey OpenForValue(RegistryKeys& keys, const std::wstring& path, bool create = true) {
  const std::size_t slash = path.find(L'\\');
  const std::wstring rootName = slash == std::wstring::npos ? L"" : path.substr(0, slash);
  std::wstring subKey = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (!subKey.empty() && subKey.front() == L'\\') subKey.erase(0, 1);

  ScopedKey key(keys);
  const RegHandle root = RootKeyFromName(rootName);
  if (root == 0) return key;
  if (!create) {
    key.Open(root, subKey, reg::kKeyRead | reg::kWow64_64Key);
  } else if (subKey.empty()) {
    key.Open(root, subKey, kValueAccess);
  } else {
    key.Create(root, subKey, kValueAccess);
  }
  return key;
}

}  // namespace

RegHandle RootKeyFromName(std::wstring_view name) {
  for (std::size_t i = 0; i < RootKeyNames.size(); ++i) {
    if (RootKeyNames[i] == name) return reg::kClassesRoot + i;
  }
  return 0;
}

void WriteRegistryInteger(RegistryKeys& keys, const std::wstring& path,
                          const std::wstring& valueName, std::int32_t value) {
  ScopedKey key = OpenForValue(keys, path);
  if (!key.IsOpen()) return;
  const auto data = reg::DwordBytes(value);
  keys.SetValue(key.Get(), valueName, reg::kDword, data.data(), data.size());
}

void DeleteRegistryValue(RegistryKeys& keys, const std::wstring& path,
                         const std::wstring& valueName) {
  ScopedKey key = OpenForValue(keys, path);
  if (!key.IsOpen()) return;
  keys.DeleteValue(key.Get(), valueName);
}

std::optional<std::int32_t> ReadRegistryInteger(RegistryKeys& keys, const std::wstring& path,
                                                const std::wstring& valueName) {
  ScopedKey key = OpenForValue(keys, path, /*create=*/false);
  if (!key.IsOpen()) return std::nullopt;
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  if (keys.QueryValue(key.Get(), valueName, &type, data, &size) != reg::kSuccess ||
      type != reg::kDword || size != sizeof data) {
    return std::nullopt;
  }
  return reg::DwordFromBytes(data);
}

}  // namespace tavrin

#include "support/registry_backends.h"

#include <iomanip>

#include "support/memory_registry.h"
#include "sys/registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavrin::test {
namespace {

std::pair<RegHandle, std::wstring> SplitRoot(const std::wstring& fullPath) {
  const std::size_t slash = fullPath.find(L'\\');
  if (slash == std::wstring::npos) return {RootKeyFromName(fullPath), L""};
  return {RootKeyFromName(fullPath.substr(0, slash)), fullPath.substr(slash + 1)};
}

#ifdef _WIN32
// Borrows the machine's registry; the test's keys are cleared on the way in.
class SystemRegistryForTest final : public RegistryKeys {
 public:
  SystemRegistryForTest() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TavrinTest");
    RegDeleteValueW(HKEY_CURRENT_USER, kRootValue);
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      DeleteTree(L"SOFTWARE", L"TavrinTest", view);
    }
    DeleteTree(L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces",
               kTestInterfaceId, KEY_WOW64_64KEY);
    DeleteTree(L"SOFTWARE\\Microsoft\\MSMQ", L"Parameters", KEY_WOW64_64KEY);
    DeleteTree(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Multimedia", L"SystemProfile",
               KEY_WOW64_64KEY);
  }

  long CreateKey(RegHandle p, const std::wstring& s, std::uint32_t a, RegHandle& k) override {
    return real().CreateKey(p, s, a, k);
  }
  long OpenKey(RegHandle p, const std::wstring& s, std::uint32_t a, RegHandle& k) override {
    return real().OpenKey(p, s, a, k);
  }
  long QueryValue(RegHandle k, const std::wstring& n, std::uint32_t* t, std::uint8_t* d,
                  std::uint32_t* s) override {
    return real().QueryValue(k, n, t, d, s);
  }
  long SetValue(RegHandle k, const std::wstring& n, std::uint32_t t, const std::uint8_t* d,
                std::uint32_t s) override {
    return real().SetValue(k, n, t, d, s);
  }
  long DeleteValue(RegHandle k, const std::wstring& n) override { return real().DeleteValue(k, n); }
  long CloseKey(RegHandle k) override { return real().CloseKey(k); }

 private:
  static RegistryKeys& real() { return SystemRegistry(); }
  static void DeleteTree(const wchar_t* parent, const wchar_t* child, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parent, 0, KEY_ALL_ACCESS | view, &key) ==
        ERROR_SUCCESS) {
      RegDeleteTreeW(key, child);
      RegCloseKey(key);
    }
  }
};
#endif

}  // namespace

std::vector<RegistryBackend> RegistryBackends() {
  std::vector<RegistryBackend> backends = {
      {"Memory", [] { return std::make_unique<MemoryRegistry>(); }, true}};
#ifdef _WIN32
  backends.push_back({"Windows", [] { return std::make_unique<SystemRegistryForTest>(); }, false});
#endif
  return backends;
}

std::ostream& operator<<(std::ostream& out, const StoredValue& value) {
  out << "type " << value.type << " [";
  for (const std::uint8_t byte : value.data) {
    out << ' ' << std::hex << std::setw(2) << std::setfill('0') << int{byte} << std::dec;
  }
  return out << " ]";
}

std::optional<StoredValue> ReadBack(RegistryKeys& keys, const std::wstring& fullPath,
                                    const std::wstring& name, std::uint32_t view) {
  const auto [root, sub] = SplitRoot(fullPath);
  ScopedKey key(keys);
  if (key.Open(root, sub, reg::kKeyRead | view) != reg::kSuccess) return std::nullopt;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (keys.QueryValue(key.Get(), name, &type, nullptr, &size) != reg::kSuccess) return std::nullopt;
  StoredValue value{type, std::vector<std::uint8_t>(size)};
  if (size != 0) keys.QueryValue(key.Get(), name, &type, value.data.data(), &size);
  return value;
}

bool KeyExists(RegistryKeys& keys, const std::wstring& fullPath, std::uint32_t view) {
  const auto [root, sub] = SplitRoot(fullPath);
  ScopedKey key(keys);
  return key.Open(root, sub, reg::kKeyRead | view) == reg::kSuccess;
}

StoredValue Dword(std::int32_t value) {
  const auto bytes = reg::DwordBytes(value);
  return {reg::kDword, {bytes.begin(), bytes.end()}};
}

}  // namespace tavrin::test

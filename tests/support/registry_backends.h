#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sys/registry_keys.h"

namespace tavrin::test {

// A registry to run the same contract against: the in-memory twin everywhere,
// and the real one on Windows, with the test's keys removed before each test.
struct RegistryBackend {
  std::string name;
  std::function<std::unique_ptr<RegistryKeys>()> open;
  bool canDenyAccess;  // only the twin can make a key refuse access
};

std::vector<RegistryBackend> RegistryBackends();

// The keys tests may write; each backend clears them before a test.
inline constexpr wchar_t kUserTestKey[] = L"HKEY_CURRENT_USER\\Software\\TavrinTest";
inline constexpr wchar_t kMachineTestKey[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\TavrinTest";
// A value tests may write directly in HKEY_CURRENT_USER.
inline constexpr wchar_t kRootValue[] = L"TavrinTestRootValue";
inline constexpr wchar_t kTestInterfaceId[] = L"{7A1E5C00-0000-4000-8000-00000000BEEF}";

struct StoredValue {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};
std::ostream& operator<<(std::ostream& out, const StoredValue& value);

// Reads a value back by full path in the given view (reg::kWow64_64Key or
// reg::kWow64_32Key); nothing when the key or the value is missing.
std::optional<StoredValue> ReadBack(RegistryKeys& keys, const std::wstring& fullPath,
                                    const std::wstring& name,
                                    std::uint32_t view = reg::kWow64_64Key);
bool KeyExists(RegistryKeys& keys, const std::wstring& fullPath,
               std::uint32_t view = reg::kWow64_64Key);
StoredValue Dword(std::int32_t value);

}  // namespace tavrin::test

namespace tavrin::test {
inline void PrintTo(const RegistryBackend& backend, std::ostream* out) { *out << backend.name; }

// Base for tests that run once per backend, with a fresh registry each.
class RegistryTest : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override { keys_ = GetParam().open(); }
  RegistryKeys& keys() { return *keys_; }

 private:
  std::unique_ptr<RegistryKeys> keys_;
};

#define TAVRIN_FOR_EACH_REGISTRY(Suite)                                             \
  INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                         \
                           ::testing::ValuesIn(::tavrin::test::RegistryBackends()), \
                           [](const auto& info) { return info.param.name; })
}  // namespace tavrin::test

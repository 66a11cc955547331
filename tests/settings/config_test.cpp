#include "settings/config.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/memory_registry.h"
#include "support/registry_backends.h"

namespace tavrin::test {
namespace {

const std::wstring kStoreKey = std::wstring(kUserTestKey) + L"\\Store";

class SettingsStore : public RegistryTest {
 protected:
  // Puts raw data under the store's key, as another program might have.
  void Plant(const std::wstring& name, std::uint32_t type, std::vector<std::uint8_t> data) {
    ScopedKey key(keys());
    ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest\\Store", reg::kKeyAllAccess),
              reg::kSuccess);
    keys().SetValue(key.Get(), name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }
};

TEST_P(SettingsStore, FreshKeyIsCreatedAndEveryReadGivesItsDefault) {
  TConfig config(keys(), L"TavrinTest\\Store");
  EXPECT_TRUE(KeyExists(keys(), kStoreKey));
  EXPECT_TRUE(config.ReadBoolean(L"tcpnodelay", true));
  EXPECT_FALSE(config.ReadBoolean(L"tcpnodelay", false));
  EXPECT_EQ(config.ReadInteger(L"status", 42), 42);
  EXPECT_EQ(config.ReadString(L"name", L"fallback"), L"fallback");
}

TEST_P(SettingsStore, WritesUseTheStoredFormsAndReadBack) {
  TConfig config(keys(), L"TavrinTest\\Store");
  EXPECT_TRUE(config.WriteBoolean(L"flag", true));
  EXPECT_EQ(config.WriteInteger(L"minus", -1), -1);
  EXPECT_EQ(config.WriteString(L"text", L"ab"), L"ab");

  EXPECT_EQ(ReadBack(keys(), kStoreKey, L"flag"), Dword(1));
  EXPECT_EQ(ReadBack(keys(), kStoreKey, L"minus"),
            (StoredValue{reg::kDword, {0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(ReadBack(keys(), kStoreKey, L"text"), (StoredValue{reg::kSz, {'a', 0, 'b', 0, 0, 0}}));
  EXPECT_EQ(config.ReadInteger(L"minus", 0), -1);
  EXPECT_EQ(config.ReadString(L"text", L""), L"ab");
}

TEST_P(SettingsStore, ReadsInterpretWhatIsStored) {
  Plant(L"five", reg::kDword, {5, 0, 0, 0});
  Plant(L"big", reg::kDwordBigEndian, {2, 0, 0, 0});
  Plant(L"empty", reg::kSz, {});
  Plant(L"expand", reg::kExpandSz, {'%', 0, 'X', 0, '%', 0, 0, 0});
  Plant(L"early", reg::kSz, {'a', 0, 0, 0, 'b', 0, 0, 0});
  TConfig config(keys(), L"TavrinTest\\Store");
  EXPECT_TRUE(config.ReadBoolean(L"five", false));
  EXPECT_EQ(config.ReadInteger(L"big", 0), 2);
  EXPECT_EQ(config.ReadString(L"empty", L"fallback"), L"");
  EXPECT_EQ(config.ReadString(L"expand", L""), L"%X%");
  EXPECT_EQ(config.ReadString(L"early", L""), L"a");
}

TEST_P(SettingsStore, WrongTypesRaiseTheirOwnErrors) {
  Plant(L"one", reg::kSz, {'1', 0, 0, 0});          // fits four bytes
  Plant(L"ten", reg::kSz, {'1', 0, '0', 0, 0, 0});  // does not
  Plant(L"number", reg::kDword, {1, 0, 0, 0});
  TConfig config(keys(), L"TavrinTest\\Store");
  const struct {
    std::function<void()> read;
    std::wstring message;
  } cases[] = {
      {[&] { config.ReadInteger(L"one", 0); }, L"Invalid data type for 'one'"},
      {[&] { config.ReadBoolean(L"one", false); }, L"Invalid data type for 'one'"},
      {[&] { config.ReadInteger(L"ten", 0); }, L"Failed to get data for 'ten'"},
      {[&] { config.ReadString(L"number", L""); }, L"Invalid data type for 'number'"},
  };
  for (const auto& c : cases) {
    try {
      c.read();
      ADD_FAILURE() << "no error for " << std::string(c.message.begin(), c.message.end());
    } catch (const ConfigError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
  }
}

TEST_P(SettingsStore, OverwritingReplacesAValueOfAnotherType) {
  Plant(L"status", reg::kSz, {'x', 0, 0, 0});
  TConfig config(keys(), L"TavrinTest\\Store");
  config.WriteInteger(L"status", 1);
  EXPECT_EQ(config.ReadInteger(L"status", 0), 1);
}

TAVRIN_FOR_EACH_REGISTRY(SettingsStore);

TEST(SettingsStoreUnopened, WritesReturnTheirValueAndChangeNothing) {
  MemoryRegistry keys;
  keys.DenyAccess(L"HKEY_CURRENT_USER\\Software\\Locked");
  keys.ClearJournal();
  TConfig config(keys, L"Locked");
  EXPECT_TRUE(config.WriteBoolean(L"flag", true));
  EXPECT_EQ(config.WriteInteger(L"n", 7), 7);
  EXPECT_EQ(config.WriteString(L"s", L"x"), L"x");
  EXPECT_TRUE(keys.Journal().empty());
  EXPECT_EQ(config.ReadInteger(L"n", 3), 3);
}

}  // namespace
}  // namespace tavrin::test

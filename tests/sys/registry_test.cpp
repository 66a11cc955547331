#include "sys/registry.h"

#include <gtest/gtest.h>

#include "support/memory_registry.h"
#include "support/registry_backends.h"

namespace tavrin::test {
namespace {

TEST(RootKeyFromName, MatchesTheSevenNamesExactly) {
  const std::pair<const wchar_t*, RegHandle> cases[] = {
      {L"HKEY_CLASSES_ROOT", 0x80000000u},
      {L"HKEY_CURRENT_USER", 0x80000001u},
      {L"HKEY_LOCAL_MACHINE", 0x80000002u},
      {L"HKEY_USERS", 0x80000003u},
      {L"HKEY_PERFORMANCE_DATA", 0x80000004u},
      {L"HKEY_CURRENT_CONFIG", 0x80000005u},
      {L"HKEY_DYN_DATA", 0x80000006u},
      // No case folding, no abbreviations, nothing around the name.
      {L"hkey_local_machine", 0},
      {L"HKLM", 0},
      {L"HKEY_LOCAL_MACHINE ", 0},
      {L"HKEY_LOCAL", 0},
      {L"", 0},
  };
  for (const auto& [name, root] : cases) {
    EXPECT_EQ(RootKeyFromName(name), root) << testing::PrintToString(std::wstring(name));
  }
}

class RegistryValues : public RegistryTest {};

TEST_P(RegistryValues, ReadingAnIntegerCreatesNothingAndTakesOnlyADword) {
  const std::wstring key = std::wstring(kMachineTestKey) + L"\\Read";
  EXPECT_EQ(ReadRegistryInteger(keys(), key, L"Value"), std::nullopt);
  EXPECT_FALSE(KeyExists(keys(), key));
  WriteRegistryInteger(keys(), key, L"Value", -1);
  EXPECT_EQ(ReadRegistryInteger(keys(), key, L"Value"), -1);
  EXPECT_EQ(ReadRegistryInteger(keys(), key, L"Other"), std::nullopt);
  ScopedKey opened(keys());
  ASSERT_EQ(opened.Open(reg::kLocalMachine, L"SOFTWARE\\TavrinTest\\Read",
                        reg::kKeyAllAccess | reg::kWow64_64Key),
            reg::kSuccess);
  const std::uint8_t text[] = {'1', 0, 0, 0};
  keys().SetValue(opened.Get(), L"Text", reg::kSz, text, sizeof text);
  EXPECT_EQ(ReadRegistryInteger(keys(), key, L"Text"), std::nullopt);
}

struct PathCase {
  const wchar_t* path;
  bool written;  // lands in HKCU\Software\TavrinTest\Sub
};

TEST_P(RegistryValues, PathFormsDecideWhereAWriteLands) {
  const PathCase cases[] = {
      {L"HKEY_CURRENT_USER\\Software\\TavrinTest\\Sub", true},
      {L"HKEY_CURRENT_USER\\\\Software\\TavrinTest\\Sub", true},  // one extra backslash is dropped
      {L"hkey_current_user\\Software\\TavrinTest\\Sub", false},
      {L"HKCU\\Software\\TavrinTest\\Sub", false},
      {L"Software\\TavrinTest\\Sub", false},
      {L"HKEY_CURRENT_USER", false},  // no backslash: no root name at all
  };
  for (const PathCase& c : cases) {
    auto keys = GetParam().open();
    const std::string shown(c.path, c.path + std::char_traits<wchar_t>::length(c.path));
    WriteRegistryInteger(*keys, c.path, kRootValue, 5);
    EXPECT_EQ(ReadBack(*keys, std::wstring(kUserTestKey) + L"\\Sub", kRootValue).has_value(),
              c.written)
        << shown;
    EXPECT_FALSE(ReadBack(*keys, L"HKEY_CURRENT_USER", kRootValue)) << shown;
  }
}

TEST_P(RegistryValues, NegativeOneIsStoredAsFourFFBytesInTheSixtyFourBitView) {
  WriteRegistryInteger(keys(), std::wstring(kMachineTestKey) + L"\\Deep\\Key", L"Minus", -1);
  EXPECT_EQ(ReadBack(keys(), std::wstring(kMachineTestKey) + L"\\Deep\\Key", L"Minus"),
            (StoredValue{reg::kDword, {0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_FALSE(KeyExists(keys(), kMachineTestKey, reg::kWow64_32Key));
}

TEST_P(RegistryValues, DeletingFromAMissingKeyCreatesItEmpty) {
  const std::wstring path = std::wstring(kMachineTestKey) + L"\\Fresh";
  DeleteRegistryValue(keys(), path, L"Nothing");
  EXPECT_TRUE(KeyExists(keys(), path));
  WriteRegistryInteger(keys(), path, L"Gone", 1);
  DeleteRegistryValue(keys(), path, L"Gone");
  EXPECT_FALSE(ReadBack(keys(), path, L"Gone"));
}

TEST_P(RegistryValues, EmptySubKeyActsOnTheRootKey) {
  WriteRegistryInteger(keys(), L"HKEY_CURRENT_USER\\", kRootValue, 3);
  EXPECT_EQ(ReadBack(keys(), L"HKEY_CURRENT_USER", kRootValue), Dword(3));
  DeleteRegistryValue(keys(), L"HKEY_CURRENT_USER\\", kRootValue);
  EXPECT_FALSE(ReadBack(keys(), L"HKEY_CURRENT_USER", kRootValue));
}

TAVRIN_FOR_EACH_REGISTRY(RegistryValues);

TEST(RegistryValuesRefused, ARefusedOpenChangesNothingAndTheNextCallWorks) {
  MemoryRegistry keys;
  const std::wstring locked = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked";
  keys.DenyAccess(locked);
  keys.ClearJournal();
  WriteRegistryInteger(keys, locked, L"Value", 1);
  DeleteRegistryValue(keys, locked, L"Value");
  WriteRegistryInteger(keys, locked + L"\\Below", L"Value", 1);
  EXPECT_TRUE(keys.Journal().empty());
  EXPECT_FALSE(keys.KeyExists(locked + L"\\Below"));
  EXPECT_EQ(keys.OpenHandleCount(), 0u);

  WriteRegistryInteger(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Open", L"Value", 2);
  EXPECT_EQ(ReadBack(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Open", L"Value"), Dword(2));
}

TEST(RegistryValuesHandles, EveryCallClosesItsKey) {
  MemoryRegistry keys;
  WriteRegistryInteger(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\A", L"V", 1);
  DeleteRegistryValue(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\A", L"V");
  WriteRegistryInteger(keys, L"HKEY_CURRENT_USER\\", L"V", 1);
  EXPECT_EQ(keys.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace tavrin::test

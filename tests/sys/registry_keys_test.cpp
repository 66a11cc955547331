// The contract both registries keep: the logic above relies on each of these.
#include <gtest/gtest.h>

#include "support/registry_backends.h"

namespace tavrin::test {
namespace {

constexpr std::uint32_t kRw = reg::kKeyRead | reg::kKeyWrite;

class RegistryKeysContract : public RegistryTest {};

TEST_P(RegistryKeysContract, CreateMakesMissingLevelsAndOpenFindsThem) {
  ScopedKey key(keys());
  EXPECT_EQ(key.Open(reg::kCurrentUser, L"Software\\TavrinTest\\a\\b", kRw), reg::kFileNotFound);
  EXPECT_FALSE(key.IsOpen());
  ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest\\a\\b", kRw), reg::kSuccess);
  EXPECT_EQ(key.Open(reg::kCurrentUser, L"SOFTWARE\\tavrintest\\A", kRw), reg::kSuccess);
  EXPECT_EQ(key.Open(reg::kCurrentUser, L"", kRw), reg::kSuccess);
}

TEST_P(RegistryKeysContract, ValuesKeepTypeAndBytesAndIgnoreLetterCase) {
  ScopedKey key(keys());
  ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest", kRw), reg::kSuccess);
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(keys().SetValue(key.Get(), L"Blob", reg::kBinary, bytes, sizeof bytes), reg::kSuccess);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  ASSERT_EQ(keys().QueryValue(key.Get(), L"BLOB", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kBinary);
  EXPECT_EQ(size, 6u);

  std::uint8_t small[4] = {};
  size = sizeof small;
  EXPECT_EQ(keys().QueryValue(key.Get(), L"blob", &type, small, &size), reg::kMoreData);
  EXPECT_EQ(size, 6u);

  EXPECT_EQ(ReadBack(keys(), kUserTestKey, L"Blob"),
            (StoredValue{reg::kBinary, {1, 2, 3, 4, 5, 6}}));
  EXPECT_EQ(keys().QueryValue(key.Get(), L"Missing", &type, nullptr, &size), reg::kFileNotFound);
}

TEST_P(RegistryKeysContract, DeleteValueRemovesOnlyWhatExists) {
  ScopedKey key(keys());
  ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest", kRw), reg::kSuccess);
  const auto data = reg::DwordBytes(7);
  keys().SetValue(key.Get(), L"Seven", reg::kDword, data.data(), data.size());
  EXPECT_EQ(keys().DeleteValue(key.Get(), L"SEVEN"), reg::kSuccess);
  EXPECT_EQ(keys().DeleteValue(key.Get(), L"Seven"), reg::kFileNotFound);
  EXPECT_FALSE(ReadBack(keys(), kUserTestKey, L"Seven"));
}

TEST_P(RegistryKeysContract, ReadOnlyKeyRefusesWrites) {
  ScopedKey key(keys());
  ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\TavrinTest", reg::kKeyRead), reg::kSuccess);
  const auto data = reg::DwordBytes(1);
  EXPECT_EQ(keys().SetValue(key.Get(), L"One", reg::kDword, data.data(), data.size()),
            reg::kAccessDenied);
  EXPECT_FALSE(ReadBack(keys(), kUserTestKey, L"One"));
}

TEST_P(RegistryKeysContract, SixtyFourBitViewIsSeparateFromThirtyTwoBitCopy) {
  ScopedKey key(keys());
  ASSERT_EQ(key.Create(reg::kLocalMachine, L"SOFTWARE\\TavrinTest", kRw | reg::kWow64_64Key),
            reg::kSuccess);
  EXPECT_TRUE(KeyExists(keys(), kMachineTestKey, reg::kWow64_64Key));
  EXPECT_FALSE(KeyExists(keys(), kMachineTestKey, reg::kWow64_32Key));
}

TAVRIN_FOR_EACH_REGISTRY(RegistryKeysContract);

}  // namespace
}  // namespace tavrin::test

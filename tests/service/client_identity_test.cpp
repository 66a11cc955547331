#include "service/client_identity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "base/text_encoding.h"
#include "support/memory_registry.h"
#include "support/registry_backends.h"

#ifdef _WIN32
#include <windows.h>

#include "sys/process_random.h"
#endif

namespace tavrin::test {
namespace {

constexpr wchar_t kIdentityKey[] = L"HKEY_CURRENT_USER\\Software\\Morvane";

// Hands out the scripted numbers and clock readings in order, and records the
// ranges it was asked for.
class ScriptedSources final : public IdentitySources {
 public:
  ScriptedSources(std::deque<std::uint32_t> numbers, std::deque<LocalClock> clock)
      : numbers_(std::move(numbers)), clock_(std::move(clock)) {}
  std::uint32_t Random(std::uint32_t range) override {
    ranges.push_back(range);
    const std::uint32_t n = numbers_.front();
    numbers_.pop_front();
    return n;
  }
  LocalClock Now() override {
    const LocalClock now = clock_.front();
    if (clock_.size() > 1) clock_.pop_front();
    return now;
  }
  std::vector<std::uint32_t> ranges;

 private:
  std::deque<std::uint32_t> numbers_;
  std::deque<LocalClock> clock_;
};

TEST(NewClientID, WritesFiveFieldsWithoutSeparators) {
  struct Case {
    std::deque<std::uint32_t> numbers;
    std::deque<LocalClock> clock;
    const char* id;
  };
  // One field a column.
  // clang-format off
  const Case cases[] = {
      {{0, 0, 0}, {{2000, 1, 2, 0, 0, 0}}, "00000000" "000102" "0000" "000000" "00000000"},
      {{0x7FFFFFFE, 0xFFFE, 0x7FFFFFFE}, {{2099, 12, 31, 23, 59, 59}},
       "7FFFFFFE" "991231" "FFFE" "235959" "7FFFFFFE"},
      {{0xABC, 0x1F, 0x12345678}, {{2025, 3, 4, 5, 6, 7}},
       "00000ABC" "250304" "001F" "050607" "12345678"},
      // The time is read again after the second number: a second that ticks
      // over in between shows in the time field only.
      {{1, 2, 3}, {{2024, 12, 31, 23, 59, 58}, {2024, 12, 31, 23, 59, 59}},
       "00000001" "241231" "0002" "235959" "00000003"},
  };
  // clang-format on
  for (const Case& c : cases) {
    ScriptedSources sources(c.numbers, c.clock);
    const std::wstring id = NewClientID(sources);
    EXPECT_EQ(WideToUtf8(id), c.id);
    EXPECT_EQ(id.size(), 32u);
    EXPECT_THAT(sources.ranges, testing::ElementsAre(0x7FFFFFFFu, 0xFFFFu, 0x7FFFFFFFu));
  }
}

class GetClientIDTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    ForgetIdentifier();
  }
  // The real program runs in the same Wine prefix: leave it no broken "MUID".
  void TearDown() override { ForgetIdentifier(); }
  static void ForgetIdentifier() {
#ifdef _WIN32
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Morvane");
#endif
  }
  void Store(std::uint32_t type, std::vector<std::uint8_t> data) {
    ScopedKey key(keys());
    ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\Morvane", reg::kKeyAllAccess),
              reg::kSuccess);
    ASSERT_EQ(keys().SetValue(key.Get(), L"MUID", type, data.data(),
                              static_cast<std::uint32_t>(data.size())),
              reg::kSuccess);
  }
  static std::vector<std::uint8_t> Sz(std::wstring_view text) {
    std::vector<std::uint8_t> data = WideToUtf16Le(text);
    data.insert(data.end(), {0, 0});
    return data;
  }
  ScriptedSources sources_{{0x1234, 0x56, 0x789}, {{2024, 5, 6, 7, 8, 9}}};
};

TEST_P(GetClientIDTest, MakesTheIdentifierOnceAndKeepsIt) {
  const std::wstring first = GetClientID(keys(), sources_);
  EXPECT_EQ(WideToUtf8(first), "00001234240506005607080900000789");
  EXPECT_EQ(ReadBack(keys(), kIdentityKey, L"MUID"), (StoredValue{reg::kSz, Sz(first)}));
  ScriptedSources other({1, 2, 3}, {{2030, 1, 1, 0, 0, 0}});
  EXPECT_EQ(GetClientID(keys(), other), first);
  EXPECT_TRUE(other.ranges.empty());
}

TEST_P(GetClientIDTest, SendsAStoredStringUnchanged) {
  for (const std::wstring& stored : {std::wstring(L"short"), std::wstring(L""),
                                     std::wstring(L"\u00e9t\u00e9 " + std::wstring(300, L'x'))}) {
    Store(reg::kSz, Sz(stored));
    EXPECT_EQ(GetClientID(keys(), sources_), stored);
  }
  Store(reg::kExpandSz, Sz(L"%TEMP%"));
  EXPECT_EQ(WideToUtf8(GetClientID(keys(), sources_)), "%TEMP%");
  EXPECT_TRUE(sources_.ranges.empty());
}

TEST_P(GetClientIDTest, AValueOfAnotherTypeGivesNothingAndStays) {
  const StoredValue dword = Dword(42);
  Store(dword.type, dword.data);
  EXPECT_EQ(GetClientID(keys(), sources_), L"");
  EXPECT_EQ(ReadBack(keys(), kIdentityKey, L"MUID"), dword);
  Store(reg::kBinary, {1, 2, 3});
  EXPECT_EQ(GetClientID(keys(), sources_), L"");
  EXPECT_TRUE(sources_.ranges.empty());
}

TAVRIN_FOR_EACH_REGISTRY(GetClientIDTest);

TEST(GetClientID, AKeyThatCannotBeOpenedGivesNothing) {
  MemoryRegistry keys;
  keys.DenyAccess(kIdentityKey);
  ScriptedSources sources({1, 2, 3}, {{2024, 1, 1, 0, 0, 0}});
  EXPECT_EQ(GetClientID(keys, sources), L"");
  EXPECT_TRUE(keys.Journal().empty());
  EXPECT_EQ(keys.OpenHandleCount(), 0u);
}

#ifdef _WIN32
TEST(ProcessRandom, StaysInItsRange) {
  EXPECT_EQ(ProcessRandom(0), 0u);
  EXPECT_EQ(ProcessRandom(1), 0u);
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 200; ++i) {
    const std::uint32_t n = ProcessRandom(0xFFFF);
    EXPECT_LT(n, 0xFFFFu);
    seen.insert(n);
  }
  EXPECT_GT(seen.size(), 100u);  // not stuck on a few values
}

TEST(SystemIdentitySources, ReadsTheLocalClock) {
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const LocalClock now = SystemIdentitySources().Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_LE(now.hour, 23);
}
#endif

}  // namespace
}  // namespace tavrin::test

#include "app/tweaks.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "support/memory_registry.h"
#include "support/registry_backends.h"
#include "sys/registry.h"

namespace tavrin::test {
namespace {

using Kind = MemoryRegistry::Change::Kind;

const std::wstring kInterfaceKey =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
    std::wstring(kTestInterfaceId);
const std::wstring kMsmqKey = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\MSMQ\\Parameters";
const std::wstring kMultimediaKey =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows "
    L"NT\\CurrentVersion\\Multimedia\\SystemProfile";

struct Call {
  Kind kind;
  std::wstring keyPath;
  std::wstring name;
  std::vector<std::uint8_t> data;
  bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& call) {
  const auto narrow = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  out << (call.kind == Kind::kSet ? "set " : "delete ") << narrow(call.keyPath) << " : "
      << narrow(call.name);
  for (const std::uint8_t byte : call.data) out << ' ' << int{byte};
  return out;
}

std::vector<Call> Calls(const MemoryRegistry& keys) {
  std::vector<Call> calls;
  for (const auto& change : keys.Journal()) {
    calls.push_back({change.kind, change.keyPath, change.name, change.data});
  }
  return calls;
}

Call Set(const std::wstring& key, const std::wstring& name, std::int32_t value) {
  const auto bytes = reg::DwordBytes(value);
  return {Kind::kSet, key, name, {bytes.begin(), bytes.end()}};
}
Call Delete(const std::wstring& key, const std::wstring& name) {
  return {Kind::kDelete, key, name, {}};
}

const std::vector<Call> kRevertCalls = {
    Delete(kInterfaceKey, L"TcpAckFrequency"),
    Delete(kInterfaceKey, L"TcpDelAckTicks"),
    Delete(kInterfaceKey, L"TCPNoDelay"),
    Delete(kMsmqKey, L"TCPNoDelay"),
    Set(kMultimediaKey, L"NetworkThrottlingIndex", 10),
    Set(kMultimediaKey, L"SystemResponsiveness", 20),
};

TEST(TweakCatalogue, ApplyWritesTheSelectedTweaksInCatalogueOrder) {
  struct Case {
    const char* name;
    OptionStates selected;
    std::vector<Call> calls;
  };
  const std::vector<Case> cases = {
      {"all five",
       {true, true, true, true, true},
       {Set(kInterfaceKey, L"TcpAckFrequency", 1), Set(kInterfaceKey, L"TcpDelAckTicks", 0),
        Set(kInterfaceKey, L"TCPNoDelay", 1), Set(kMsmqKey, L"TCPNoDelay", 1),
        Set(kMultimediaKey, L"NetworkThrottlingIndex", -1),
        Set(kMultimediaKey, L"SystemResponsiveness", 0)}},
      {"only TcpNoDelay",
       {false, false, true, false, false},
       {Set(kInterfaceKey, L"TCPNoDelay", 1), Set(kMsmqKey, L"TCPNoDelay", 1)}},
      {"none", {false, false, false, false, false}, {}},
  };
  for (const Case& c : cases) {
    MemoryRegistry keys;
    ApplyTweaks(keys, kTestInterfaceId, c.selected);
    EXPECT_EQ(Calls(keys), c.calls) << c.name;
  }
}

TEST(TweakCatalogue, RevertMakesTheSameSixCallsWhateverWasApplied) {
  for (const OptionStates applied : {OptionStates{}, OptionStates{false, false, true, false, false},
                                     OptionStates{true, true, true, true, true}}) {
    MemoryRegistry keys;
    ApplyTweaks(keys, kTestInterfaceId, applied);
    keys.ClearJournal();
    RevertTweaks(keys, kTestInterfaceId);
    EXPECT_EQ(Calls(keys), kRevertCalls);
  }
}

// Each option explains itself in every language, naming each value it writes,
// so that a user can look the value up.
TEST(TweakCatalogue, EveryExplanationNamesTheValuesItsTweakWrites) {
  for (const Tweak& tweak : kTweaks) {
    for (const wchar_t* language : {L"ko", L"en", L"ja", L"zh", L"ru", L"it", L"fr"}) {
      const std::wstring text = OwnTranslate(tweak.explanation, language);
      for (const ValueChange& change : kValueChanges) {
        if (change.box != tweak.box) continue;
        EXPECT_NE(text.find(change.valueName), std::wstring::npos)
            << WideToUtf8(tweak.caption) << " in " << WideToUtf8(language) << " lacks "
            << WideToUtf8(change.valueName);
      }
    }
  }
}

TEST(TweakCatalogue, KeyPathsEndInTheInterfaceIdentifierWhateverItIs) {
  const std::wstring interfaces =
      L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
  const struct {
    TweakKey key;
    std::wstring id;
    std::wstring path;
  } cases[] = {
      {TweakKey::kInterface, std::wstring(kTestInterfaceId), kInterfaceKey},
      // Without an adapter the revert lands on the Interfaces key itself.
      {TweakKey::kInterface, L"", interfaces},
      {TweakKey::kMessageQueuing, L"", kMsmqKey},
      {TweakKey::kMultimedia, std::wstring(kTestInterfaceId), kMultimediaKey},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TweakKeyPath(c.key, c.id), c.path) << testing::PrintToString(c.id);
  }
}

class TweaksOnRegistry : public RegistryTest {};

TEST_P(TweaksOnRegistry, ApplyThenRevertLeavesTheDocumentedValues) {
  WriteRegistryInteger(keys(), kMultimediaKey, L"SystemResponsiveness", 14);
  ApplyTweaks(keys(), kTestInterfaceId, {true, true, true, true, true});
  EXPECT_EQ(ReadBack(keys(), kInterfaceKey, L"TcpAckFrequency"), Dword(1));
  EXPECT_EQ(ReadBack(keys(), kInterfaceKey, L"TcpDelAckTicks"), Dword(0));
  EXPECT_EQ(ReadBack(keys(), kMsmqKey, L"TCPNoDelay"), Dword(1));
  EXPECT_EQ(ReadBack(keys(), kMultimediaKey, L"NetworkThrottlingIndex"),
            (StoredValue{reg::kDword, {0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(ReadBack(keys(), kMultimediaKey, L"SystemResponsiveness"), Dword(0));

  RevertTweaks(keys(), kTestInterfaceId);
  for (const wchar_t* name : {L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay"}) {
    EXPECT_FALSE(ReadBack(keys(), kInterfaceKey, name));
  }
  EXPECT_FALSE(ReadBack(keys(), kMsmqKey, L"TCPNoDelay"));
  EXPECT_EQ(ReadBack(keys(), kMultimediaKey, L"NetworkThrottlingIndex"), Dword(10));
  EXPECT_EQ(ReadBack(keys(), kMultimediaKey, L"SystemResponsiveness"), Dword(20));
}

TEST_P(TweaksOnRegistry, RevertCreatesAMissingMessageQueuingKeyEmpty) {
  ASSERT_FALSE(KeyExists(keys(), kMsmqKey));
  RevertTweaks(keys(), kTestInterfaceId);
  EXPECT_TRUE(KeyExists(keys(), kMsmqKey));
  EXPECT_FALSE(ReadBack(keys(), kMsmqKey, L"TCPNoDelay"));
}

TAVRIN_FOR_EACH_REGISTRY(TweaksOnRegistry);

}  // namespace
}  // namespace tavrin::test

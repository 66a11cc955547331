// The restart against fakes of the system's Network Connections: the fake
// manager (fake_netcon.dll) registered for the manager's class, and the fake
// netshell.dll put into the system directory for the length of a test.

#include "sys/adapter_restart_win.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "fakes/fake_netcon.h"

namespace fake_netcon {
void PrintTo(const Call& call, std::ostream* out) {
  *out << (call.connect ? "connect #" : "disconnect #") << call.connection;
}
}  // namespace fake_netcon

namespace tavrin {
namespace {

using fake_netcon::Call;
using fake_netcon::Connection;

constexpr wchar_t kManagerKey[] =
    L"Software\\Classes\\CLSID\\{BA126AD1-2166-11D1-B1D0-00805FC1270E}";
constexpr wchar_t kLoadTrace[] = L"TAVRIN_FAKE_NETSHELL_LOADED";

constexpr GUID kFirst = {
    0x11111111, 0xAAAA, 0x4BBB, {0x8C, 0xCC, 0xDD, 0xDD, 0xEE, 0xEE, 0xFF, 0x01}};
constexpr GUID kSecond = {
    0x22222222, 0xAAAA, 0x4BBB, {0x8C, 0xCC, 0xDD, 0xDD, 0xEE, 0xEE, 0xFF, 0x02}};
constexpr GUID kThird = {
    0x33333333, 0xAAAA, 0x4BBB, {0x8C, 0xCC, 0xDD, 0xDD, 0xEE, 0xEE, 0xFF, 0x03}};
constexpr wchar_t kSecondUpper[] = L"{22222222-AAAA-4BBB-8CCC-DDDDEEEEFF02}";
constexpr wchar_t kSecondLower[] = L"{22222222-aaaa-4bbb-8ccc-ddddeeeeff02}";

std::wstring ModuleDirectory(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring text = path;
  return text.substr(0, text.rfind(L'\\'));
}

std::wstring SystemDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);  // a 32-bit program's writes land in its own one
  return path;
}

std::wstring LoadTrace() {
  wchar_t path[MAX_PATH] = {};
  GetEnvironmentVariableW(kLoadTrace, path, MAX_PATH);
  return path;
}

std::vector<Call> Calls() {
  std::vector<Call> calls(16);
  calls.resize(FakeNetconCalls(calls.data(), static_cast<int>(calls.size())));
  return calls;
}

class AdapterRestart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    testDir_ = ModuleDirectory(nullptr);
    installed_ = SystemDirectory() + L"\\netshell.dll";
    beside_ = testDir_ + L"\\netshell.dll";
    InstallNetshell();
    RegisterManager();
    Configure({{kFirst, S_OK, S_OK}, {kSecond, S_OK, S_OK}, {kThird, S_OK, S_OK}});
    SetEnvironmentVariableW(kLoadTrace, nullptr);
  }

  void TearDown() override {
    DeleteFileW(installed_.c_str());
    DeleteFileW(beside_.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kManagerKey);
    CoUninitialize();
  }

  void InstallNetshell() {
    ASSERT_TRUE(CopyFileW((testDir_ + L"\\fake_netshell.dll").c_str(), installed_.c_str(), FALSE))
        << "into " << WideToUtf8(installed_) << ": error " << GetLastError();
  }

  void RegisterManager() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              (std::wstring(kManagerKey) + L"\\InprocServer32").c_str(), 0, nullptr,
                              0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"fake_netcon.dll"), path, MAX_PATH);
    const auto set = [&](const wchar_t* name, const std::wstring& value) {
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    set(nullptr, path);
    set(L"ThreadingModel", L"Both");
    RegCloseKey(key);
  }

  static void Configure(const std::vector<Connection>& connections) {
    FakeNetconConfigure(connections.data(), static_cast<int>(connections.size()));
  }

  // Every object and record handed out came back, and netshell.dll is gone again.
  static void ExpectEverythingReleased() {
    EXPECT_EQ(FakeNetconLiveObjects(), 0);
    EXPECT_EQ(FakeNetconOutstandingProperties(), 0);
    EXPECT_EQ(GetModuleHandleW(L"netshell.dll"), nullptr);
  }

  std::wstring testDir_, installed_, beside_;
};

TEST_F(AdapterRestart, ActsOnTheConnectionWithTheIdentifierInAnyLetterCase) {
  const struct {
    const wchar_t* id;
    bool connect;
    bool result;
    std::vector<Call> calls;
  } cases[] = {
      {kSecondUpper, false, true, {{1, false}}},
      {kSecondLower, true, true, {{1, true}}},
      {L"22222222-AAAA-4BBB-8CCC-DDDDEEEEFF02", false, false, {}},  // no braces
      {L"{44444444-AAAA-4BBB-8CCC-DDDDEEEEFF04}", true, false, {}},
      {L"", true, false, {}},
  };
  for (const auto& c : cases) {
    Configure({{kFirst, S_OK, S_OK}, {kSecond, S_OK, S_OK}, {kThird, S_OK, S_OK}});
    EXPECT_EQ(SetAdapterConnected(c.id, c.connect), c.result) << WideToUtf8(c.id);
    EXPECT_EQ(Calls(), c.calls) << WideToUtf8(c.id);
    ExpectEverythingReleased();
  }
}

TEST_F(AdapterRestart, OnlyTheFirstMatchActs) {
  Configure({{kSecond, S_OK, S_OK}, {kSecond, S_OK, S_OK}});
  EXPECT_TRUE(SetAdapterConnected(kSecondUpper, true));
  EXPECT_EQ(Calls(), (std::vector<Call>{{0, true}}));
  ExpectEverythingReleased();
}

TEST_F(AdapterRestart, PassesOverAConnectionWithoutProperties) {
  Configure({{kSecond, E_ACCESSDENIED, S_OK}, {kSecond, S_OK, S_OK}});
  EXPECT_TRUE(SetAdapterConnected(kSecondUpper, false));
  EXPECT_EQ(Calls(), (std::vector<Call>{{1, false}}));
  ExpectEverythingReleased();
}

TEST_F(AdapterRestart, AFailingSystemCallGivesFalse) {
  for (const bool connect : {false, true}) {
    Configure({{kSecond, S_OK, E_FAIL}});
    EXPECT_FALSE(SetAdapterConnected(kSecondUpper, connect));
    EXPECT_EQ(Calls(), (std::vector<Call>{{0, connect}}));
    ExpectEverythingReleased();
  }
}

TEST_F(AdapterRestart, WithoutNetshellOrTheManagerNothingHappens) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kManagerKey);
  EXPECT_FALSE(SetAdapterConnected(kSecondUpper, true));

  RegisterManager();
  ASSERT_TRUE(DeleteFileW(installed_.c_str()));
  EXPECT_FALSE(SetAdapterConnected(kSecondUpper, true));

  EXPECT_EQ(Calls(), std::vector<Call>{});
  ExpectEverythingReleased();
}

TEST_F(AdapterRestart, NeverLoadsANetshellBesideTheProgram) {
  ASSERT_TRUE(CopyFileW((testDir_ + L"\\fake_netshell.dll").c_str(), beside_.c_str(), FALSE));

  EXPECT_TRUE(SetAdapterConnected(kSecondUpper, true));
  const std::wstring loaded = LoadTrace();
  ASSERT_FALSE(loaded.empty()) << "the fake netshell.dll leaves no trace";
  EXPECT_NE(loaded.substr(0, loaded.rfind(L'\\')), testDir_) << WideToUtf8(loaded);

  SetEnvironmentVariableW(kLoadTrace, nullptr);
  ASSERT_TRUE(DeleteFileW(installed_.c_str()));
  EXPECT_FALSE(SetAdapterConnected(kSecondUpper, true));
  EXPECT_EQ(LoadTrace(), L"");
  EXPECT_EQ(Calls(), (std::vector<Call>{{1, true}}));
}

}  // namespace
}  // namespace tavrin

// The real tavrin.exe, started as the user would: one instance per session,
// and a press of Run against the local stand-in service and a fake connection
// manager, read back from the registry.

#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/text_encoding.h"
#include "i18n/localisation.h"
#include "i18n/own_texts.h"
#include "i18n/translation.h"
#include "program/executable_image_win.h"
#include "support/accessibility_win.h"
#include "support/standin.h"
#include "support/url_opener_win.h"
#include "sys/adapter_discovery_win.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kManagerKey[] =
    L"Software\\Classes\\CLSID\\{BA126AD1-2166-11D1-B1D0-00805FC1270E}";

// Waits until `done` holds, for at most `limit` (generous: under emulation a
// start alone takes seconds).
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 60s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ModuleDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring text = path;
  return text.substr(0, text.rfind(L'\\'));
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ThreadWindows(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The texts a window and its children show.
std::vector<std::wstring> TextsIn(HWND window) {
  std::vector<std::wstring> texts = {TextOf(window)};
  for (HWND child : ChildWindows(window)) texts.push_back(TextOf(child));
  return texts;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

// An environment variable set for the processes started meanwhile.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value)
      : name_(name), old_(EnvironmentVariable(name)) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, old_.empty() ? nullptr : old_.c_str()); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::wstring old_;
};

constexpr wchar_t kMainWindowClass[] = L"TFrmTavrin";

// One run of tavrin.exe; closed through its window, or ended, when it goes.
// Wine prints its errors for it (not its fixmes) to the test's output.
class Program {
 public:
  explicit Program(const std::wstring& file = TAVRIN_PROGRAM_FILE,
                   const wchar_t* folder = nullptr) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + file + L"\"";
    const ScopedVariable errorsOnly(L"WINEDEBUG", L"-all,err+all");
    started_ = CreateProcessW(file.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder, &startup, &info_);
  }
  ~Program() {
    if (!started_) return;
    if (!Exited(0ms)) {
      if (HWND window = Window()) PostMessageW(window, WM_CLOSE, 0, 0);
      if (!Exited(10s)) TerminateProcess(info_.hProcess, 1);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return started_; }
  bool Exited(std::chrono::milliseconds wait) const {
    return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(wait.count())) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  // The process's main window once it shows.
  HWND Window() const { return ShownWindow(kMainWindowClass); }
  // A shown top-level window of the process, of this class.
  HWND ShownWindow(const wchar_t* windowClass) const {
    for (HWND window : OwnWindows()) {
      if (ClassOf(window) == windowClass && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }
  // Waits until a window of this class shows; a process that ends first
  // fails at once, saying how it ended.
  testing::AssertionResult Shows(const wchar_t* windowClass = kMainWindowClass,
                                 std::chrono::milliseconds limit = 60s) const {
    WaitFor([&] { return ShownWindow(windowClass) || Exited(0ms); }, limit);
    if (ShownWindow(windowClass)) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "no " << WideToUtf8(windowClass) << " window showed; ";
    if (Exited(0ms)) {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(ExitCode()));
      failure << "the program ended with exit code " << code;
    } else {
      failure << "the program runs with these windows:";
      for (HWND window : OwnWindows()) {
        failure << " " << WideToUtf8(ClassOf(window))
                << (IsWindowVisible(window) ? "" : " (hidden)");
      }
    }
    return failure;
  }

 private:
  std::vector<HWND> OwnWindows() const {
    std::vector<HWND> own;
    for (HWND window : TopWindows()) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process == info_.dwProcessId) own.push_back(window);
    }
    return own;
  }

  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

std::size_t MainWindowCount() {
  const std::vector<HWND> windows = TopWindows();
  return std::count_if(windows.begin(), windows.end(),
                       [](HWND window) { return ClassOf(window) == kMainWindowClass; });
}

TEST(SingleInstance, ASecondStartEndsAtOnceShowingNothing) {
  std::optional<Program> first(std::in_place);
  ASSERT_TRUE(first->Started());
  ASSERT_TRUE(first->Shows());

  Program second;
  ASSERT_TRUE(second.Started());
  EXPECT_TRUE(second.Exited(5s));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_EQ(MainWindowCount(), 1u);

  PostMessageW(first->Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(first->Exited(10s));
  EXPECT_EQ(first->ExitCode(), 0u);
  first.reset();

  Program later;  // the mutex went with the first process
  EXPECT_TRUE(later.Shows());
}

// A DWORD in the 64-bit view of HKEY_LOCAL_MACHINE, if there is one.
std::optional<DWORD> MachineValue(const std::wstring& key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened))
    return std::nullopt;
  DWORD value = 0, size = sizeof value, type = 0;
  const LONG rc =
      RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(opened);
  if (rc != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
  return value;
}

std::optional<DWORD> StoredStatus() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrin", 0, KEY_READ, &key)) return std::nullopt;
  DWORD value = 0, size = sizeof value;
  const LONG rc =
      RegQueryValueExW(key, L"status", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? std::optional<DWORD>(value) : std::nullopt;
}

void StoreStatus(DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrin", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"status", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
  RegCloseKey(key);
}

void SetMachineValue(const std::wstring& key, const wchar_t* name, DWORD value) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                            KEY_WRITE | KEY_WOW64_64KEY, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(opened);
}

void DeleteMachineValue(const std::wstring& key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &opened) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(opened, name);
    RegCloseKey(opened);
  }
}

void StoreText(const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrin", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// The start button is the styled button on a page, not on the toolbar.
HWND StartButton(HWND window) {
  for (HWND child : ChildWindows(window)) {
    if (ClassOf(child) == L"Tavrin.StyledButton" && ClassOf(GetParent(child)) == L"Tavrin.Panel") {
      return child;
    }
  }
  return nullptr;
}

constexpr wchar_t kMessageQueuing[] = L"SOFTWARE\\Microsoft\\MSMQ\\Parameters";
constexpr wchar_t kMultimedia[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Multimedia\\SystemProfile";

class SmokeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrin");
    InstallFakeConnectionManager();
    // The program's texts: its own table, in the language it will pick.
    HMODULE program = LoadLibraryExW(TAVRIN_PROGRAM_FILE, nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    LoadTranslationTable(TranslationResource(program));
    CurrentLanguage = GetUserLanguage().substr(0, 2);
    std::wstring name, ip;
    ASSERT_TRUE(GetActiveAdapter(name, guid_, ip));
    SetTweaks(false);  // whatever an earlier test left in
    // What earlier tests scripted (an update offer, a silent network) stays with them.
    ASSERT_TRUE(standin_.Available())
        << "no stand-in service at " << WideToUtf8(standin_.BaseUrl());
    standin_.Reset();
  }
  void TearDown() override {
    if (standin_.Available()) standin_.Reset();
    DeleteFileW(netshell_.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kManagerKey);
    CoUninitialize();
  }

  void InstallFakeConnectionManager() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    netshell_ = std::wstring(system) + L"\\netshell.dll";
    ASSERT_TRUE(
        CopyFileW((ModuleDirectory() + L"\\fake_netshell.dll").c_str(), netshell_.c_str(), FALSE));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              (std::wstring(kManagerKey) + L"\\InprocServer32").c_str(), 0, nullptr,
                              0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring server = ModuleDirectory() + L"\\fake_netcon.dll";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Both"),
                   5 * sizeof(wchar_t));
    RegCloseKey(key);
  }

  // All five tweaks in on the active adapter, or all out, as the program
  // would leave them.
  void SetTweaks(bool in) {
    const std::wstring keys[] = {InterfaceKey(), InterfaceKey(), InterfaceKey(), kMessageQueuing};
    const wchar_t* names[] = {L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay", L"TCPNoDelay"};
    const DWORD applied[] = {1, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
      if (in) {
        SetMachineValue(keys[i], names[i], applied[i]);
      } else {
        DeleteMachineValue(keys[i], names[i]);
      }
    }
    SetMachineValue(kMultimedia, L"NetworkThrottlingIndex", in ? 0xFFFFFFFF : 10);
    SetMachineValue(kMultimedia, L"SystemResponsiveness", in ? 0 : 20);
  }

  std::wstring InterfaceKey() const {
    return L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + guid_;
  }

  std::wstring guid_;
  std::wstring netshell_;
  StandIn standin_;
};

TEST_F(SmokeRun, RunAppliesTheTweaksAndASecondPressRevertsThem) {
  Program program;
  ASSERT_TRUE(program.Shows());
  const HWND start = StartButton(program.Window());
  ASSERT_NE(start, nullptr);
  ASSERT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  EXPECT_EQ(TextOf(start), Translate(L"실행하기"));

  SendMessageW(start, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return TextOf(start) == Translate(L"실행중"); }));
  // Stored right after the caption shows.
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 1u; }));
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TcpAckFrequency"), 1u);
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TcpDelAckTicks"), 0u);
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TCPNoDelay"), 1u);
  EXPECT_EQ(MachineValue(kMessageQueuing, L"TCPNoDelay"), 1u);
  EXPECT_EQ(MachineValue(kMultimedia, L"NetworkThrottlingIndex"), 0xFFFFFFFFu);
  EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), 0u);

  SendMessageW(start, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return TextOf(start) == Translate(L"실행하기"); }));
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TcpAckFrequency"), std::nullopt);
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TcpDelAckTicks"), std::nullopt);
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TCPNoDelay"), std::nullopt);
  EXPECT_EQ(MachineValue(kMessageQueuing, L"TCPNoDelay"), std::nullopt);
  EXPECT_EQ(MachineValue(kMultimedia, L"NetworkThrottlingIndex"), 10u);
  EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), 20u);

  PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Exited(10s));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(SmokeRun, AStoredBusyStateOpensIdle) {
  StoreStatus(2);
  Program program;
  ASSERT_TRUE(program.Shows());
  const HWND start = StartButton(program.Window());
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(TextOf(start), Translate(L"실행하기"));
  EXPECT_TRUE(IsWindowEnabled(start));
  EXPECT_EQ(StoredStatus(), 0u);
}

// Applied while on another adapter (a Wi-Fi since switched off), reverted on
// this one: both lose their values.
TEST_F(SmokeRun, ARevertAlsoClearsTheAdapterTheApplyWroteTo) {
  const std::wstring earlier = L"{0A1D0000-0000-4000-8000-00000000A11D}";
  const std::wstring earlierKey =
      L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + earlier;
  SetMachineValue(earlierKey, L"TcpAckFrequency", 1);
  SetMachineValue(earlierKey, L"TcpDelAckTicks", 0);
  SetMachineValue(earlierKey, L"TCPNoDelay", 1);
  SetMachineValue(kMessageQueuing, L"TCPNoDelay", 1);
  SetMachineValue(kMultimedia, L"NetworkThrottlingIndex", 0xFFFFFFFF);
  SetMachineValue(kMultimedia, L"SystemResponsiveness", 0);
  StoreStatus(1);
  StoreText(L"interface", earlier);

  Program program;
  ASSERT_TRUE(program.Shows());
  const HWND start = StartButton(program.Window());
  ASSERT_NE(start, nullptr);
  ASSERT_EQ(TextOf(start), Translate(L"실행중"));
  SendMessageW(start, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return TextOf(start) == Translate(L"실행하기"); }));
  for (const wchar_t* name : {L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay"}) {
    EXPECT_EQ(MachineValue(earlierKey, name), std::nullopt) << WideToUtf8(name);
    EXPECT_EQ(MachineValue(InterfaceKey(), name), std::nullopt) << WideToUtf8(name);
  }
  EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), 20u);
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, earlierKey.c_str(), KEY_WOW64_64KEY, 0);
}

// The stored state is per user, the tweaks per machine: what the registry
// holds is shown, and stored.
TEST_F(SmokeRun, TheShownStateAgreesWithTheRegistry) {
  struct Case {
    DWORD stored;
    bool tweaksIn;
    const wchar_t* caption;
    DWORD storedAfter;
  };
  for (const Case c : {Case{0, true, L"실행중", 1}, Case{1, false, L"실행하기", 0}}) {
    SCOPED_TRACE(c.stored);
    StoreStatus(c.stored);
    SetTweaks(c.tweaksIn);
    Program program;
    ASSERT_TRUE(program.Shows());
    const HWND start = StartButton(program.Window());
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(TextOf(start), Translate(c.caption));
    EXPECT_EQ(StoredStatus(), c.storedAfter);
  }
}

// "status" as text and one choice as binary data: the report names both, and
// only once the window shows the rest truly.
TEST_F(SmokeRun, AWronglyTypedSettingSpoilsOnlyItself) {
  StoreText(L"status", L"1");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrin", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const BYTE binary[] = {1, 0, 0, 0, 0};
  RegSetValueExW(key, L"tcpackfrequency", 0, REG_BINARY, binary, sizeof binary);
  const DWORD clear = 0;
  RegSetValueExW(key, L"tcpnodelay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&clear),
                 sizeof clear);
  RegCloseKey(key);
  SetTweaks(true);

  Program program;
  ASSERT_TRUE(program.Shows(L"#32770"));
  const HWND report = program.ShownWindow(L"#32770");
  const std::vector<std::wstring> texts = TextsIn(report);
  EXPECT_THAT(texts, testing::Contains(testing::HasSubstr(L"'status'")));
  EXPECT_THAT(texts, testing::Contains(testing::HasSubstr(L"'tcpackfrequency'")));
  // Behind the report the window already shows what could be read.
  HWND window = nullptr;
  for (HWND candidate : TopWindows()) {
    if (ClassOf(candidate) == kMainWindowClass) window = candidate;
  }
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(StartButton(window)), Translate(L"실행중"));
  SendMessageW(report, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program.Shows());
  const auto child = [&](const std::wstring& text) {
    for (HWND candidate : ChildWindows(window)) {
      if (TextOf(candidate) == text) return candidate;
    }
    return HWND{};
  };
  SendMessageW(child(Translate(L"환경설정")), BM_CLICK, 0, 0);  // the settings page
  const auto checked = [&](const wchar_t* caption) {
    const HWND box = child(caption);
    EXPECT_NE(box, nullptr) << WideToUtf8(caption);
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  EXPECT_TRUE(checked(L"TcpAckFrequency"));
  EXPECT_FALSE(checked(L"TcpNoDelay"));
  EXPECT_TRUE(checked(L"SystemResponsiveness"));
  // The wrongly typed values are left as they were.
  DWORD type = 0;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tavrin", L"status", RRF_RT_ANY, &type, nullptr,
               nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tavrin", L"tcpackfrequency", RRF_RT_ANY, &type,
               nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

// Nothing in the program takes typed text, so its windows get no input
// method: one set up for each window and activated with the first cost a
// noticeable part of the start.
TEST_F(SmokeRun, ItsWindowsGetNoInputMethod) {
  Program program;
  ASSERT_TRUE(program.Shows());
  std::vector<std::wstring> classes;
  for (HWND window : ThreadWindows(GetWindowThreadProcessId(program.Window(), nullptr))) {
    classes.push_back(ClassOf(window));
  }
  const auto windowsOf = [&](const wchar_t* windowClass) {
    return std::count(classes.begin(), classes.end(), windowClass);
  };
  EXPECT_EQ(windowsOf(kMainWindowClass), 1);
  EXPECT_EQ(windowsOf(L"IME"), 0);
}

// Closed soon after it shows, while whatever the start left behind may still
// be ending, it ends every time.
TEST_F(SmokeRun, EndsWhenClosedRightAfterItShows) {
  for (int start = 1; start <= 8; ++start) {
    Program program;
    ASSERT_TRUE(program.Shows()) << "start " << start;
    std::this_thread::sleep_for(300ms);
    PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Exited(10s)) << "start " << start;
    EXPECT_EQ(program.ExitCode(), 0u) << "start " << start;
  }
}

// Closed while waiting for a network that does not answer.
class ClosedWhileWaiting : public SmokeRun {
 protected:
  void SetUp() override {
    SmokeRun::SetUp();
    standin_.Reply(L"/myip", {503, {}, "down"});
  }
};

TEST_F(ClosedWhileWaiting, TheStoredStatusMatchesWhatWasWritten) {
  struct Case {
    DWORD before, after;
    DWORD responsiveness;  // the multimedia value the press leaves behind
  };
  for (const Case c : {Case{0, 1, 0}, Case{1, 0, 20}}) {
    SCOPED_TRACE(c.before);
    StoreStatus(c.before);
    SetTweaks(c.before == 1);
    Program program;
    ASSERT_TRUE(program.Shows());
    const HWND start = StartButton(program.Window());
    ASSERT_NE(start, nullptr);
    SendMessageW(start, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(start));  // waiting
    EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), c.responsiveness);
    EXPECT_EQ(StoredStatus(), c.before);

    PostMessageW(program.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Exited(10s));
    EXPECT_EQ(StoredStatus(), c.after);
  }
}

// The test build that waits 8 seconds, against a /myip that accepts and does
// not answer for a minute.
TEST_F(SmokeRun, AWaitThatRunsOutSettlesAndSaysSo) {
  ScriptedReply silent{200, {}, R"({"ip":"127.0.0.1"})"};
  silent.delayMs = 60'000;
  struct Case {
    DWORD before, after;
    const wchar_t* caption;
  };
  for (const Case c : {Case{0, 1, L"실행중"}, Case{1, 0, L"실행하기"}}) {
    SCOPED_TRACE(c.before);
    standin_.Reply(L"/myip", silent);
    StoreStatus(c.before);
    SetTweaks(c.before == 1);
    Program program(SHORT_WAIT_PROGRAM_FILE);
    ASSERT_TRUE(program.Shows());
    const HWND start = StartButton(program.Window());
    ASSERT_NE(start, nullptr);
    SendMessageW(start, BM_CLICK, 0, 0);
    const auto pressed = std::chrono::steady_clock::now();
    ASSERT_TRUE(program.Shows(L"#32770", 45s)) << "the wait did not end at its limit";
    const HWND box = program.ShownWindow(L"#32770");
    const auto waited = std::chrono::steady_clock::now() - pressed;
    EXPECT_GE(waited, 8s);
    EXPECT_LT(waited, 40s) << "the probe in flight was waited for";
    EXPECT_THAT(TextsIn(box), testing::Contains(L"The network did not answer after the adapter "
                                                L"restarted. Please check your connection."));
    // Settled before it was told.
    EXPECT_EQ(TextOf(start), Translate(c.caption));
    EXPECT_EQ(StoredStatus(), c.after);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return program.ShownWindow(L"#32770") == nullptr; }));
    EXPECT_TRUE(IsWindowEnabled(start));
    standin_.Reset();
  }
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : ChildWindows(parent)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

// Runs xdotool, which works beside Wine on the X server, to its end. Wine
// cannot wait for a Unix process, so the shell that runs it leaves a mark.
void XDoTool(const std::wstring& arguments) {
  const std::wstring mark = L"/tmp/tavrin-xdotool-" + std::to_wstring(GetCurrentProcessId());
  std::wstring markFile = L"Z:" + mark;
  std::replace(markFile.begin(), markFile.end(), L'/', L'\\');
  DeleteFileW(markFile.c_str());
  std::wstring command = L"/bin/sh -c \"/usr/bin/xdotool " + arguments + L"; touch " + mark + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info));
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  ASSERT_TRUE(WaitFor([&] {
    return GetFileAttributesW(markFile.c_str()) != INVALID_FILE_ATTRIBUTES;
  })) << "xdotool did not finish (is it installed?)";
  DeleteFileW(markFile.c_str());
}

std::wstring X11Window(HWND window) {
  return std::to_wstring(reinterpret_cast<UINT_PTR>(GetPropW(window, L"__wine_x11_whole_window")));
}

// Keys typed as a keyboard types them, to their last release: real key
// events (XTEST) for the window that has the X server's focus. Sent to a window directly instead,
// their releases are lost in Wine, and a Ctrl stays held.
void Type(const std::string& keys) {
  XDoTool(L"key --delay 50 " + std::wstring(keys.begin(), keys.end()));
}

// A click of the mouse through the X server, at a point of the control.
void ClickAt(HWND control) {
  const HWND window = GetAncestor(control, GA_ROOT);
  // Without a window manager Wine's X window holds the frame it draws too.
  POINT point{5, 5};
  MapWindowPoints(control, nullptr, &point, 1);
  RECT frame{};
  GetWindowRect(window, &frame);
  XDoTool(L"mousemove --window " + X11Window(window) + L" " +
          std::to_wstring(point.x - frame.left) + L" " + std::to_wstring(point.y - frame.top) +
          L" click 1");
}

// The focused window of the program: its class and text.
std::wstring FocusIn(HWND window) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread)) return L"(none)";
  if (!thread.hwndFocus) return L"(none)";
  if (thread.hwndFocus == window) return L"window";
  const std::wstring text = TextOf(thread.hwndFocus);
  return text.empty() ? ClassOf(thread.hwndFocus) : text;
}

std::optional<DWORD> StoredOption(const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrin", 0, KEY_READ, &key)) return std::nullopt;
  DWORD value = 0, size = sizeof value;
  const LONG rc =
      RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? std::optional<DWORD>(value) : std::nullopt;
}

class KeyboardRun : public SmokeRun {
 protected:
  // Started once the fixture has set the machine up.
  HWND OpenWindow() {
    program_.emplace();
    EXPECT_TRUE(program_->Shows());
    const HWND window = program_->Window();
    if (!window) return nullptr;
    XDoTool(L"windowfocus " + X11Window(window));
    EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == Translate(L"실행하기"); }))
        << "focus at start: " << testing::PrintToString(FocusIn(window));
    return window;
  }

  // Types the keys and waits until the focus is on `expected`.
  bool TypeTo(HWND window, const std::string& keys, const std::wstring& expected) {
    Type(keys);
    const bool reached = WaitFor([&] { return FocusIn(window) == expected; });
    if (!reached) ADD_FAILURE() << keys << ": focus on " << testing::PrintToString(FocusIn(window));
    return reached;
  }

  std::optional<Program> program_;
};

TEST_F(KeyboardRun, TabGoesRoundEachPageAndCtrlTabAndSpaceReachAndTickABox) {
  const HWND window = OpenWindow();
  ASSERT_NE(window, nullptr);
  const std::wstring run = Translate(L"실행하기");
  ASSERT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));  // the stored state is back
  for (const std::wstring& next :
       {Translate(L"처음화면"), Translate(L"환경설정"), std::wstring(L"Tavrin.VectorImage"), run}) {
    ASSERT_TRUE(TypeTo(window, "Tab", next));
  }
  ASSERT_TRUE(TypeTo(window, "shift+Tab", L"Tavrin.VectorImage"));

  ASSERT_TRUE(TypeTo(window, "ctrl+Tab", L"Tavrin.VectorImage"));  // the logo keeps it
  HWND firstBox = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    return (firstBox = ChildWithText(window, L"TcpAckFrequency")) && IsWindowVisible(firstBox);
  })) << "the settings page did not show";
  ASSERT_TRUE(TypeTo(window, "Tab", L"TcpAckFrequency"));  // on the settings page
  const std::optional<DWORD> before = StoredOption(L"tcpackfrequency");
  Type("space");
  EXPECT_TRUE(WaitFor([&] { return StoredOption(L"tcpackfrequency") != before; }));
  for (const wchar_t* next :
       {L"TcpDelAckTick", L"TcpNoDelay", L"NetworkThrottlingIndex", L"SystemResponsiveness"}) {
    ASSERT_TRUE(TypeTo(window, "Tab", next));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    EXPECT_TRUE(IsWindowVisible(thread.hwndFocus));  // on the page shown
  }
  ASSERT_TRUE(TypeTo(window, "ctrl+shift+Tab", run));  // home, and the focus went along
}

TEST_F(KeyboardRun, SpaceOnRunAppliesTheTweaksAndSpaceAgainRevertsThem) {
  const HWND window = OpenWindow();
  ASSERT_NE(window, nullptr);
  const HWND start = StartButton(window);
  ASSERT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  Type("space");
  ASSERT_TRUE(WaitFor([&] { return TextOf(start) == Translate(L"실행중"); }));
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 1u; }));  // stored after the caption
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TCPNoDelay"), 1u);
  EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), 0u);
  // The focus came back to Run when the wait ended.
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == Translate(L"실행중"); }));

  Type("space");
  ASSERT_TRUE(WaitFor([&] { return TextOf(start) == Translate(L"실행하기"); }));
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  EXPECT_EQ(MachineValue(InterfaceKey(), L"TCPNoDelay"), std::nullopt);
  EXPECT_EQ(MachineValue(kMultimedia, L"SystemResponsiveness"), 20u);
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == Translate(L"실행하기"); }));
}

// A box clicked on the settings page, then the home page's button clicked:
// Space must not tick the hidden box, nor store a choice.
TEST_F(KeyboardRun, AHiddenOptionBoxKeepsNoFocusForSpaceToTick) {
  const HWND window = OpenWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  const auto child = [&](const std::wstring& text) { return ChildWithText(window, text); };
  ClickAt(child(Translate(L"환경설정")));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = child(L"TcpNoDelay")) && IsWindowVisible(box); }));
  ClickAt(box);
  ASSERT_TRUE(WaitFor([&] { return FocusIn(window) == L"TcpNoDelay"; }))
      << "focus on " << testing::PrintToString(FocusIn(window));
  const std::optional<DWORD> stored = StoredOption(L"tcpnodelay");
  const LRESULT ticked = SendMessageW(box, BM_GETCHECK, 0, 0);

  ClickAt(child(Translate(L"처음화면")));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == Translate(L"처음화면"); }));
  Type("space");
  std::this_thread::sleep_for(2s);  // what a wrongly placed focus would have ticked by now
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), ticked);
  EXPECT_EQ(StoredOption(L"tcpnodelay"), stored);
}

// What a screen reader in another process reads, through the object each
// control hands out, and Run pressed through its default action.
TEST_F(SmokeRun, AScreenReaderReadsTheControlsAndPressesRun) {
  Program program;
  ASSERT_TRUE(program.Shows());
  const HWND window = program.Window();
  ASSERT_TRUE(WaitFor([&] { return StoredStatus() == 0u; }));
  const HWND start = StartButton(window);
  ASSERT_NE(start, nullptr);
  const std::optional<AccessibleFacts> run = ReadAccessible(start);
  ASSERT_TRUE(run.has_value()) << "no object across processes";
  EXPECT_EQ(run->role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(run->name, Translate(L"실행하기"));
  EXPECT_EQ(run->state, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(run->action, OwnTranslate(OwnText::ActionPress));
  const std::optional<AccessibleFacts> home =
      ReadAccessible(ChildWithText(window, Translate(L"처음화면")));
  ASSERT_TRUE(home.has_value());
  EXPECT_EQ(home->role, ROLE_SYSTEM_PAGETAB);
  EXPECT_TRUE(home->state & STATE_SYSTEM_SELECTED);

  ASSERT_EQ(DoDefaultAction(start), S_OK);
  // A reader's apartment serves its messages while it waits.
  ASSERT_TRUE(WaitFor([&] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return TextOf(start) == Translate(L"실행중");
  })) << testing::PrintToString(TextOf(start))
      << " enabled " << IsWindowEnabled(start);
  EXPECT_TRUE(WaitFor([&] { return StoredStatus() == 1u; }));
  EXPECT_EQ(ReadAccessible(start)->state & STATE_SYSTEM_PRESSED, STATE_SYSTEM_PRESSED);
  EXPECT_EQ(ReadAccessible(start)->name, Translate(L"실행중"));
}

// The program's check-in against the stand-in; ctest gives it an English locale.
class CheckInRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin_.Available())
        << "no stand-in service at " << WideToUtf8(standin_.BaseUrl());
    standin_.Reset();
  }

  bool CheckedIn() {
    for (const std::wstring& request : standin_.Requests()) {
      if (request.find(L"\"path\": \"/api.init.php\"") != std::wstring::npos) return true;
    }
    return false;
  }

  // A reply offering `update` with a notice whose link is `link`.
  void Offer(const std::string& update, const std::string& link) {
    standin_.Reset();
    standin_.Reply(L"/api.init.php",
                   {200,
                    {},
                    R"({"update":")" + update +
                        R"(","info":{"style":"note","text":"News","url":")" + link + R"("}})"});
  }

  StandIn standin_;
};

constexpr int kNoticeLinkId = 103;

// A reply from a hostile or broken service: each URL holds a character that
// has no place in a URL, escaped as JSON allows or sent raw as UTF-8.
TEST_F(CheckInRun, AnUpdateUrlWithAnyNonUrlCharacterBringsNoPrompt) {
  const std::string urls[] = {
      R"(https://dl.example.test/\u202Eexe.txt)",  // right-to-left override
      "https://dl.example.test/\u202Eexe.txt",  // the same, as raw UTF-8
      R"(https://dl.example.test/a\u00A0b)",  // no-break space
      "https://dl.example.test/a\u00A0b",
      R"(https://dl.example.test/\" --no-sandbox)",  // a quote ends the browser's argument
      R"(https://dl.example.test/a\tb)",
      "https://dl.example.test/\u3000",  // ideographic space
      "https://dl.example.test/{a|b}^`<>",
      R"(https://dl.example.test\\..\\setup.exe)",
  };
  const RecordingUrlOpener opener;
  for (const std::string& url : urls) {
    SCOPED_TRACE(url);
    Offer(url, "https://n.example.test/");
    Program program;
    ASSERT_TRUE(program.Shows());
    ASSERT_TRUE(WaitFor([&] { return CheckedIn(); }));
    std::this_thread::sleep_for(1s);  // time enough for a prompt to show
    EXPECT_EQ(program.ShownWindow(L"#32770"), nullptr);
  }
  EXPECT_EQ(opener.Opened(1, 0ms), std::vector<std::wstring>{});
}

// The program runs elevated: what it opens goes to the user's opener (under
// Wine through the fall-back), and a notice link that is no web page opens
// nothing, though its text still shows.
TEST_F(CheckInRun, TheNoticeLinkAndYesOpenOnlyWebPages) {
  const struct {
    std::string link;
    std::vector<std::wstring> opened;
  } cases[] = {
      {R"(https:\/\/n.example.test\/news?a=1)", {L"https://n.example.test/news?a=1"}},
      {"https://n.example.test/\u00A0x", {}},
      {R"(https://n.example.test/\" --x)", {}},
      {R"(C:\\Windows\\System32\\calc.exe)", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    Offer("https://dl.example.test/setup.exe", c.link);
    const RecordingUrlOpener opener;
    Program program;
    ASSERT_TRUE(program.Shows(L"#32770"));
    const HWND prompt = program.ShownWindow(L"#32770");
    const HWND link = ChildWithText(prompt, L"News");
    ASSERT_NE(link, nullptr);
    SendMessageW(prompt, WM_COMMAND, MAKEWPARAM(kNoticeLinkId, STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(opener.Opened(1, c.opened.empty() ? 1s : 60s), c.opened);

    SendMessageW(GetDlgItem(prompt, IDYES), BM_CLICK, 0, 0);
    std::vector<std::wstring> opened = c.opened;
    opened.push_back(L"https://dl.example.test/setup.exe");
    EXPECT_EQ(opener.Opened(opened.size()), opened);
  }
}

TEST_F(CheckInRun, NoUpdateOfferedShowsNothing) {
  Program program;
  ASSERT_TRUE(program.Shows());
  ASSERT_TRUE(WaitFor([&] { return CheckedIn(); }));
  std::this_thread::sleep_for(1s);  // time enough for a prompt to show
  EXPECT_EQ(program.ShownWindow(L"#32770"), nullptr);
  EXPECT_FALSE(program.Exited(0ms));
}

TEST_F(CheckInRun, AnOfferedUpdateIsAskedForAndNoKeepsTheProgramRunning) {
  standin_.Reply(
      L"/api.init.php",
      {200,
       {},
       R"({"update":"https://dl.example.test/setup.exe","info":{"style":"note","text":"News","url":"https://n.example.test"}})"});
  Program program;
  ASSERT_TRUE(program.Shows(L"#32770"));
  const HWND prompt = program.ShownWindow(L"#32770");
  EXPECT_EQ(TextOf(prompt), L"Tavrin");
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindows(prompt)) texts.push_back(TextOf(child));
  EXPECT_THAT(texts, testing::IsSupersetOf({L"Yes", L"No", L"News"}));
  EXPECT_THAT(texts, testing::Contains(testing::StartsWith(L"This program has been updated.")));
  EXPECT_FALSE(IsWindowEnabled(program.Window()));  // the prompt is modal

  SendMessageW(GetDlgItem(prompt, IDNO), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return program.ShownWindow(L"#32770") == nullptr; }));
  EXPECT_FALSE(program.Exited(1s));
  EXPECT_TRUE(IsWindowEnabled(program.Window()));
}

TEST_F(CheckInRun, ThePromptBelongsToTheMainWindowWhileAnotherProgramIsActive) {
  ScriptedReply offer{200, {}, R"({"update":"https://dl.example.test/setup.exe"})"};
  offer.delayMs = 1500;
  standin_.Reply(L"/api.init.php", offer);
  Program program;
  ASSERT_TRUE(program.Shows());
  // The user turns to another program while the check-in waits.
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  EXPECT_EQ(GetForegroundWindow(), other);
  ASSERT_TRUE(program.Shows(L"#32770"));
  const HWND prompt = program.ShownWindow(L"#32770");
  EXPECT_EQ(GetWindow(prompt, GW_OWNER), program.Window());
  SendMessageW(GetDlgItem(prompt, IDNO), BM_CLICK, 0, 0);
  DestroyWindow(other);
}

// An empty folder of its own, removed with what is put into it.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tavrin-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::wstring File(const std::string& name) const {
    return path_ + L"\\" + std::wstring(name.begin(), name.end());
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

std::wstring FileText(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
  DWORD read = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
  CloseHandle(file);
  return text;
}

// The program is usually started from a downloads folder, where anybody may
// have left a DLL named like one of the system's.
using PlantedDlls = CheckInRun;

// Every DLL it imports that Windows does not always take from the system
// directory gets a planted copy, and so does the theme engine that Windows
// loads for its windows later.
std::vector<std::string> NamesToPlant() {
  const std::vector<ImportedDll> imports = ExecutableImage(TAVRIN_PROGRAM_FILE).Imports();
  std::vector<std::string> known;
  for (const ImportedDll& dll : imports) {
    if (!dll.delayed && IsKnownDll(dll.name)) known.push_back(dll.name);
  }
  // Wine's own copies of user32 and the like import DLLs such as version.dll
  // and load them through the program's folder before its first instruction;
  // Windows takes the imports of a KnownDLL from the system directory too.
  const std::set<std::string> loadedByTheSystem = ImportedWithin(known);
  std::set<std::string> names = {"uxtheme.dll"};
  for (const ImportedDll& dll : imports) {
    if (!IsKnownDll(dll.name)) names.insert(dll.name);
  }
  std::erase_if(names, [&](const std::string& name) { return loadedByTheSystem.contains(name); });
  return {names.begin(), names.end()};
}

TEST_F(PlantedDlls, NoneIsLoadedInPlaceOfTheSystemsCopy) {
  const std::vector<std::string> names = NamesToPlant();
  ScratchFolder folder;
  ASSERT_TRUE(CopyFileW(TAVRIN_PROGRAM_FILE, folder.File("tavrin.exe").c_str(), FALSE));
  std::wstring preferPlanted;
  for (const std::string& name : names) {
    ASSERT_TRUE(CopyFileW(PLANTED_DLL_FILE, folder.File(name).c_str(), FALSE));
    const std::string module = name.substr(0, name.rfind('.'));
    preferPlanted +=
        (preferPlanted.empty() ? L"" : L",") + std::wstring(module.begin(), module.end());
  }
  // Wine would otherwise prefer its own copies whatever the search order.
  ScopedVariable overrides(L"WINEDLLOVERRIDES", EnvironmentVariable(L"WINEDLLOVERRIDES") + L";" +
                                                    preferPlanted + L"=n,b");
  const auto loaded = [&] { return FileText(folder.File("loaded.txt")); };
  {
    Program program(folder.File("tavrin.exe"), folder.Path().c_str());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.Shows()) << "planted: " << testing::PrintToString(names)
                                 << "\nloaded: " << loaded();
    EXPECT_TRUE(WaitFor([&] { return CheckedIn(); }));  // the last of them to load
  }
  EXPECT_EQ(loaded(), L"") << "planted: " << testing::PrintToString(names);
}

}  // namespace
}  // namespace tavrin::test

#include "app/tuning_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <iterator>
#include <optional>
#include <thread>

#include "app/tuning_fakes.h"
#include "base/text_encoding.h"
#include "i18n/translation.h"
#include "settings/config.h"
#include "support/error_recorder.h"
#include "support/memory_registry.h"
#include "support/registry_backends.h"
#include "sys/registry.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

const std::wstring kSettingsKey = L"HKEY_CURRENT_USER\\Software\\Tavrin";
const OptionStates kAll = {true, true, true, true, true};

// Every installation keeps the user's choices under these names, typos and all.
const struct {
  OptionBox box;
  const wchar_t* name;
} kOptionSettings[] = {
    {OptionBox::ChkTCPAckFrequency, L"tcpackfrequency"},
    {OptionBox::ChkTcpDelAckTick, L"tcpdelacktick"},
    {OptionBox::ChkTcpNoDelay, L"tcpnodelay"},
    {OptionBox::ChkNetworkThrottlingIndex, L"networkthrottleindex"},
    {OptionBox::ChkSystemResponsiveness, L"systemresponsivess"},
};

class TuningControllerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream file(TAVRIN_TRANSLATE_FILE, std::ios::binary);
    LoadTranslationTable(std::string(std::istreambuf_iterator<char>(file), {}));
    CurrentLanguage = L"en";
  }

  void Create() {
    controller = std::make_unique<TTuningController>(
        view, TuningServices{registry, connections, adapters, probe, clock, ui});
    view.controller = controller.get();
  }
  // Creates the controller and runs its start-up pass, as window creation
  // does; what that pass showed moves to loadLog.
  void Load() {
    Create();
    controller->LoadState();
    registry.ClearJournal();
    loadLog = std::exchange(view.log, {});
  }

  void Store(const std::wstring& name, std::int32_t value) {
    TConfig(registry, L"Tavrin").WriteInteger(name, value);
  }
  // The stored state, with the machine's tweaks as that state left them.
  void StoreStatus(std::int32_t value) {
    Store(L"status", value);
    if (value == 1) {
      ApplyTweaks(registry, adapters->guid, kAll);
    } else {
      RevertTweaks(registry, adapters->guid);
    }
  }
  std::optional<StoredValue> Stored(const std::wstring& name) {
    return ReadBack(registry, kSettingsKey, name);
  }

  // Value names written or deleted under HKEY_LOCAL_MACHINE, in order.
  std::vector<std::wstring> MachineChanges() const {
    std::vector<std::wstring> names;
    for (const auto& change : registry.Journal()) {
      if (change.keyPath.rfind(L"HKEY_LOCAL_MACHINE", 0) == 0) names.push_back(change.name);
    }
    return names;
  }
  bool StatusWritten() const {
    for (const auto& change : registry.Journal()) {
      if (change.name == L"status") return true;
    }
    return false;
  }

  void Press() { controller->BtnStartClick(); }
  void Settle() { ASSERT_TRUE(ui->RunNext()) << "the worker handed nothing over"; }
  void ExpectNoHandOver() { EXPECT_FALSE(ui->RunNext(50ms)); }

  MemoryRegistry registry;
  FakeView view;
  std::shared_ptr<FakeAdapters> adapters = std::make_shared<FakeAdapters>();
  FakeConnections connections;
  std::shared_ptr<FakeProbe> probe = std::make_shared<FakeProbe>(0);
  std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
  std::shared_ptr<ManualInterfaceThread> ui = std::make_shared<ManualInterfaceThread>();
  std::unique_ptr<TTuningController> controller;
  std::vector<std::wstring> loadLog;
};

TEST_F(TuningControllerTest, FreshProfileChecksAllBoxesStoresThemAndIsIdle) {
  Load();
  EXPECT_EQ(view.options, kAll);
  for (const auto& setting : kOptionSettings) EXPECT_EQ(Stored(setting.name), Dword(1));
  EXPECT_EQ(Stored(L"status"), Dword(0));
  EXPECT_EQ(controller->FStatus, stIdle);
  EXPECT_EQ(view.caption, L"Run");
  EXPECT_TRUE(view.startEnabled);
  EXPECT_FALSE(view.pressed);
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.optionsEnabled);
}

TEST_F(TuningControllerTest, StoredFalseOptionStaysClearAndIsNotWrittenAgain) {
  Store(L"tcpnodelay", 0);
  Create();
  registry.ClearJournal();
  controller->LoadState();
  EXPECT_FALSE(view.GetOption(OptionBox::ChkTcpNoDelay));
  EXPECT_TRUE(view.GetOption(OptionBox::ChkTCPAckFrequency));
  for (const auto& change : registry.Journal()) EXPECT_NE(change.name, L"tcpnodelay");
}

TEST_F(TuningControllerTest, EachBoxKeepsItsChoiceUnderItsOwnNameAcrossARestart) {
  for (const auto& setting : kOptionSettings) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(setting.name)));
    Load();
    for (const bool checked : {false, true}) {
      view.SetOption(setting.box, checked);
      for (const auto& other : kOptionSettings) {
        const bool expected = other.box == setting.box ? checked : true;
        EXPECT_EQ(Stored(other.name), Dword(expected ? 1 : 0)) << "box set to " << checked;
      }
      // The next start shows what was stored, not what the box last showed.
      view.options = {};
      view.options[static_cast<std::size_t>(setting.box)] = !checked;
      Load();
      EXPECT_EQ(view.GetOption(setting.box), checked);
    }
  }
}

TEST_F(TuningControllerTest, StoredStatusIsShownNotActedOn) {
  struct Case {
    std::int32_t stored;
    TStatus shown;
    const wchar_t* caption;  // nullptr: the button is never touched
    bool busy, pressed, optionsEnabled;
    std::optional<std::int32_t> storedAgain;
  };
  const Case cases[] = {
      {0, stIdle, L"Run", false, false, true, 0},
      {1, stRunning, L"Running", false, true, false, 1},
      // Busy is never stored by the program; shown, it would lock the window.
      {2, stIdle, L"Run", false, false, true, 0},
      {3, stIdle, nullptr, false, false, true, std::nullopt},
      {256, stIdle, L"Run", false, false, true, 0},
      {257, stRunning, L"Running", false, true, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    MemoryRegistry fresh;
    FakeView shownView;
    TTuningController shown(shownView, {fresh, connections, adapters, probe, clock, ui});
    shownView.controller = &shown;
    TConfig(fresh, L"Tavrin").WriteInteger(L"status", c.stored);
    // One tweak of five in: the registry has no say.
    ApplyTweaks(fresh, adapters->guid, {false, false, false, false, true});
    fresh.ClearJournal();
    shown.LoadState();

    EXPECT_EQ(shown.FStatus, c.shown);
    EXPECT_EQ(shownView.busy, c.busy);
    EXPECT_EQ(shownView.pressed, c.pressed);
    EXPECT_EQ(shownView.optionsEnabled, c.optionsEnabled);
    if (c.caption) {
      EXPECT_EQ(shownView.caption, c.caption);
    } else {
      EXPECT_TRUE(std::none_of(shownView.log.begin(), shownView.log.end(), [](const auto& line) {
        return line.rfind(L"ShowStartButton", 0) == 0 || line.rfind(L"ShowBusy", 0) == 0;
      }));
    }
    bool statusWritten = false;
    for (const auto& change : fresh.Journal()) {
      EXPECT_EQ(change.keyPath.rfind(L"HKEY_LOCAL_MACHINE", 0), std::wstring::npos);
      statusWritten |= change.name == L"status";
    }
    EXPECT_EQ(statusWritten, c.storedAgain.has_value());
    if (c.storedAgain) {
      EXPECT_EQ(ReadBack(fresh, kSettingsKey, L"status"), Dword(*c.storedAgain));
    }
  }
  EXPECT_TRUE(connections.calls.empty());
  EXPECT_EQ(probe->calls, 0);
  ExpectNoHandOver();
}

TEST_F(TuningControllerTest, TheShownStateAgreesWithTheTweaksTheRegistryHolds) {
  const OptionStates none{};
  const OptionStates two = {true, false, false, false, true};
  struct Case {
    const char* title;
    OptionStates checked;
    OptionStates held;  // applied on the active adapter
    std::int32_t stored;
    TStatus shown;
  };
  const Case cases[] = {
      {"every checked tweak in", kAll, kAll, 0, stRunning},
      {"only the checked ones count", two, two, 0, stRunning},
      {"none of them in", kAll, none, 1, stIdle},
      {"none of the checked ones in", two, {false, true, true, true, false}, 1, stIdle},
      {"a mixture keeps running", kAll, two, 1, stRunning},
      {"a mixture keeps idle", kAll, two, 0, stIdle},
      {"no box checked keeps running", none, none, 1, stRunning},
      {"no box checked keeps idle", none, kAll, 0, stIdle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    MemoryRegistry fresh;
    FakeView shownView;
    TTuningController shown(shownView, {fresh, connections, adapters, probe, clock, ui});
    shownView.controller = &shown;
    TConfig config(fresh, L"Tavrin");
    config.WriteInteger(L"status", c.stored);
    for (const auto& setting : kOptionSettings) {
      config.WriteBoolean(setting.name, c.checked[static_cast<std::size_t>(setting.box)]);
    }
    ApplyTweaks(fresh, adapters->guid, c.held);
    // A TCPNoDelay held on another interface alone is not held here.
    if (!c.held[2]) WriteRegistryInteger(fresh, TweakKeyPath(TweakKey::kMessageQueuing, L""), L"TCPNoDelay", 1);
    shown.LoadState();
    EXPECT_EQ(shown.FStatus, c.shown);
    EXPECT_EQ(ReadBack(fresh, kSettingsKey, L"status"), Dword(c.shown == stRunning ? 1 : 0));
  }
  EXPECT_TRUE(connections.calls.empty());
}

TEST_F(TuningControllerTest, StoredBusyOrUnknownStatusStillAppliesOnPress) {
  for (const std::int32_t stored : {2, 3, 0x102}) {
    SCOPED_TRACE(stored);
    StoreStatus(stored);
    Load();
    registry.ClearJournal();
    Press();
    EXPECT_EQ(controller->FStatus, stBusy);
    EXPECT_FALSE(MachineChanges().empty());
    Settle();
    EXPECT_EQ(controller->FStatus, stRunning);
  }
}

TEST_F(TuningControllerTest, StartAppliesTheCheckedBoxesRestartsAndSettlesRunning) {
  struct Case {
    OptionStates boxes;
    std::vector<std::wstring> written;
  };
  const Case cases[] = {
      {kAll,
       {L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay", L"TCPNoDelay",
        L"NetworkThrottlingIndex", L"SystemResponsiveness"}},
      {{true, false, false, false, true}, {L"TcpAckFrequency", L"SystemResponsiveness"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written.size());
    connections.calls.clear();
    StoreStatus(0);
    Load();
    for (const Tweak& tweak : kTweaks) {
      view.SetOption(tweak.box, c.boxes[static_cast<std::size_t>(tweak.box)]);
    }
    registry.ClearJournal();

    Press();
    EXPECT_EQ(MachineChanges(), c.written);
    EXPECT_EQ(connections.calls, (std::vector<std::pair<std::wstring, bool>>{
                                     {adapters->guid, false}, {adapters->guid, true}}));
    EXPECT_EQ(controller->FStatus, stBusy);
    EXPECT_TRUE(view.busy);
    EXPECT_FALSE(view.startEnabled);
    EXPECT_FALSE(view.optionsEnabled);
    EXPECT_FALSE(StatusWritten());

    Settle();
    EXPECT_EQ(controller->FStatus, stRunning);
    EXPECT_EQ(view.caption, L"Running");
    EXPECT_TRUE(view.pressed);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(Stored(L"status"), Dword(1));
  }
}

TEST_F(TuningControllerTest, StopRevertsAllSixWhateverTheBoxesShow) {
  StoreStatus(1);
  for (const auto& setting : kOptionSettings) Store(setting.name, 0);
  Load();
  Press();
  EXPECT_EQ(MachineChanges(),
            (std::vector<std::wstring>{L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay",
                                       L"TCPNoDelay", L"NetworkThrottlingIndex",
                                       L"SystemResponsiveness"}));
  EXPECT_FALSE(StatusWritten());
  Settle();
  EXPECT_EQ(controller->FStatus, stIdle);
  EXPECT_EQ(view.caption, L"Run");
  EXPECT_EQ(Stored(L"status"), Dword(0));
}

TEST_F(TuningControllerTest, NoAdapterAtThePressSearchesAgainThenSaysThereIsNone) {
  adapters->found = false;
  Load();
  EXPECT_EQ(controller->NetworkName, L"Unknown");
  EXPECT_TRUE(controller->NetworkGUID.empty());
  EXPECT_TRUE(controller->NetworkIP.empty());
  EXPECT_EQ(loadLog.front(), L"ShowAdapter Unknown | IP: ");

  registry.ClearJournal();
  Press();
  EXPECT_EQ(controller->FStatus, stBusy);  // searching
  EXPECT_TRUE(view.busy);
  EXPECT_FALSE(view.optionsEnabled);
  Settle();
  EXPECT_EQ(adapters->searches, 2);
  EXPECT_EQ(view.errors, std::vector<std::wstring>{L"There are no active networks."});
  EXPECT_EQ(controller->FStatus, stIdle);
  EXPECT_EQ(view.caption, L"Run");
  EXPECT_TRUE(view.optionsEnabled);
  EXPECT_TRUE(MachineChanges().empty());
  EXPECT_EQ(Stored(L"status"), Dword(0));
  EXPECT_TRUE(connections.calls.empty());
  ExpectNoHandOver();
}

TEST_F(TuningControllerTest, ANetworkThatCameAfterTheStartIsFoundAtThePressAndTuned) {
  adapters->found = false;
  Load();
  adapters->found = true;  // the cable is in
  registry.ClearJournal();
  Press();
  EXPECT_TRUE(MachineChanges().empty()) << "applied before the adapter was known";
  Settle();  // the search
  EXPECT_EQ(controller->NetworkName, adapters->name);
  EXPECT_EQ(controller->NetworkGUID, adapters->guid);
  EXPECT_EQ(controller->NetworkIP, adapters->ip);
  EXPECT_THAT(view.log, testing::Contains(L"ShowAdapter Test Ethernet | IP: 10.0.2.15"));
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(MachineChanges().size(), 6u);
  EXPECT_TRUE(std::any_of(registry.Journal().begin(), registry.Journal().end(), [&](auto& c) {
    return c.keyPath == TweakKeyPath(TweakKey::kInterface, adapters->guid);
  }));
  EXPECT_EQ(connections.calls, (std::vector<std::pair<std::wstring, bool>>{
                                   {adapters->guid, false}, {adapters->guid, true}}));
  Settle();  // the wait
  EXPECT_EQ(controller->FStatus, stRunning);
  // Found once, kept: the next press needs no search.
  Press();
  Settle();
  EXPECT_EQ(adapters->searches, 2);
  EXPECT_EQ(controller->FStatus, stIdle);
}

TEST_F(TuningControllerTest, AdaptersThatCannotBeReadSaySoWithTheSystemsReason) {
  adapters->failsWith = static_cast<int>(0x80041003);
  Load();  // at the start only "Unknown" shows
  EXPECT_EQ(controller->NetworkName, L"Unknown");
  EXPECT_TRUE(view.errors.empty());
  Press();
  Settle();
  ASSERT_EQ(view.errors.size(), 1u);
  const std::wstring& error = view.errors[0];
  EXPECT_EQ(error.rfind(L"The network adapters could not be read.", 0), 0u) << WideToUtf8(error);
  EXPECT_NE(error.find(L"0x80041003"), std::wstring::npos) << WideToUtf8(error);
  EXPECT_EQ(error.find(L"no active networks"), std::wstring::npos) << WideToUtf8(error);
  EXPECT_EQ(controller->FStatus, stIdle);
  EXPECT_TRUE(MachineChanges().empty());
  EXPECT_TRUE(connections.calls.empty());
}

TEST_F(TuningControllerTest, ClosingDuringTheSearchDropsItsFinalStep) {
  adapters->found = false;
  Load();
  Press();
  ASSERT_TRUE(ui->AwaitQueued());
  view.log.clear();
  controller.reset();
  ASSERT_TRUE(ui->RunNext());
  EXPECT_TRUE(view.log.empty());
}

TEST_F(TuningControllerTest, StoredRunningWithoutAdapterStopsWithTheEmptyIdentifier) {
  adapters->found = false;
  StoreStatus(1);
  Load();
  Press();
  Settle();  // the search found nothing
  const std::wstring interfaces =
      L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
  ASSERT_EQ(registry.Journal().size(), 6u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(registry.Journal()[i].keyPath, interfaces);
  EXPECT_EQ(connections.calls,
            (std::vector<std::pair<std::wstring, bool>>{{L"", false}, {L"", true}}));
  Settle();
  EXPECT_EQ(controller->FStatus, stIdle);
}

TEST_F(TuningControllerTest, TheRevertFollowsTheAdapterTheApplyWroteTo) {
  const std::wstring a = L"{AAAAAAAA-0000-4000-8000-00000000000A}";
  const std::wstring b = L"{BBBBBBBB-0000-4000-8000-00000000000B}";
  const auto interfaceValues = [&](const std::wstring& id) {
    int held = 0;
    for (const wchar_t* name : {L"TcpAckFrequency", L"TcpDelAckTicks", L"TCPNoDelay"}) {
      held += ReadBack(registry, TweakKeyPath(TweakKey::kInterface, id), name).has_value();
    }
    return held;
  };
  struct Case {
    const char* title;
    std::optional<std::wstring> activeAtRevert;  // nothing: no adapter found
    bool restarted;
  };
  const Case cases[] = {
      {"the same adapter", a, true},
      {"another adapter", b, true},
      {"the same adapter, other letter case", L"{aaaaaaaa-0000-4000-8000-00000000000a}", true},
      {"no adapter", std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    adapters->found = true;
    adapters->guid = a;
    StoreStatus(0);
    Load();
    Press();
    Settle();
    EXPECT_EQ(TConfig(registry, L"Tavrin").ReadString(L"interface", L"(none)"), a);
    ASSERT_EQ(interfaceValues(a), 3);
    // The user moves to another network, and the program is started again.
    adapters->found = c.activeAtRevert.has_value();
    adapters->guid = c.activeAtRevert.value_or(L"");
    if (c.activeAtRevert) ApplyTweaks(registry, *c.activeAtRevert, kAll);
    connections.calls.clear();
    Load();
    Press();
    if (!c.activeAtRevert) Settle();  // the search found none
    if (c.restarted) Settle();        // the wait
    EXPECT_EQ(interfaceValues(a), 0);
    if (c.activeAtRevert) EXPECT_EQ(interfaceValues(*c.activeAtRevert), 0);
    EXPECT_EQ(ReadBack(registry, TweakKeyPath(TweakKey::kMultimedia, L""), L"SystemResponsiveness"),
              Dword(20));
    EXPECT_EQ(connections.calls.size(), c.restarted ? 2u : 0u);
    EXPECT_EQ(controller->FStatus, stIdle);
    EXPECT_EQ(Stored(L"status"), Dword(0));
    ExpectNoHandOver();
  }
}

// A stored running state from a version that kept no interface: the revert
// goes where it always went.
TEST_F(TuningControllerTest, WithNoInterfaceStoredTheRevertGoesToTheCurrentAdapter) {
  StoreStatus(1);
  Load();
  Press();
  const std::wstring interfaceKey = TweakKeyPath(TweakKey::kInterface, adapters->guid);
  ASSERT_EQ(registry.Journal().size(), 6u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(registry.Journal()[i].keyPath, interfaceKey);
  EXPECT_EQ(connections.calls.size(), 2u);
  Settle();
  EXPECT_EQ(controller->FStatus, stIdle);
}

TEST_F(TuningControllerTest, WorkerProbesUntilOnlineOrThreeHundredTimes) {
  struct Case {
    int failures;  // negative: never online
    int probes, sleeps;
  };
  for (const Case& c : {Case{0, 1, 0}, Case{4, 5, 4}, Case{-1, 300, 300}}) {
    SCOPED_TRACE(c.failures);
    probe = std::make_shared<FakeProbe>(c.failures);
    clock = std::make_shared<FakeClock>();
    StoreStatus(0);
    Load();
    Press();
    Settle();
    EXPECT_EQ(probe->calls, c.probes);
    EXPECT_EQ(clock->sleeps, c.sleeps);
    EXPECT_EQ(clock->sleptMs, c.sleeps * 1000LL);
    EXPECT_EQ(controller->FStatus, stRunning);
  }
}

TEST_F(TuningControllerTest, TheWaitEndsOnceFiveMinutesHavePassedWhateverTheProbesTake) {
  struct Case {
    std::chrono::milliseconds probeTakes;
    int hangsOnCall;  // 0: every probe ends by itself
    int probes;
    int stopped;  // probes ended at the limit
  };
  const Case cases[] = {
      {0ms, 0, 300, 0},
      {500ms, 0, 200, 0},
      // The last sleep is cut short to end the wait on time: 100 ms, not a second.
      {700ms, 0, 177, 0},
      // The probe in flight at the limit is ended there.
      {1200ms, 0, 137, 1},
      // Every probe held two minutes by a server that accepts and never answers.
      {121s, 0, 3, 1},
      // A probe that never ends, first or later.
      {0ms, 1, 1, 1},
      {0ms, 5, 5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.probeTakes.count() << " ms, hangs on " << c.hangsOnCall);
    clock = std::make_shared<FakeClock>();
    probe = std::make_shared<FakeProbe>(-1, clock, c.probeTakes);
    probe->hangsOnCall = c.hangsOnCall;
    StoreStatus(0);
    Load();
    Press();
    Settle();
    EXPECT_EQ(probe->calls, c.probes);
    EXPECT_EQ(probe->stopped, c.stopped);
    EXPECT_EQ(clock->nowMs, 300'000);
    EXPECT_EQ(controller->FStatus, stRunning);
    EXPECT_EQ(Stored(L"status"), Dword(1));
  }
}

TEST_F(TuningControllerTest, AWaitThatRunsOutSettlesAndThenSaysTheNetworkDidNotAnswer) {
  struct Case {
    std::int32_t before;
    int failures;  // negative: never online
    const wchar_t* settledCaption;
    std::vector<std::wstring> errors;
  };
  const std::wstring silent =
      L"The network did not answer after the adapter restarted. Please check your connection.";
  const Case cases[] = {
      {0, -1, L"Running", {silent}},
      {1, -1, L"Run", {silent}},
      {0, 299, L"Running", {}},  // the last probe answered
      {1, 0, L"Run", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << ", failures " << c.failures);
    clock = std::make_shared<FakeClock>();
    probe = std::make_shared<FakeProbe>(c.failures, clock);
    view.errors.clear();
    StoreStatus(c.before);
    Load();
    Press();
    Settle();
    EXPECT_EQ(view.errors, c.errors);
    EXPECT_EQ(view.caption, c.settledCaption);
    EXPECT_EQ(Stored(L"status"), Dword(1 - c.before));
    if (!c.errors.empty()) {
      // Told only once the state is settled.
      const auto told = std::find(view.log.begin(), view.log.end(), L"ShowError " + silent);
      const auto settled =
          std::find(view.log.begin(), view.log.end(), L"ShowStartButton " + view.caption);
      EXPECT_LT(settled, told);
    }
  }
}

TEST_F(TuningControllerTest, AProbeThatThrowsIsReportedOnTheInterfaceThreadAndTheStateSettles) {
  struct Case {
    std::int32_t before, after;  // stored status
    TStatus settled;
  };
  for (const Case c : {Case{0, 1, stRunning}, Case{1, 0, stIdle}}) {
    for (const int breaksOnCall : {1, 3}) {
      SCOPED_TRACE(testing::Message() << c.before << ", probe " << breaksOnCall << " throws");
      ErrorRecorder errors;
      probe = std::make_shared<FakeProbe>(-1);
      probe->breaksOnCall = breaksOnCall;
      StoreStatus(c.before);
      Load();
      Press();
      Settle();  // the state the tweaks were written for
      EXPECT_EQ(controller->FStatus, c.settled);
      EXPECT_EQ(Stored(L"status"), Dword(c.after));
      EXPECT_TRUE(errors.Reports().empty()) << "reported before the state settled";
      ASSERT_TRUE(ui->RunNext()) << "the failure was not handed over";
      const auto reports = errors.Reports();
      ASSERT_EQ(reports.size(), 1u);
      EXPECT_EQ(reports[0].report.message, L"the probe broke");
      EXPECT_NE(reports[0].report.details.find(L"the wait for the network"), std::wstring::npos);
      EXPECT_EQ(reports[0].thread, std::this_thread::get_id());
      EXPECT_EQ(probe->calls, breaksOnCall);
      ExpectNoHandOver();
      // The window works on: the next press starts a new round.
      probe->breaksOnCall = 0;
      Press();
      Settle();
      EXPECT_EQ(Stored(L"status"), Dword(c.before));
    }
  }
}

TEST_F(TuningControllerTest, PressWhileBusyIsIgnoredAndOneWorkerRuns) {
  probe = std::make_shared<FakeProbe>(1);
  clock->HoldFirstSleep();
  Load();
  Press();
  clock->WaitUntilHeld();
  registry.ClearJournal();
  Press();
  controller->BtnStartClick();
  EXPECT_TRUE(registry.Journal().empty());
  EXPECT_EQ(connections.calls.size(), 2u);
  clock->Release();
  Settle();
  ExpectNoHandOver();
  EXPECT_EQ(probe->calls, 2);
  EXPECT_EQ(controller->FStatus, stRunning);
}

TEST_F(TuningControllerTest, ClosingWhileTheWorkerWaitsStoresWhatWasWrittenAndDropsTheFinalStep) {
  // The window goes first and takes its controller along; the program's
  // interface thread may close its dispatcher too.
  struct Case {
    std::int32_t before, after;  // stored status: at start, once closed
  };
  for (const Case c : {Case{0, 1}, Case{1, 0}}) {
    for (const bool dispatcherClosed : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.before << (dispatcherClosed ? " closed" : ""));
      probe = std::make_shared<FakeProbe>(-1);
      clock = std::make_shared<FakeClock>();
      ui = std::make_shared<ManualInterfaceThread>();
      clock->HoldFirstSleep();
      StoreStatus(c.before);
      Load();
      Press();
      clock->WaitUntilHeld();
      EXPECT_EQ(Stored(L"status"), Dword(c.before));
      view.log.clear();

      if (dispatcherClosed) ui->Close();
      controller.reset();
      EXPECT_EQ(Stored(L"status"), Dword(c.after));
      clock->Release();
      // The worker stops probing; its hand-over does nothing or is dropped.
      EXPECT_EQ(ui->RunNext(dispatcherClosed ? 50ms : 10s), !dispatcherClosed);
      // The worker ends: only the test still holds the clock.
      for (int i = 0; i < 200 && clock.use_count() > 1; ++i) std::this_thread::sleep_for(10ms);
      EXPECT_EQ(clock.use_count(), 1);
      EXPECT_EQ(probe->calls, 1);
      EXPECT_TRUE(view.log.empty());
      EXPECT_EQ(Stored(L"status"), Dword(c.after));
    }
  }
}

TEST_F(TuningControllerTest, ClosingWhileAProbeHangsEndsIt) {
  probe = std::make_shared<FakeProbe>(-1);
  probe->hangsOnCall = 1;
  Load();
  Press();
  for (int i = 0; i < 500 && probe->calls == 0; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(probe->calls, 1);
  view.log.clear();
  controller.reset();
  ASSERT_TRUE(ui->RunNext()) << "the probe still hangs";
  EXPECT_EQ(probe->stopped, 1);
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(Stored(L"status"), Dword(1));
}

TEST_F(TuningControllerTest, ClosingWhenSettledStoresNothingMore) {
  Load();
  Press();
  Settle();
  registry.ClearJournal();
  controller.reset();
  EXPECT_FALSE(StatusWritten());
}

TEST_F(TuningControllerTest, AWronglyTypedSettingSpoilsOnlyItselfAndAllAreReported) {
  const std::vector<std::uint8_t> bad = {0x01, 0x00, 0x00, 0x00, 0x00};  // binary, five bytes
  std::vector<std::vector<std::wstring>> cases;
  cases.push_back({L"status"});
  for (const auto& setting : kOptionSettings) cases.push_back({setting.name});
  cases.push_back({L"status"});
  for (const auto& setting : kOptionSettings) cases.back().push_back(setting.name);
  for (const std::vector<std::wstring>& badNames : cases) {
    SCOPED_TRACE(testing::PrintToString(badNames));
    const auto isBad = [&](const std::wstring& name) {
      return std::find(badNames.begin(), badNames.end(), name) != badNames.end();
    };
    // Every tweak is in; the well-stored choices alternate.
    StoreStatus(1);
    std::map<std::wstring, bool> choices;
    bool checked = true;
    for (const auto& setting : kOptionSettings) {
      choices[setting.name] = std::exchange(checked, !checked);
      Store(setting.name, choices[setting.name] ? 1 : 0);
    }
    ScopedKey key(registry);
    key.Create(reg::kCurrentUser, L"Software\\Tavrin", reg::kKeyAllAccess);
    for (const std::wstring& name : badNames) {
      registry.SetValue(key.Get(), name, reg::kBinary, bad.data(), bad.size());
    }
    Create();
    try {
      controller->LoadState();
      FAIL() << "nothing was reported";
    } catch (const ConfigError& error) {
      std::wstring expected;
      for (const wchar_t* name : {L"status", L"tcpnodelay", L"tcpackfrequency", L"tcpdelacktick",
                                  L"networkthrottleindex", L"systemresponsivess"}) {
        if (!isBad(name)) continue;
        expected += (expected.empty() ? L"" : L"\n") + (L"Failed to get data for '" + std::wstring(name) + L"'");
      }
      EXPECT_EQ(error.Message(), expected);
    }
    // Each unreadable choice is checked, the readable ones as stored.
    for (const auto& setting : kOptionSettings) {
      EXPECT_EQ(view.GetOption(setting.box), isBad(setting.name) || choices[setting.name])
          << WideToUtf8(setting.name);
    }
    // An unreadable state comes from the registry, which holds the tweaks.
    EXPECT_EQ(controller->FStatus, stRunning);
    EXPECT_EQ(view.caption, L"Running");
    // The bad values stay as they were.
    for (const std::wstring& name : badNames) {
      EXPECT_EQ(Stored(name), (StoredValue{reg::kBinary, bad})) << WideToUtf8(name);
    }
    // Until the user changes that choice.
    if (!isBad(L"tcpnodelay")) continue;
    controller->SetStatus(stIdle);
    view.SetOption(OptionBox::ChkTcpNoDelay, false);
    EXPECT_EQ(Stored(L"tcpnodelay"), Dword(0));
  }
}

}  // namespace
}  // namespace tavrin::test

#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "app/tuning_controller.h"
#include "support/manual_interface_thread.h"
#include "sys/adapter_discovery.h"

namespace tavrin::test {

// Records what the controller shows; SetOption runs the handler like a click.
class FakeView final : public TuningView {
 public:
  TTuningController* controller = nullptr;
  OptionStates options{};
  std::vector<std::wstring> log;
  std::vector<std::wstring> errors;
  std::wstring caption;
  bool startEnabled = false;
  bool pressed = false;
  bool busy = false;
  bool optionsEnabled = false;

  void ShowAdapter(const std::wstring& name, const std::wstring& address) override {
    log.push_back(L"ShowAdapter " + name + L" | IP: " + address);
  }
  bool GetOption(OptionBox box) override { return options[Index(box)]; }
  void SetOption(OptionBox box, bool checked) override {
    if (options[Index(box)] == checked) return;
    options[Index(box)] = checked;
    controller->OptionClick(box);
  }
  void EnableOptions(bool enabled) override {
    optionsEnabled = enabled;
    log.push_back(enabled ? L"EnableOptions on" : L"EnableOptions off");
  }
  void ShowStartButton(const std::wstring& text, bool enabled, bool down) override {
    caption = text, startEnabled = enabled, pressed = down;
    log.push_back(L"ShowStartButton " + text);
  }
  void ShowBusy(bool on) override {
    busy = on;
    log.push_back(on ? L"ShowBusy on" : L"ShowBusy off");
  }
  void ShowError(const std::wstring& text) override {
    errors.push_back(text);
    log.push_back(L"ShowError " + text);
  }

 private:
  static std::size_t Index(OptionBox box) { return static_cast<std::size_t>(box); }
};

// Set before the search that is to see it: a press searches on a worker.
class FakeAdapters final : public AdapterDiscovery {
 public:
  bool found = true;
  int failsWith = 0;  // an HRESULT: the adapters cannot be read
  std::wstring name = L"Test Ethernet", guid = L"{7A1E5C00-0000-4000-8000-00000000BEEF}",
               ip = L"10.0.2.15";
  std::atomic<int> searches{0};
  bool GetActiveAdapter(std::wstring& n, std::wstring& g, std::wstring& i) override {
    ++searches;
    if (failsWith != 0) throw AdapterReadError(failsWith, "WMI adapter query");
    // A failed lookup may leave partial results behind; the controller drops them.
    n = name, g = guid, i = ip;
    return found;
  }
};

class FakeConnections final : public ConnectionRestart {
 public:
  std::vector<std::pair<std::wstring, bool>> calls;
  bool SetAdapterConnected(const std::wstring& id, bool connected) override {
    calls.emplace_back(id, connected);
    return true;
  }
};

// Simulated time: sleeping only moves it on, and an alarm goes off when it
// passes the alarm's time. Can hold the worker inside its first sleep.
class FakeClock final : public Clock {
 public:
  std::atomic<int> sleeps{0};
  std::atomic<long long> sleptMs{0};
  std::atomic<long long> nowMs{0};

  void HoldFirstSleep() { hold_ = true; }
  void WaitUntilHeld() { held_.get_future().wait(); }
  void Release() { release_.set_value(); }

  std::chrono::steady_clock::time_point Now() override {
    return std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(nowMs);
  }
  void Sleep(std::chrono::milliseconds duration) override {
    sleptMs += duration.count();
    Advance(duration);
    if (++sleeps == 1 && hold_) {
      held_.set_value();
      release_.get_future().wait();
    }
  }
  std::unique_ptr<Alarm> SetAlarm(std::chrono::steady_clock::time_point deadline,
                                  std::stop_source stop) override {
    auto alarm = std::make_unique<SetOff>(*this, deadline, stop);
    std::lock_guard lock(mutex_);
    alarms_.push_back(alarm.get());
    return alarm;
  }

  // Moves time on by `duration`, or only up to the moment `stop` is
  // requested by an alarm on the way.
  void Advance(std::chrono::milliseconds duration, const std::stop_token& stop = {}) {
    const long long end = nowMs + duration.count();
    while (nowMs < end && !stop.stop_requested()) {
      nowMs = std::min(end, NextAlarmMs().value_or(end));
      FireDue();
    }
  }

 private:
  struct SetOff final : Alarm {
    SetOff(FakeClock& clock, std::chrono::steady_clock::time_point at, std::stop_source stop)
        : clock(clock), at(at), stop(std::move(stop)) {}
    ~SetOff() override {
      std::lock_guard lock(clock.mutex_);
      std::erase(clock.alarms_, this);
    }
    FakeClock& clock;
    std::chrono::steady_clock::time_point at;
    std::stop_source stop;
  };

  std::optional<long long> NextAlarmMs() {
    std::lock_guard lock(mutex_);
    std::optional<long long> next;
    for (const SetOff* alarm : alarms_) {
      const long long at = std::chrono::duration_cast<std::chrono::milliseconds>(
                               alarm->at.time_since_epoch())
                               .count();
      if (at > nowMs && (!next || at < *next)) next = at;
    }
    return next;
  }
  void FireDue() {
    std::lock_guard lock(mutex_);
    for (SetOff* alarm : alarms_) {
      if (alarm->at <= Now()) alarm->stop.request_stop();
    }
  }

  bool hold_ = false;
  std::promise<void> held_, release_;
  std::mutex mutex_;
  std::vector<SetOff*> alarms_;
};

// Fails the first `failures` probes (forever when negative), then succeeds;
// each probe takes `takes` on the clock, when it has one, and ends early when
// stopped. Call number `breaksOnCall` throws instead, as a broken HTTP stack
// would; from call number `hangsOnCall` on a probe never ends unless stopped,
// as against a server that accepts and never answers.
class FakeProbe final : public ReachabilityProbe {
 public:
  explicit FakeProbe(int failures, std::shared_ptr<FakeClock> clock = nullptr,
                     std::chrono::milliseconds takes = {})
      : failures_(failures), clock_(std::move(clock)), takes_(takes) {}
  std::atomic<int> calls{0};
  int breaksOnCall = 0;
  int hangsOnCall = 0;
  std::atomic<int> stopped{0};  // probes that ended by a stop

  bool IsOnline(std::stop_token stop) override {
    const int call = ++calls;
    if (hangsOnCall > 0 && call >= hangsOnCall) return Hang(stop);
    if (clock_) clock_->Advance(takes_, stop);
    if (stop.stop_requested()) {
      ++stopped;
      return false;
    }
    if (call == breaksOnCall) throw std::runtime_error("the probe broke");
    return failures_ >= 0 && call > failures_;
  }

 private:
  // Time runs on until the stop comes; without a clock, only the stop ends it.
  bool Hang(const std::stop_token& stop) {
    if (clock_) clock_->Advance(std::chrono::hours(24), stop);
    std::mutex mutex;
    std::condition_variable_any woken;
    std::unique_lock lock(mutex);
    woken.wait(lock, stop, [] { return false; });
    ++stopped;
    return false;
  }

  int failures_;
  std::shared_ptr<FakeClock> clock_;
  std::chrono::milliseconds takes_;
};

}  // namespace tavrin::test

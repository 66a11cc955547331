#pragma once

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/tuning_controller.h"
#include "support/manual_interface_thread.h"

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

class FakeAdapters final : public AdapterDiscovery {
 public:
  bool found = true;
  std::wstring name = L"Test Ethernet", guid = L"{7A1E5C00-0000-4000-8000-00000000BEEF}",
               ip = L"10.0.2.15";
  bool GetActiveAdapter(std::wstring& n, std::wstring& g, std::wstring& i) override {
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

// Simulated time: sleeping only moves it on. Can hold the worker inside its
// first sleep.
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
    nowMs += duration.count();
    if (++sleeps == 1 && hold_) {
      held_.set_value();
      release_.get_future().wait();
    }
  }

 private:
  bool hold_ = false;
  std::promise<void> held_, release_;
};

// Fails the first `failures` probes (forever when negative), then succeeds;
// each probe takes `takes` on the clock, when it has one. Call number
// `breaksOnCall` throws instead, as a broken HTTP stack would.
class FakeProbe final : public ReachabilityProbe {
 public:
  explicit FakeProbe(int failures, std::shared_ptr<FakeClock> clock = nullptr,
                     std::chrono::milliseconds takes = {})
      : failures_(failures), clock_(std::move(clock)), takes_(takes) {}
  std::atomic<int> calls{0};
  int breaksOnCall = 0;
  bool IsOnline() override {
    if (clock_) clock_->nowMs += takes_.count();
    const int call = ++calls;
    if (call == breaksOnCall) throw std::runtime_error("the probe broke");
    return failures_ >= 0 && call > failures_;
  }

 private:
  int failures_;
  std::shared_ptr<FakeClock> clock_;
  std::chrono::milliseconds takes_;
};

}  // namespace tavrin::test

#pragma once

// The main window over fakes of the system, with the real dispatcher: what
// the window's tests share.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/tuning_fakes.h"
#include "app/window_dispatcher_win.h"
#include "i18n/translation.h"
#include "support/gui_win.h"
#include "support/memory_registry.h"
#include "support/registry_backends.h"
#include "support/service_fakes.h"

namespace tavrin::test {

inline std::string ShippedTable() {
  std::ifstream file(TAVRIN_TRANSLATE_FILE, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

class MainWindow : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    LoadTranslationTable(ShippedTable());
    CurrentLanguage = L"en";
  }

  void TearDown() override {
    form_.reset();
    dispatcher_->Close();
    GuiTest::TearDown();
  }

  // Creates the window as the program does: the creation sequence with its
  // errors caught, then shown.
  TFrmTavrin& Open() {
    TuningServices tuning{registry_, connections_, adapters_, probe_, clock_, dispatcher_};
    MainWindowServices services{[this](const std::wstring& t) {
                                  opened_.push_back(t);
                                  return true;
                                },
                                [this](std::uint32_t range) {
                                  randomRanges_.push_back(range);
                                  return pick_;
                                },
                                [this](HWND promptOwner) {
                                  promptOwner_ = promptOwner;
                                  return CheckInHost();
                                }};
    form_ = std::make_unique<TFrmTavrin>(tuning, services);
    RunGuarded(L"FrmTavrin.FormCreate", [this] { form_->FormCreate(); });
    form_->Show();
    Pump();
    return *form_;
  }

  // The check-in over a scripted service, a prompt that answers at once and
  // the recorded shell; no reply at all unless a test scripts one.
  ServiceHost CheckInHost() {
    ServiceHost host;
    host.http = http_;
    host.appVersion = [] { return L"1.5.9.0"; };
    host.clientId = [] { return L"0123456789ABCDEF0123456789ABCDEF"; };
    host.language = L"en";
    host.terminating = [] { return false; };
    host.sleep = [](std::chrono::milliseconds) {};
    host.interfaceThread = dispatcher_;
    host.updateDialog = [this](const std::wstring&) {
      ++prompts_;
      shownOver_ = form_->Handle();
      return acceptUpdate_;
    };
    host.shellOpen = [this](const std::wstring& target) {
      opened_.push_back(target);
      return true;
    };
    return host;
  }

  void StoreSetting(const std::wstring& name, std::uint32_t type, std::vector<std::uint8_t> data) {
    ScopedKey key(registry_);
    ASSERT_EQ(key.Create(reg::kCurrentUser, L"Software\\Tavrin", reg::kKeyAllAccess),
              reg::kSuccess);
    registry_.SetValue(key.Get(), name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }

  MemoryRegistry registry_;
  std::shared_ptr<FakeAdapters> adapters_ = std::make_shared<FakeAdapters>();
  FakeConnections connections_;
  std::shared_ptr<FakeProbe> probe_ = std::make_shared<FakeProbe>(2);
  std::shared_ptr<FakeClock> clock_ = std::make_shared<FakeClock>();
  std::shared_ptr<WindowDispatcher> dispatcher_ = std::make_shared<WindowDispatcher>(
      [](std::exception_ptr e) { HandleError(e, L"a hand-over"); });
  std::shared_ptr<FakeHttp> http_ = std::make_shared<FakeHttp>();
  int prompts_ = 0;
  HWND promptOwner_ = nullptr;
  HWND shownOver_ = nullptr;  // the window while the prompt shows
  bool acceptUpdate_ = false;
  std::vector<std::wstring> opened_;
  std::vector<std::uint32_t> randomRanges_;
  std::uint32_t pick_ = 0;
  std::unique_ptr<TFrmTavrin> form_;
};

// Pumps messages until the controller settles in `status`.
inline bool SettlesIn(TTuningController& controller, TStatus status) {
  return PumpUntil([&] { return controller.FStatus == status; });
}

}  // namespace tavrin::test

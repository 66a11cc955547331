#include "base/worker.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <thread>

#include "support/error_recorder.h"
#include "support/manual_interface_thread.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

// The worker has ended and let go of what its work held.
bool Released(const std::weak_ptr<int>& held) {
  for (int i = 0; i < 500 && !held.expired(); ++i) std::this_thread::sleep_for(10ms);
  return held.expired();
}

TEST(StartWorker, WhatTheWorkThrowsIsReportedOnTheInterfaceThreadWhileItIsOpen) {
  struct Case {
    const char* name;
    bool throws;
    bool interfaceClosed;
    bool reported;
  } const cases[] = {
      {"ran through", false, false, false},
      {"threw", true, false, true},
      {"threw after the interface closed", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ErrorRecorder errors;
    auto ui = std::make_shared<ManualInterfaceThread>();
    if (c.interfaceClosed) ui->Close();
    auto held = std::make_shared<int>(0);
    const std::weak_ptr<int> watch = held;
    StartWorker(ui, L"the test's worker", [held = std::move(held), throws = c.throws] {
      if (throws) throw std::runtime_error("the work broke");
    });

    EXPECT_EQ(ui->RunNext(c.reported ? 10s : 100ms), c.reported);
    ASSERT_TRUE(Released(watch));
    const auto reports = errors.Reports();
    ASSERT_EQ(reports.size(), c.reported ? 1u : 0u);
    if (c.reported) {
      EXPECT_EQ(reports[0].report.message, L"the work broke");
      EXPECT_NE(reports[0].report.details.find(L"the test's worker"), std::wstring::npos);
      EXPECT_EQ(reports[0].thread, std::this_thread::get_id());
    }
  }
}

}  // namespace
}  // namespace tavrin::test

// The hand-over on a real message loop, as the program runs it.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "app/tuning_controller.h"
#include "app/tuning_fakes.h"
#include "app/window_dispatcher_win.h"
#include "support/error_recorder.h"
#include "support/gui_win.h"
#include "support/memory_registry.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

TEST(WindowDispatcher, RunsTheStepOnItsThreadAndReturnsAfterIt) {
  auto dispatcher = std::make_shared<WindowDispatcher>(nullptr);
  std::atomic<DWORD> ranOn{0};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    dispatcher->RunOnInterfaceThread([&] { ranOn = GetCurrentThreadId(); });
    EXPECT_NE(ranOn, 0u);
    returned = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_EQ(ranOn, GetCurrentThreadId());
  dispatcher->Close();
}

TEST(WindowDispatcher, AThrowingStepGoesToTheErrorHandler) {
  std::string reported;
  auto dispatcher = std::make_shared<WindowDispatcher>([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      reported = e.what();
    }
  });
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    dispatcher->RunOnInterfaceThread([] { throw std::runtime_error("broken step"); });
    returned = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_EQ(reported, "broken step");
  dispatcher->Close();
}

TEST(WindowDispatcher, CloseReleasesAWaitingWorkerWithoutRunningItsStep) {
  auto dispatcher = std::make_shared<WindowDispatcher>(nullptr);
  std::atomic<bool> ran{false};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    dispatcher->RunOnInterfaceThread([&] { ran = true; });
    returned = true;
  });
  std::this_thread::sleep_for(50ms);  // the worker is waiting; nothing pumps
  dispatcher->Close();
  worker.join();
  EXPECT_TRUE(returned);
  dispatcher->RunOnInterfaceThread([&] { ran = true; });  // closed: dropped at once
  std::thread late([&] { dispatcher->RunOnInterfaceThread([&] { ran = true; }); });
  late.join();
  Pump(2000);
  EXPECT_FALSE(ran);
}

// A prompt runs its own message loop inside a step; a hand-over waiting
// behind it, such as the settled state after a press, still gets through.
TEST(WindowDispatcher, AStepRunningAModalLoopLetsTheStepsBehindItRun) {
  auto dispatcher = std::make_shared<WindowDispatcher>(nullptr);
  std::atomic<bool> secondRan{false};
  bool seenFromTheLoop = false;
  std::thread prompt([&] {
    dispatcher->RunOnInterfaceThread(
        [&] { seenFromTheLoop = PumpUntil([&] { return secondRan.load(); }); });
  });
  std::this_thread::sleep_for(50ms);  // in this order, both waiting; nothing pumps yet
  std::thread settle([&] { dispatcher->RunOnInterfaceThread([&] { secondRan = true; }); });
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(PumpUntil([&] { return secondRan.load(); }));
  prompt.join();
  settle.join();
  EXPECT_TRUE(seenFromTheLoop);
  dispatcher->Close();
}

TEST(WindowDispatcher, ControllerSettlesThroughTheMessageLoop) {
  MemoryRegistry registry;
  FakeView view;
  auto adapters = std::make_shared<FakeAdapters>();
  FakeConnections connections;
  auto dispatcher = std::make_shared<WindowDispatcher>(nullptr);
  TTuningController controller(view,
                               {registry, connections, adapters, std::make_shared<FakeProbe>(3),
                                std::make_shared<FakeClock>(), dispatcher});
  view.controller = &controller;
  controller.LoadState();
  controller.BtnStartClick();
  EXPECT_EQ(controller.FStatus, stBusy);
  EXPECT_TRUE(PumpUntil([&] { return controller.FStatus == stRunning; }));
  controller.BtnStartClick();
  EXPECT_TRUE(PumpUntil([&] { return controller.FStatus == stIdle; }));
  dispatcher->Close();
}

TEST(WindowDispatcher, AProbeThatThrowsReachesTheErrorReportThroughTheMessageLoop) {
  ErrorRecorder errors;
  MemoryRegistry registry;
  FakeView view;
  auto adapters = std::make_shared<FakeAdapters>();
  FakeConnections connections;
  auto probe = std::make_shared<FakeProbe>(-1);
  probe->breaksOnCall = 2;
  auto dispatcher = std::make_shared<WindowDispatcher>(nullptr);
  TTuningController controller(
      view, {registry, connections, adapters, probe, std::make_shared<FakeClock>(), dispatcher});
  view.controller = &controller;
  controller.LoadState();
  controller.BtnStartClick();
  EXPECT_TRUE(PumpUntil([&] { return !errors.Reports().empty(); }));
  EXPECT_EQ(controller.FStatus, stRunning);
  const auto reports = errors.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].report.message, L"the probe broke");
  EXPECT_EQ(reports[0].thread, std::this_thread::get_id());
  dispatcher->Close();
}

}  // namespace
}  // namespace tavrin::test

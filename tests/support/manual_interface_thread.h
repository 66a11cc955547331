#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

#include "base/interface_thread.h"

namespace tavrin::test {

// The interface thread in tests: hand-overs queue until the test runs them.
class ManualInterfaceThread final : public InterfaceThread {
 public:
  void RunOnInterfaceThread(std::function<void()> step) override {
    auto task = std::make_shared<Task>();
    task->step = std::move(step);
    auto done = task->done.get_future();
    {
      std::lock_guard lock(mutex_);
      if (closed_) return;
      queue_.push_back(task);
    }
    ready_.notify_one();
    done.wait();
  }

  // Runs the next hand-over on the calling (test) thread; false on time-out.
  bool RunNext(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::shared_ptr<Task> task;
    {
      std::unique_lock lock(mutex_);
      if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return false;
      task = queue_.front();
      queue_.pop_front();
    }
    task->step();
    task->done.set_value();
    return true;
  }

  // Waits until a hand-over is queued and leaves it there; false on time-out.
  bool AwaitQueued(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
  }

  void Close() {
    std::deque<std::shared_ptr<Task>> dropped;
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
      dropped.swap(queue_);
    }
    for (const auto& task : dropped) task->done.set_value();
  }

 private:
  struct Task {
    std::function<void()> step;
    std::promise<void> done;
  };
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::shared_ptr<Task>> queue_;
  bool closed_ = false;
};

}  // namespace tavrin::test

#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

#include "base/interface_thread.h"

namespace tavrin {

// Runs hand-overs on the thread that created it, through a message-only
// window. Create it on the interface thread before the main window and
// Close() it there when the message loop ends; workers keep it alive through
// their shared_ptr, so a late hand-over finds it closed and is dropped.
class WindowDispatcher final : public InterfaceThread {
 public:
  // An exception a step throws goes to onError, on the interface thread.
  explicit WindowDispatcher(std::function<void(std::exception_ptr)> onError);
  ~WindowDispatcher() override;
  WindowDispatcher(const WindowDispatcher&) = delete;
  WindowDispatcher& operator=(const WindowDispatcher&) = delete;

  void RunOnInterfaceThread(std::function<void()> step) override;
  // Drops pending hand-overs, releasing their workers, and refuses new ones.
  void Close();

 private:
  struct Task {
    std::function<void()> step;
    std::promise<void> done;
  };

  bool IsClosed();
  void RunPending();
  std::shared_ptr<Task> TakeNext();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;

  std::function<void(std::exception_ptr)> onError_;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
  std::mutex mutex_;
  bool closed_ = false;
  std::deque<std::shared_ptr<Task>> pending_;
};

}  // namespace tavrin

#pragma once

#include <exception>
#include <functional>
#include <memory>

namespace tavrin {

// Hands work from a worker to the interface thread. It outlives the main
// window: once the interface is gone a hand-over is dropped, never run.
class InterfaceThread {
 public:
  virtual ~InterfaceThread() = default;
  // Runs step on the interface thread and returns after it has run, or at
  // once (without running it) when the interface has closed.
  virtual void RunOnInterfaceThread(std::function<void()> step) = 0;
};

// The Win32 dispatcher: a message-only window on the calling thread, which
// must be the interface thread. An exception a step throws goes to onError,
// on the interface thread. Close() is called when the message loop ends.
class WindowDispatcher;
std::shared_ptr<WindowDispatcher> CreateWindowDispatcher(
    std::function<void(std::exception_ptr)> onError);

}  // namespace tavrin

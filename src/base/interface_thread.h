#pragma once

#include <functional>

namespace tavrin {

// Hands work from a worker to the interface thread. It outlives the main
// window: once the interface has closed, a hand-over is dropped, never run.
class InterfaceThread {
 public:
  virtual ~InterfaceThread() = default;
  // Runs step on the interface thread and returns after it has run, or
  // returns without running it when the interface has closed.
  virtual void RunOnInterfaceThread(std::function<void()> step) = 0;
};

}  // namespace tavrin

#include <thread>
#include <utility>

#include "base/detached_thread.h"

namespace tavrin {

void StartDetachedThread(std::function<void()> run) { std::thread(std::move(run)).detach(); }

}  // namespace tavrin

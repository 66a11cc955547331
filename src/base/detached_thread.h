#pragma once

#include <functional>

namespace tavrin {

// Runs `run` on a new thread that nobody joins and that frees itself when it
// ends. Throws std::system_error when no thread can be made. `run` must not
// throw.
void StartDetachedThread(std::function<void()> run);

}  // namespace tavrin

#include <windows.h>

#include <memory>
#include <system_error>
#include <utility>

#include "base/detached_thread.h"

namespace tavrin {
namespace {

DWORD WINAPI RunAndFree(void* parameter) {
  const std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(parameter));
  (*run)();
  return 0;
}

}  // namespace

// A system thread rather than a detached thread of the runtime's pthreads
// library: with those, under load, a worker started while another was ending
// now and then never ran, or spun for good inside the library's thread-key
// lookup at its first exception.
void StartDetachedThread(std::function<void()> run) {
  auto owned = std::make_unique<std::function<void()>>(std::move(run));
  const HANDLE thread = CreateThread(nullptr, 0, RunAndFree, owned.get(), 0, nullptr);
  if (!thread) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "A worker thread could not be started");
  }
  owned.release();  // the thread frees it
  CloseHandle(thread);
}

}  // namespace tavrin

#include "base/worker.h"

#include <utility>

#include "base/detached_thread.h"
#include "base/error_report.h"

namespace tavrin {
namespace {

void ReportOnInterfaceThread(InterfaceThread& interfaceThread, std::exception_ptr error,
                             const std::wstring& where) noexcept {
  try {
    interfaceThread.RunOnInterfaceThread([error, where] { HandleError(error, where); });
  } catch (...) {
    // The hand-over itself failed (out of memory): better the worker ends
    // without a word than the whole program.
  }
}

}  // namespace

void StartWorker(std::shared_ptr<InterfaceThread> interfaceThread, std::wstring where,
                 std::function<void()> work) {
  StartDetachedThread([interfaceThread = std::move(interfaceThread), where = std::move(where),
                       work = std::move(work)] {
    try {
      work();
    } catch (...) {
      ReportOnInterfaceThread(*interfaceThread, std::current_exception(), where);
    }
  });
}

}  // namespace tavrin

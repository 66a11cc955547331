#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/interface_thread.h"

namespace tavrin {

// Runs `work` on a thread of its own that frees itself when it ends; nobody
// joins it. Whatever `work` throws is reported on the interface thread as an
// error at `where`, so no worker ends unseen; once the interface has closed
// there is nobody left to tell, and the report is dropped.
void StartWorker(std::shared_ptr<InterfaceThread> interfaceThread, std::wstring where,
                 std::function<void()> work);

}  // namespace tavrin

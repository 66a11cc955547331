#pragma once

#include <functional>
#include <future>
#include <string>

#include "app/tuning_controller.h"
#include "base/detached_thread.h"

namespace tavrin {

struct FoundAdapter {
  bool found = false;
  std::wstring name, guid, ip;
};

// The adapter search is the slowest step before the window shows, and it
// needs nothing the window makes; so it starts on a thread of its own as soon
// as this is made, and runs beside the window's creation. The first question
// waits for that answer, or for what the search raised; a later one, or any
// when no thread could be started, searches on the asking thread.
class AdapterLookahead final : public AdapterDiscovery {
 public:
  using ThreadStart = std::function<void(std::function<void()>)>;
  explicit AdapterLookahead(std::function<FoundAdapter()> search,
                            const ThreadStart& startThread = StartDetachedThread);
  bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) override;

 private:
  std::function<FoundAdapter()> search_;
  std::future<FoundAdapter> early_;
};

}  // namespace tavrin

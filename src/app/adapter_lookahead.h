#pragma once

#include <functional>
#include <future>
#include <string>

#include "app/tuning_controller.h"

namespace tavrin {

struct FoundAdapter {
  bool found = false;
  std::wstring name, guid, ip;
};

// The adapter search is the slowest step before the window shows, and it
// needs nothing the window makes; so it starts on a thread of its own as soon
// as this is made, and runs beside the window's creation. The first question
// waits for that answer, or for what the search raised; a later one searches
// again on the asking thread.
class AdapterLookahead final : public AdapterDiscovery {
 public:
  explicit AdapterLookahead(std::function<FoundAdapter()> search);
  bool GetActiveAdapter(std::wstring& name, std::wstring& guid, std::wstring& ip) override;

 private:
  std::function<FoundAdapter()> search_;
  std::future<FoundAdapter> early_;
};

}  // namespace tavrin
